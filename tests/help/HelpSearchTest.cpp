#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "base/UiText.h"
#include "help/HelpSearch.h"
#include "help/RtfReader.h"

namespace {

std::u16string U16(const std::string& utf8) { return Utf16FromUtf8(utf8).value(); }

std::vector<std::u16string> Rows(std::initializer_list<const char*> labels) {
  std::vector<std::u16string> rows;
  for (const char* l : labels) rows.push_back(U16(l));
  return rows;
}

TEST(HelpSearchTest, upperCasesLatinPolishAndCyrillicLetters) {
  EXPECT_EQ(UpperCaseText(U16("abc ąćęłńóśźż xyz")), U16("ABC ĄĆĘŁŃÓŚŹŻ XYZ"));
  EXPECT_EQ(UpperCaseText(U16("Тип щупа ё 1/4")), U16("ТИП ЩУПА Ё 1/4"));
}

TEST(HelpSearchTest, expandsTheHeadingKeywordsAtTheirPlaces) {
  struct Case {
    const char* name;
    const char* all;
    const char* headingOnly;
  };
  const Case cases[] = {
      {"REG. OD TPS", "REGULACJA OD TPS", "REGULACJA OD TPS"},
      {"OPC. CUT-OFF", "OPCJA CUT-OFF", "OPCJA CUT-OFF"},
      {"POZ. GAZU", "POZIOM GAZU", "POZ. GAZU"},
      {"WSK. POZIOMU", "WSKAŹNIK POZIOMU", "WSK. POZIOMU"},
      {"MOTOR NA POZ.", "MOTOR NA POZYCJĘ", "MOTOR NA POZ."},
      {"SILNIK NA POZ.", "SILNIK NA POZ.", "SILNIK NA POZ."},
      {"PRĘD. SILNIKA", "PRĘDKOŚĆ SILNIKA", "PRĘD. SILNIKA"},
      {"TEMP. PRZEŁĄCZENIA", "TEMPERATURA PRZEŁĄCZENIA", "TEMP. PRZEŁĄCZENIA"},
      {"MAX OBROTY", "MAKSYMALNE OBROTY", "MAX OBROTY"},
      {"X REG.", "X REG.", "X REG."},
      {"РЕГ. ОТ TPS", "РЕГ. ОТ TPS", "РЕГ. ОТ TPS"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandAbbreviations(U16(c.name), AbbreviationSet::All), U16(c.all)) << c.name;
    EXPECT_EQ(ExpandAbbreviations(U16(c.name), AbbreviationSet::HeadingKeywords), U16(c.headingOnly))
        << c.name;
  }
}

TEST(HelpSearchTest, anIndentedRowUnderARegulationRowSearchesTheExpandedHeadingFirst) {
  const std::u16string text = U16("HISTEREZA\nREGULACJA OD TPS\nopis\nHISTEREZA\n");
  const auto rows = Rows({"Parametr :", "Typ TPS", "Reg. od TPS", "   Histereza", "   Nieznany"});
  const PassageFind found = FindPassage(rows, 3, text);
  ASSERT_TRUE(found.heading.has_value());
  EXPECT_EQ(found.heading->start, text.find(u"REGULACJA"));
  EXPECT_EQ(found.heading->length, 16u);
  ASSERT_TRUE(found.passage.has_value());
  EXPECT_EQ(found.passage->start, text.rfind(u"HISTEREZA"));
  EXPECT_EQ(found.passage->length, 9u);

  // A name the document lacks leaves the selection where the heading put it.
  const PassageFind missing = FindPassage(rows, 4, text);
  EXPECT_TRUE(missing.heading.has_value());
  EXPECT_FALSE(missing.passage.has_value());

  // A row that is not indented is searched from the start, without a heading.
  const PassageFind plain = FindPassage(Rows({"", "Histereza"}), 1, text);
  EXPECT_FALSE(plain.heading.has_value());
  ASSERT_TRUE(plain.passage.has_value());
  EXPECT_EQ(plain.passage->start, 0u);
}

TEST(HelpSearchTest, theWalkStopsAtIndentedRegulationAndOptionRowsAndAtTheTop) {
  const std::u16string text = U16("OPCJA OTWARCIA\nPROG\nREGULACJA OD TPS\nPROG\nA\nB\n");
  struct Case {
    std::vector<std::u16string> rows;
    int selected;
    std::optional<std::size_t> heading;
    std::optional<std::size_t> passage;
  };
  const Case cases[] = {
      {Rows({"", "Typ TPS", "  Opc. otwarcia", "    Prog", "  Reg. od TPS", "    Prog"}), 3, 0, 15},
      {Rows({"", "Typ TPS", "  Opc. otwarcia", "    Prog", "  Reg. od TPS", "    Prog"}), 5, 20, 37},
      // The regulation row itself belongs to the row above it; a heading the text lacks is
      // no heading, and the name is then searched from the start.
      {Rows({"", "Typ TPS", "  Reg. od TPS"}), 2, std::nullopt, 20},
      {Rows({"", "Opc. otwarcia", "  Reg. od TPS"}), 2, 0, 20},
      // A row beside a regulation row, not under it, belongs to the row above both.
      {Rows({"", "Opc. otwarcia", "  Reg. od TPS", "    x", "  Prog"}), 4, 0, 15},
      // Row 0 ends the walk: rows at the same depth are no heading.
      {Rows({"", "  a", "  b"}), 2, std::nullopt, 44},
      {Rows({"", "  a", "    b"}), 2, 4, 44},  // the first "A" of the text
      {Rows({"", "x"}), 0, std::nullopt, std::nullopt},
      {Rows({"", "x"}), 5, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const PassageFind found = FindPassage(c.rows, c.selected, text);
    EXPECT_EQ(found.heading ? std::optional(found.heading->start) : std::nullopt, c.heading) << c.selected;
    EXPECT_EQ(found.passage ? std::optional(found.passage->start) : std::nullopt, c.passage) << c.selected;
  }
}

TEST(HelpSearchTest, theRussianRowsFindTheirOwnPassagesCaseSignificantlyBehindTheirHeading) {
  const std::u16string text = U16("щуп\nТИП ЩУПА\nЩУП\nРЕГ. ОТ TPS\nСКОРОСТЬ МОТОРА\n");
  const PassageFind probe = FindPassage(Rows({"", "Тип щупа", "  Щуп"}), 2, text);
  ASSERT_TRUE(probe.passage.has_value());
  EXPECT_EQ(probe.passage->start, text.find(U16("\nЩУП")) + 1);  // not inside "ТИП ЩУПА"
  const PassageFind speed =
      FindPassage(Rows({"", "Тип TPS", "  Рег. от TPS", "    Скорость мотора"}), 3, text);
  ASSERT_TRUE(speed.heading.has_value());
  EXPECT_EQ(speed.heading->start, text.find(U16("РЕГ.")));
  ASSERT_TRUE(speed.passage.has_value());
  EXPECT_EQ(speed.passage->start, text.find(U16("СКОРОСТЬ")));
}

// The help document: every row of the parameter editor, in both list orders, finds a heading
// inside the passage of its own parameter.
struct Row {
  int textId;
  int byte;  // the error rows share byte 79 and have a passage each: they count as bytes of their own
};

const std::vector<Row> kDiagnosticRows{{402, 78},    {405, 79405}, {404, 79404}, {408, 79408},
                                       {406, 79406}, {407, 79407}, {413, 32},    {414, 86}};
const std::vector<Row> kByFunction{
    {425, 33}, {435, 57}, {570, 81}, {440, 34}, {452, 75}, {453, 90}, {450, 40}, {460, 35},
    {470, 36}, {471, 37}, {472, 38}, {473, 39}, {490, 73}, {480, 43}, {479, 88}, {475, 67},
    {481, 55}, {482, 56}, {483, 62}, {484, 63}, {495, 68}, {500, 69}, {501, 70}, {502, 71},
    {503, 72}, {495, 87}, {504, 69}, {505, 41}, {506, 65}, {507, 64}, {508, 42}, {592, 89},
    {509, 74}, {510, 44}, {512, 46}, {513, 45}, {514, 77}, {520, 47}, {522, 48}, {523, 49},
    {524, 50}, {530, 54}, {532, 59}, {533, 60}, {534, 61}, {535, 66}, {574, 82}, {576, 83},
    {577, 84}, {578, 85}, {540, 53}, {542, 58}, {543, 76}, {546, 52}, {547, 51}};
const std::vector<Row> kByType{{425, 33}, {436, 57}, {531, 54}, {536, 59}, {537, 60}, {538, 61}, {539, 66},
                               {511, 44}, {515, 46}, {516, 45}, {517, 77}, {521, 47}, {525, 48}, {526, 49},
                               {527, 50}, {570, 81}, {575, 82}, {579, 83}, {580, 84}, {581, 85}, {440, 34},
                               {453, 75}, {453, 90}, {541, 53}, {544, 58}, {545, 76}, {451, 40}, {459, 74},
                               {461, 35}, {470, 36}, {471, 37}, {472, 38}, {473, 39}, {546, 52}, {547, 51},
                               {490, 73}, {480, 43}, {479, 88}, {475, 67}, {481, 55}, {482, 56}, {483, 62},
                               {484, 63}, {505, 41}, {506, 65}, {507, 64}, {508, 42}, {592, 89}, {495, 68},
                               {500, 69}, {501, 70}, {502, 71}, {503, 72}, {495, 87}, {504, 69}};

class HelpDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { Load(ORV_SOURCE_DIR "/docs/mervolante.rtf"); }
  void Load(const std::string& path) {
    auto loaded = LoadRtfFile(path);
    ASSERT_TRUE(loaded.has_value()) << path;
    doc = std::move(*loaded);
  }

  std::size_t ParagraphOf(std::size_t position) const {
    std::size_t p = 0;
    while (p + 1 < doc.paragraphs.size() && doc.paragraphs[p + 1].start <= position) ++p;
    return p;
  }
  std::u16string ParagraphText(std::size_t p) const {
    const std::size_t start = doc.paragraphs[p].start;
    const std::size_t end = p + 1 < doc.paragraphs.size() ? doc.paragraphs[p + 1].start - 1 : doc.text.size();
    return doc.text.substr(start, end - start);
  }
  const RtfCharFormat& FormatAt(std::size_t position) const {
    for (const RtfRun& r : doc.runs)
      if (position >= r.start && position < r.start + r.length) return r.format;
    throw std::out_of_range("no run");
  }
  // The parameter heading (bold, 12 points) of the passage a position lies in.
  std::u16string SectionOf(std::size_t position) const {
    for (std::size_t p = ParagraphOf(position) + 1; p-- > 0;) {
      const RtfCharFormat& f = FormatAt(doc.paragraphs[p].start);
      if (f.bold && f.halfPoints == 24) return ParagraphText(p);
    }
    return {};
  }

  // Checks the rows and records, per parameter byte, the passage the order by function found.
  void CheckOrder(const std::vector<Row>& order, const char* orderName) {
    std::vector<std::u16string> labels{U16(UiText(300))};
    std::vector<int> bytes{0};
    for (const auto* part : {&kDiagnosticRows, &order}) {
      for (const Row& r : *part) {
        labels.push_back(U16(UiText(r.textId)));
        bytes.push_back(r.byte);
      }
    }
    for (std::size_t row = 1; row < labels.size(); ++row) {
      const std::string where =
          std::string(orderName) + " row " + std::to_string(row) + " text " +
          UiText((row <= kDiagnosticRows.size() ? kDiagnosticRows[row - 1]
                                                : order[row - 1 - kDiagnosticRows.size()])
                     .textId);
      const PassageFind found = FindPassage(labels, static_cast<int>(row), doc.text);
      ASSERT_TRUE(found.passage.has_value()) << where;
      EXPECT_TRUE(FormatAt(found.passage->start).bold) << where << ": not a heading";
      // A heading that starts with the name, or the second heading line that ends with it.
      const std::size_t paragraph = ParagraphOf(found.passage->start);
      const std::u16string name = doc.text.substr(found.passage->start, found.passage->length);
      EXPECT_TRUE(found.passage->start == doc.paragraphs[paragraph].start ||
                  ParagraphText(paragraph).ends_with(u": " + name))
          << where << ": inside another heading";
      const std::u16string section = SectionOf(found.passage->start);
      auto [it, added] = sectionOfByte.emplace(bytes[row], section);
      EXPECT_EQ(it->second, section) << where << ": found in another parameter's passage";
    }
  }

  RtfDocument doc;
  std::map<int, std::u16string> sectionOfByte;
};

TEST_F(HelpDocumentTest, everyParameterRowOfBothOrdersFindsItsOwnPassage) {
  // The order by function defines the passages: every indented row under the row above it.
  CheckOrder(kByFunction, "by function");
  for (const Row& r : kByFunction) {
    const std::u16string label = U16(UiText(r.textId));
    if (label.starts_with(u' ')) continue;
    EXPECT_EQ(sectionOfByte[r.byte], UpperCaseText(label)) << UiText(r.textId);
  }
  CheckOrder(kByType, "by type");
}

TEST_F(HelpDocumentTest, isCodePage1251RtfThatStartsWithItsTitle) {
  EXPECT_EQ(doc.codePage, 1251);
  EXPECT_TRUE(doc.text.starts_with(u"MERVOLANTE LPG\n"));
  EXPECT_TRUE(FormatAt(0).bold);
  EXPECT_NE(doc.text.find(U16("Подключение командоконтроллера")), std::u16string::npos);
}

// The document names the program's own texts for the map page and the readings grid, exactly
// as the program shows them, and promises no file names with a date.
TEST_F(HelpDocumentTest, namesTheMapButtonsTheReadingsStatusTextsAndTheUnitsAsTheProgramShowsThem) {
  auto trimmed = [](std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return U16(text);
  };
  for (int id : {135, 136, 137, 160, 161, 162, 163, 164, 170, 171, 172, 173, 142, 143, 144, 150, 151, 410})
    EXPECT_NE(doc.text.find(trimmed(UiText(id))), std::u16string::npos) << UiText(id);
  for (const char* unit : {"[V]", "[ms]", "['C]"})
    EXPECT_NE(doc.text.find(U16(unit)), std::u16string::npos) << unit;
  EXPECT_NE(doc.text.find(U16("«Ликвидируй» — стирает карту командоконтроллера")), std::u16string::npos);
  EXPECT_EQ(doc.text.find(U16("дата и время")), std::u16string::npos);
  EXPECT_EQ(doc.text.find(U16("загрузчик командоконтроллера ждёт")), std::u16string::npos);
}

// The texts of a Qt Linguist table of the program (translations/mervolante_<code>.ts), read
// as lrelease reads them: the translation of each message by its id.
UiTextTranslation ReadTranslationTable(const std::string& path) {
  std::ifstream in(path);
  const std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto decode = [](std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
      static const std::pair<std::string_view, char> kEntities[] = {
          {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
      bool replaced = false;
      for (const auto& [entity, c] : kEntities)
        if (text.substr(i).starts_with(entity)) {
          out += c;
          i += entity.size();
          replaced = true;
          break;
        }
      if (replaced) continue;
      if (text.substr(i).starts_with("<byte value=\"x")) {
        const std::size_t end = text.find("\"/>", i);
        out += static_cast<char>(std::stoi(std::string(text.substr(i + 14, end - i - 14)), nullptr, 16));
        i = end + 3;
        continue;
      }
      out += text[i++];
    }
    return out;
  };
  UiTextTranslation table;
  for (std::size_t at = xml.find("<message id=\""); at != std::string::npos;
       at = xml.find("<message id=\"", at + 1)) {
    const int id = std::stoi(xml.substr(at + 13));
    const std::size_t open = xml.find("<translation>", at) + 13;
    table.emplace_back(static_cast<std::uint16_t>(id),
                       decode(std::string_view(xml).substr(open, xml.find("</translation>", open) - open)));
  }
  return table;
}

// The other languages' documents, read with their tables: the same checks of every row in
// both orders, the program's texts and units named as it shows them.
class TranslatedHelpDocumentTest : public HelpDocumentTest,
                                   public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    const UiTextTranslation table =
        ReadTranslationTable(std::string(ORV_SOURCE_DIR "/translations/mervolante_") + GetParam() + ".ts");
    ASSERT_GT(table.size(), 300u);
    SelectUiTextTable(table);
    Load(ORV_SOURCE_DIR "/docs/" + UiText(103));
  }
  void TearDown() override { SelectProgramUiTextTable(); }
};

TEST_P(TranslatedHelpDocumentTest, everyParameterRowOfBothOrdersFindsItsOwnPassage) {
  EXPECT_EQ(UiText(103), std::string("mervolante_") + GetParam() + ".rtf");
  CheckOrder(kByFunction, "by function");
  for (const Row& r : kByFunction) {
    const std::u16string label = U16(UiText(r.textId));
    if (label.starts_with(u' ')) continue;
    EXPECT_EQ(sectionOfByte[r.byte], ExpandAbbreviations(UpperCaseText(label), AbbreviationSet::All))
        << UiText(r.textId);
  }
  CheckOrder(kByType, "by type");
  EXPECT_TRUE(doc.text.starts_with(u"MERVOLANTE LPG\n"));
  for (int id : {135, 136, 137, 160, 161, 162, 163, 164, 170, 171, 172, 173, 142, 143,
                 144, 150, 151, 410, 110, 111, 112, 113, 115, 930, 132, 133, 134}) {
    std::string text = UiText(id);
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    EXPECT_NE(doc.text.find(U16(text)), std::u16string::npos) << UiText(id);
  }
  for (const char* unit : {"[V]", "[ms]", "['C]"})
    EXPECT_NE(doc.text.find(U16(unit)), std::u16string::npos) << unit;
}

INSTANTIATE_TEST_SUITE_P(EnglishAndPolish, TranslatedHelpDocumentTest, ::testing::Values("en", "pl"));

}  // namespace
