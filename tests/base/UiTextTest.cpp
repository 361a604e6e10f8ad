#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/UiText.h"

namespace {

// Number of code points of a well-formed UTF-8 text, or -1 when it is not well formed.
long CountCodePoints(std::string_view s) {
  long count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = lead < 0x80                   ? 1
                      : lead >= 0xC2 && lead < 0xE0 ? 2
                      : lead >= 0xE0 && lead < 0xF0 ? 3
                      : lead >= 0xF0 && lead < 0xF5 ? 4
                                                    : 0;
    if (len == 0 || i + len > s.size()) return -1;
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return -1;
    }
    i += len;
  }
  return count;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace

TEST(UiText, SampleTextsFromEveryRangeAreExact) {
  const std::vector<std::pair<int, std::string>> cases = {
      {100, "russian"},
      {101, "RU"},
      {102, " - Командоконтроллер газа"},
      {108, "- Тестер"},
      {110, "Параметры"},
      {114, "Процессор"},
      {140, "СОЕДИНИ"},
      {141, "ВКЛЮЧАТЕЛЬ"},
      {142, "БЕНЗИН"},
      {143, "АВТО"},
      {144, "ГАЗ"},
      {145, "DUAL"},
      {150, " [обор/мин]"},
      {151, " [поз]"},
      {152, " [V]"},
      {163, "Рег. от RPM "},
      {320, "Нет"},
      {321, "Да"},
      {403, "  ЛИКВИДИРУЙ"},
      {411, " УСТАНОВИ"},
      {415, " 4 цилиндра"},
      {427, "0-5V"},
      {527, "    Скорость  мотора"},
      {552, " ЛИКВИДИРУЙ"},
      {555, "НЕТ"},
      {556, "Да"},
      {720, "Закрытие СОМ"},
      {721, "Открытие СОМ"},
      {722, " Ошибка"},
      {723, " ОК"},
      {724, "Отсутствие  связи"},
      {725, "Показания командоконтроллера"},
      {760, "Старт автоконфигурации на бензине0 "},
      {903, "Время до окончания : "},
      {909, "   Программирование прервано ! Нет связи ! \n\r"},
      {910, "   Программирование окончено ошибкой ! \n\r"},
      {911, "   Программирование окончено удачно . \n\r"},
      {921, "\n\r Последнее программирование не окончено ."},
      {922, "\n\r Последнее программирование окончено ошибкой ."},
      {923, "\n\r Ошибка контрольных сумм ."},
      {924, "\n\r Отсутствие контрольных сумм ."},
      {930, "Помощь [F1]"},
      {931, "Открывает окно помощи\n\r используйтакже клавишу [F1]"},
  };
  for (const auto& [id, text] : cases) EXPECT_EQ(UiText(id), text) << "id " << id;
}

TEST(UiText, KeepsLeadingTrailingAndDoubledBlanks) {
  EXPECT_EQ(UiText(700), " MERVOLANTE !");
  EXPECT_EQ(UiText(920), "        Ошибка программирования !        ");
  EXPECT_EQ(UiText(215), "Имппульсы  впрыска");
  EXPECT_EQ(UiText(740), " Применить ли новые параметры  автоконфигурации ? ");
}

TEST(UiText, LineBreaksAreLineFeedThenCarriageReturn) {
  EXPECT_EQ(UiText(131), "Переключает ход работы\x0A\x0D используй  также клавишу [F8]");
  EXPECT_EQ(UiText(741),
            "\x0A\x0D Для правильного обслуживания этого командоконтроллера\x0A\x0D"
            " требуется новейшая  версия  программы\x0A\x0D  минимум V");
  // Everywhere in the table: no lone LF, no lone CR, never CR before LF.
  for (const auto& e : UiTextTable()) {
    const std::string_view t = e.text;
    for (std::size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '\n') {
        EXPECT_TRUE(i + 1 < t.size() && t[i + 1] == '\r') << "id " << e.id;
      }
      if (t[i] == '\r') {
        EXPECT_TRUE(i > 0 && t[i - 1] == '\n') << "id " << e.id;
      }
    }
  }
}

TEST(UiText, PortDirectionPinLabelsCarryControlCharacter12) {
  EXPECT_EQ(UiText(378), std::string("Д.0 \x0C") + "s28 RXD");
  EXPECT_EQ(UiText(379), std::string("Д.1 \x0C") + "s28 TXD");
  EXPECT_EQ(UiText(370), "Ц.0  Тип катушки");
  EXPECT_EQ(UiText(385), "Д.7 PU газа");
}

TEST(UiText, UnknownIdGivesEmptyText) {
  for (int id : {-1, 0, 99, 109, 116, 220, 772, 904, 932, 65535, 65536, 1 << 20}) {
    EXPECT_EQ(UiText(id), "") << "id " << id;
    EXPECT_FALSE(HasUiText(id)) << "id " << id;
  }
}

TEST(UiText, TableHoldsExactlyTheIdsOfEachRange) {
  const std::vector<std::pair<int, int>> ranges = {
      {100, 108}, {110, 115}, {120, 138}, {140, 145}, {150, 152}, {160, 164}, {170, 173}, {201, 207},
      {210, 219}, {221, 221}, {223, 229}, {300, 308}, {320, 323}, {360, 385}, {388, 389}, {402, 408},
      {410, 411}, {413, 421}, {425, 425}, {427, 432}, {435, 436}, {440, 440}, {442, 446}, {450, 457},
      {459, 466}, {470, 473}, {475, 484}, {490, 492}, {495, 517}, {520, 527}, {530, 547}, {550, 550},
      {552, 552}, {555, 556}, {570, 581}, {590, 592}, {700, 705}, {720, 725}, {730, 730}, {740, 746},
      {760, 771}, {774, 785}, {900, 903}, {909, 911}, {920, 924}, {930, 931}};
  std::set<int> expected;
  for (auto [first, last] : ranges) {
    for (int id = first; id <= last; ++id) expected.insert(id);
  }
  std::set<int> actual;
  // Ids from 1000 on are this program's own texts beside the design's table.
  for (const auto& e : UiTextTable())
    if (e.id < 1000) actual.insert(e.id);
  EXPECT_EQ(actual, expected);
  for (int id : expected) EXPECT_TRUE(HasUiText(id)) << "id " << id;
}

TEST(UiText, TableIsSortedUniqueAndWellFormed) {
  const auto table = UiTextTable();
  ASSERT_FALSE(table.empty());
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].id, table[i].id);
  for (const auto& e : table) {
    const long chars = CountCodePoints(e.text);
    EXPECT_GT(chars, 0) << "id " << e.id;
    EXPECT_LE(chars, static_cast<long>(kUiTextMaxChars)) << "id " << e.id;
    EXPECT_EQ(UiText(e.id), e.text) << "id " << e.id;
  }
}

TEST(CutToCharacters, CutsCyrillicByCharactersNotBytes) {
  const std::string longText = Repeat("Щуп ", 100);  // 400 characters, 700 bytes
  const std::string cut = CutToCharacters(longText, kUiTextMaxChars);
  EXPECT_EQ(CountCodePoints(cut), 255);
  EXPECT_EQ(cut, longText.substr(0, cut.size()));
  EXPECT_EQ(cut.size(), 63u * 7u + 3u * 2u);  // 63 whole "Щуп " and "Щуп"
}

TEST(CutToCharacters, NeverSplitsASequence) {
  // One ASCII letter in front moves every two-byte letter to an odd byte offset.
  const std::string shifted = "A" + Repeat("Ж", 300);
  const std::string cut = CutToCharacters(shifted, 255);
  EXPECT_EQ(CountCodePoints(cut), 255);
  EXPECT_EQ(cut.size(), 1u + 254u * 2u);
  const std::string wide = Repeat("€", 10) + Repeat("\xF0\x9F\x98\x80", 10);
  EXPECT_EQ(CutToCharacters(wide, 12), Repeat("€", 10) + Repeat("\xF0\x9F\x98\x80", 2));
}

TEST(CutToCharacters, ShortTextsAndEdgeLimits) {
  const std::string exact = Repeat("Ы", 255);
  EXPECT_EQ(CutToCharacters(exact, 255), exact);
  EXPECT_EQ(CutToCharacters("Да", 255), "Да");
  EXPECT_EQ(CutToCharacters("Да", 1), "Д");
  EXPECT_EQ(CutToCharacters("Да", 0), "");
  EXPECT_EQ(CutToCharacters("", 5), "");
}

TEST(CutToCharacters, MalformedInputIsCutWithoutOverrun) {
  // Stray continuation bytes stay with the character before them; a truncated lead byte
  // at the end counts as one character.
  EXPECT_EQ(CutToCharacters("\x80\x80"
                            "ab",
                            1),
            "\x80\x80"
            "a");
  EXPECT_EQ(CutToCharacters("ab\xD0", 3), "ab\xD0");
  EXPECT_EQ(CutToCharacters("ab\xD0", 2), "ab");
}
