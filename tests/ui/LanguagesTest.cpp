// The program in its three languages: the tables the program holds, the toolkit's own texts
// in the chosen language, and a change of language on the set-up page relaying the window.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <regex>

#include "app/AppSettings.h"
#include "app/ProgramLanguageQt.h"
#include "app/SettingsStore.h"
#include "base/UiLanguages.h"
#include "base/UiText.h"
#include "ui/UiTestSupport.h"

namespace {

constexpr int kPolski = 0, kEnglish = 2, kRussian = 5;

class LanguagesTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }
  void TearDown() override { SelectLanguage(kRussian); }
};

// What the callers of a text rely on: the blanks they join it by, its LF CR line breaks and its
// control characters.
struct Shape {
  std::size_t leading = 0, trailing = 0, lineBreaks = 0;
  std::string controls;
  bool operator==(const Shape&) const = default;
  friend void PrintTo(const Shape& s, std::ostream* os) {
    *os << "{leading " << s.leading << ", trailing " << s.trailing << ", line breaks " << s.lineBreaks
        << ", controls " << s.controls.size() << "}";
  }
};

Shape ShapeOf(const std::string& text) {
  Shape s;
  s.leading = text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' ');
  s.trailing = text.size() - 1 - std::min(text.size() - 1, text.find_last_not_of(' '));
  for (std::size_t at = text.find("\n\r"); at != std::string::npos; at = text.find("\n\r", at + 2))
    ++s.lineBreaks;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r') s.controls += c;
  return s;
}

// The keys and units in brackets of Latin text ("[F8]", "[V]", "[Ctrl+P]") that a translation
// keeps; a bracketed word of the language ("[БЕНЗИН]") is translated.
std::vector<std::string> FixedBrackets(const std::string& text) {
  static const std::regex kBracket(R"(\[[ -Z^-~]*\])");
  std::vector<std::string> brackets;
  for (std::sregex_iterator it(text.begin(), text.end(), kBracket), end; it != end; ++it)
    brackets.push_back(it->str());
  return brackets;
}

std::size_t Characters(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Every id of the program's table has a text in each other table, of the Russian text's shape,
// within the length UiText hands out; the fixed texts and the units stay as they are.
TEST_F(LanguagesTest, everyTableHasATextOfTheRussianShapeForEveryIdOfTheProgramsTable) {
  std::vector<int> languages = AvailableLanguages();
  for (int language : {kPolski, kEnglish, kRussian})
    EXPECT_NE(std::find(languages.begin(), languages.end(), language), languages.end()) << language;
  languages.erase(std::remove(languages.begin(), languages.end(), kRussian), languages.end());
  const std::vector<int> fixed{145, 152, 162, 216, 700, 1223, 1224, 1225, 1335};
  for (int language : languages) {
    const std::string code(kLanguageCodes[static_cast<std::size_t>(language)]);
    std::map<int, std::string> table;
    for (auto& [id, text] : LoadUiTextTranslation(LanguageTablePath(language))) table[id] = text;
    std::vector<int> missing;
    for (const UiTextEntry& entry : UiTextTable()) {
      const auto it = table.find(entry.id);
      if (it == table.end()) {
        missing.push_back(entry.id);
        continue;
      }
      const std::string& text = it->second;
      EXPECT_EQ(ShapeOf(text), ShapeOf(entry.text)) << code << " " << entry.id << ": \"" << text << "\"";
      for (const std::string& bracket : FixedBrackets(entry.text))
        EXPECT_NE(text.find(bracket), std::string::npos) << code << " " << entry.id << " lacks " << bracket;
      EXPECT_LE(Characters(text), kUiTextMaxChars) << code << " " << entry.id;
      if (std::find(fixed.begin(), fixed.end(), entry.id) != fixed.end()) {
        EXPECT_EQ(text, entry.text) << code << " " << entry.id;
      }
    }
    EXPECT_TRUE(missing.empty()) << code << " has no text for " << ::testing::PrintToString(missing);
    EXPECT_EQ(table[100], kLanguageNames[static_cast<std::size_t>(language)]);
    EXPECT_EQ(table[103], "mervolante_" + code + ".rtf");
  }
  // The check itself tells a changed shape.
  EXPECT_NE(ShapeOf(" Ошибка"), ShapeOf("Error"));
  EXPECT_NE(ShapeOf("a\n\r b"), ShapeOf("a b"));
  EXPECT_EQ(FixedBrackets("  [Продолжай] [F8] [Ctrl+P]"), (std::vector<std::string>{"[F8]", "[Ctrl+P]"}));
}

// The toolkit's own buttons read in the program's language, Russian to the last one.
TEST_F(LanguagesTest, messageBoxButtonsReadInTheChosenLanguage) {
  struct Case {
    int language;
    const char *yes, *no, *cancel;
  };
  for (const Case& c : {Case{kRussian, "Да", "Нет", "Отмена"}, Case{kEnglish, "Yes", "No", "Cancel"},
                        Case{kPolski, "Tak", "Nie", "Anuluj"}}) {
    EXPECT_EQ(SelectLanguage(c.language), c.language);
    QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    auto text = [&](QMessageBox::StandardButton b) {
      return box.button(b)->text().remove('&').toStdString();
    };
    EXPECT_EQ(text(QMessageBox::Yes), c.yes) << c.language;
    EXPECT_EQ(text(QMessageBox::No), c.no) << c.language;
    EXPECT_EQ(text(QMessageBox::Cancel), c.cancel) << c.language;
  }
  // A language of the list without a table is Russian.
  EXPECT_EQ(SelectLanguage(1), kRussian);
  EXPECT_EQ(UiText(110), "Параметры");
}

// The language row is the set-up page's last; choosing a language relays the window's texts
// at once, and the choice is the language at the next start. A stored language the program
// has no table for starts in Russian.
TEST_F(LanguagesTest, aLanguageChosenOnTheSetUpPageRelaysTheWindowAndHoldsAfterARestart) {
  TempFolder folder;
  const std::string path = folder.Path() + "/ORV/LPG2.reg";
  {
    WindowUnderTest window;
    TForm1& f = window.StartWithoutController(path);
    ASSERT_TRUE(RunUntil([&] { return f.CurrentPage() == Page::Setup; }));
    const int last = [&] {
      int row = GridEx1(f)->rowCount() - 1;
      while (row > 0 && CellText(GridEx1(f), row, 0).empty()) --row;
      return row;
    }();
    EXPECT_EQ(CellText(GridEx1(f), last, 0), "Язык");
    EXPECT_EQ(CellText(GridEx1(f), last, 1), "russian");
    ASSERT_EQ(f.Setup().CBLang->count(), 3);
    EXPECT_EQ(f.Setup().CBLang->itemText(0), "polski");
    EXPECT_EQ(f.Setup().CBLang->itemText(1), "english");
    EXPECT_EQ(f.Setup().CBLang->itemText(2), "russian");

    struct Case {
      int item;
      const char *param, *help, *row, *no, *document;
    };
    for (const Case& c : {Case{1, "Parameters", "Help [F1]", "Language", "No", "A guide for the fitter"},
                          Case{0, "Parametry", "Pomoc [F1]", "Język", "Nie", "Poradnik dla montera"},
                          Case{2, "Параметры", "Помощь [F1]", "Язык", "Нет", "Руководство для монтажника"}}) {
      f.Setup().CBLang->setCurrentIndex(c.item);
      emit f.Setup().CBLang->activated(c.item);
      EXPECT_EQ(f.TabOfPage(Page::Parameters)->text().toStdString(), c.param);
      EXPECT_EQ(f.Parameters().BtnHelp->text().toStdString(), c.help);
      EXPECT_EQ(CellText(GridEx1(f), last, 0), c.row);
      EXPECT_EQ(CellText(GridEx1(f), last, 1), f.Setup().CBLang->itemText(c.item).toStdString());
      EXPECT_EQ(f.Setup().CBCAut->itemText(0).toStdString(), c.no);
      EXPECT_TRUE(Control<QTextEdit>(f, "Memo2")->toPlainText().contains(QString::fromUtf8(c.document)))
          << Control<QTextEdit>(f, "Memo2")->toPlainText().left(200).toStdString();
      EXPECT_EQ(f.CurrentPage(), Page::Setup);
    }
    f.Setup().CBLang->setCurrentIndex(1);
    emit f.Setup().CBLang->activated(1);
  }
  EXPECT_EQ(SettingsStore::Open(path).ReadInteger("Lang"), kEnglish);
  {
    WindowUnderTest window;
    TForm1& f = window.StartWithoutController(path);
    EXPECT_EQ(f.Setup().CBLang->currentText(), "english");
    EXPECT_EQ(f.TabOfPage(Page::Parameters)->text(), "Parameters");
  }
  SettingsStore store = SettingsStore::Open(path);
  store.WriteInteger("Lang", 3);  // italiano: no table
  ASSERT_TRUE(store.Save());
  {
    WindowUnderTest window;
    TForm1& f = window.StartWithoutController(path);
    EXPECT_EQ(f.Setup().CBLang->currentText(), "russian");
    EXPECT_EQ(f.TabOfPage(Page::Parameters)->text(), "Параметры");
  }
  EXPECT_EQ(SettingsStore::Open(path).ReadInteger("Lang"), kRussian);
}

}  // namespace
