#include <gtest/gtest.h>

#include <clocale>
#include <fstream>

#include "ParameterTestBlocks.h"
#include "base/UiText.h"
#include "params/ParameterCompare.h"
#include "params/ParameterFiles.h"
#include "params/ParameterRows.h"
#include "support/TempFolder.h"

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Compare(const std::string& a, const std::string& b, int order = kOrderByType) {
  Outcome o{};
  o.status = CompareParameterFiles(a, b, order, o.out, o.err);
  return o;
}

std::string Saved(const TempFolder& dir, const std::string& name, const ParameterBlock& block) {
  const std::string path = dir / name;
  EXPECT_TRUE(SaveParameterFile(path, block));
  return path;
}

TEST(ParameterCompare, ListsTheDifferingRowsOfTheFirstSetsViewWithBothValues) {
  TempFolder dir;
  const ParameterBlock a = TypicalBlock();
  ParameterBlock b = a;
  b[57] = 29;  // TPS threshold, volts
  b[62] = 20;  // switch-over speed
  b[52] = 1;   // regulation from speed switched on: its motor speed row shows only in B's view
  b[51] = 9;
  b[78] = 3;   // power defects: a counter, not a setting
  b[200] = 7;  // beyond the parameters: no row
  const std::string pa = Saved(dir, "a.orvp", a);
  const std::string pb = Saved(dir, "b.orvp", b);

  const Outcome byType = Compare(pa, pb, kOrderByType);
  EXPECT_EQ(byType.status, 1);
  EXPECT_EQ(byType.err, "");
  EXPECT_EQ(byType.out,
            "Тип TPS / Порог TPS\t0.80 [V]\t0.58 [V]\n"
            "Рег. от оборотов\tНЕТ\tДа\n"
            "Обороты переключения\t1500 [обор/мин]\t2000 [обор/мин]\n");
  // The other list order gives the same rows in its own order.
  EXPECT_EQ(Compare(pa, pb, kOrderByFunction).out,
            "Тип TPS / Порог TPS\t0.80 [V]\t0.58 [V]\n"
            "Обороты переключения\t1500 [обор/мин]\t2000 [обор/мин]\n"
            "Рег. от оборотов\tНЕТ\tДа\n");
  // From B's side the speed row is shown and differs too.
  const Outcome reverse = Compare(pb, pa, kOrderByType);
  EXPECT_EQ(reverse.status, 1);
  EXPECT_NE(reverse.out.find("\t0.58 [V]\t0.80 [V]\n"), std::string::npos) << reverse.out;
  EXPECT_EQ(CompareParameterSets(b, a, kOrderByType).size(), 4u);
}

TEST(ParameterCompare, AnotherModelIsComparedOnTheRowsBothOffer) {
  TempFolder dir;
  const ParameterBlock a = TypicalBlock();
  ParameterBlock b = a;
  b[0] = 0x65;  // another controller
  HideParameter(b, 57);
  HideParameter(b, 86);
  b[57] = 1;
  b[86] = 1;
  b[41] = 180;  // offered by both
  const Outcome o = Compare(Saved(dir, "a.orvp", a), Saved(dir, "b.orvp", b));
  EXPECT_EQ(o.status, 1);
  ASSERT_EQ(CompareParameterSets(a, b, kOrderByType).size(), 1u);
  EXPECT_EQ(CompareParameterSets(a, b, kOrderByType)[0].first, "200");
  EXPECT_EQ(CompareParameterSets(a, b, kOrderByType)[0].second, "180");

  // A parameter the first set does not offer has no row, whatever the second holds.
  ParameterBlock c = a;
  HideParameter(c, 41);
  c[41] = 180;
  EXPECT_TRUE(CompareParameterSets(c, a, kOrderByType).empty());
}

TEST(ParameterCompare, EqualSetsAndUnreadableOrShortFiles) {
  TempFolder dir;
  ParameterBlock a = TypicalBlock();
  ParameterBlock b = a;
  b[120] = 99;  // outside every row
  const std::string pa = Saved(dir, "a.orvp", a);
  Outcome o = Compare(pa, Saved(dir, "b.orvp", b));
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "");

  const std::string shortFile = dir / "short.orvp";
  std::ofstream(shortFile, std::ios::binary) << std::string(255, '\x01');
  o = Compare(pa, shortFile);
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, UiText(703) + " " + shortFile + "\n");

  const std::string missing = dir / "missing.orvp";
  o = Compare(missing, shortFile);
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.err, UiText(702) + " " + missing + "\n" + UiText(703) + " " + shortFile + "\n");
  EXPECT_EQ(Compare(dir.Path(), pa).status, 2);  // a folder is not a parameter file
}

// A user's locale with a decimal comma changes nothing in the output.
TEST(ParameterCompare, OutputDoesNotFollowTheLocale) {
  TempFolder dir;
  const ParameterBlock a = TypicalBlock();
  ParameterBlock b = a;
  b[57] = 29;
  const std::string pa = Saved(dir, "a.orvp", a);
  const std::string pb = Saved(dir, "b.orvp", b);
  struct RestoreCLocale {
    ~RestoreCLocale() { std::setlocale(LC_ALL, "C"); }
  } restore;
  if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr && std::setlocale(LC_ALL, "ru_RU.utf8") == nullptr)
    FAIL() << "locale ru_RU.UTF-8 is missing (make deps makes it)";
  EXPECT_EQ(Compare(pa, pb).out, "Тип TPS / Порог TPS\t0.80 [V]\t0.58 [V]\n");
}

// The details under the question before loading: the controller's value, an arrow and the
// file's value for each differing row of the controller's view, then the differing bytes that
// have no row there, or a line saying the file changes nothing.
TEST(ParameterCompare, DetailsBeforeLoadingListEveryChangedByteOnce) {
  struct Change {
    int at;
    std::uint8_t value;
  };
  struct Case {
    const char* what;
    std::vector<Change> changes;
    std::string details;
    int bytes;
  };
  const std::string tps = "Тип TPS / Порог TPS: 0.80 [V] → 0.58 [V]\n";
  const std::string speed = "Обороты переключения: 1500 [обор/мин] → 2000 [обор/мин]\n";
  const std::string regulation = "Рег. от оборотов: НЕТ → Да\n";
  const Case cases[] = {
      {"one row", {{62, 20}}, speed, 1},
      {"many rows, in the list's order", {{62, 20}, {52, 1}, {57, 29}}, tps + regulation + speed, 3},
      // 51 is shown only with regulation from speed on; 78 counts power defects, not a setting,
      // and comes first by its row's name.
      {"bytes without a row",
       {{51, 9}, {78, 3}},
       "Дефекты питания: 0 → 3\n" + UiText(1231) + "51: 0 → 9\n",
       2},
      {"a row and a byte without one", {{104, 1}, {57, 29}}, tps + UiText(1231) + "104: 0 → 1\n", 2},
      {"beyond the parameters only", {{120, 5}, {15, 0}}, UiText(1230) + "\n", 0},
      {"nothing", {}, UiText(1230) + "\n", 0},
  };
  const ParameterBlock controller = TypicalBlock();
  for (const Case& c : cases) {
    ParameterBlock loaded = controller;
    for (const Change& change : c.changes) loaded[static_cast<std::size_t>(change.at)] = change.value;
    EXPECT_EQ(LoadDifferencesText(controller, loaded, kOrderByType), c.details) << c.what;
    EXPECT_EQ(DifferingParameterBytes(controller, loaded), c.bytes) << c.what;
  }
}

// Dependent rows are named with the row they depend on, the error flags by their rows, and a
// file for another model or program version says so, also when no row differs.
TEST(ParameterCompare, DetailsNameDependentRowsErrorFlagsAndAnotherDevice) {
  ParameterBlock controller = TypicalBlock();
  controller[54] = 1;  // regulation from TPS, with its rows
  ParameterBlock otherVersion = controller;
  otherVersion[kVersionByte] = 150;
  const struct {
    const char* what;
    int at;
    std::uint8_t value;
    const ParameterBlock* file;
    std::string details;
  } cases[] = {
      {"a dependent row", 66, 7, nullptr, "Рег. от TPS / Скорость мотора: 0 → 7\n"},
      {"error flags", 79, 0x03, nullptr, "Ошибки: НЕТ → Ошибка TPS, Ошибка щупа\n"},
      {"another version", 0, 0, &otherVersion,
       UiText(1244) + "0x64 V1.45 → 0x64 V1.50\n" + UiText(1230) + "\n"},
  };
  for (const auto& c : cases) {
    ParameterBlock loaded = controller;
    if (c.at) loaded[static_cast<std::size_t>(c.at)] = c.value;
    EXPECT_EQ(LoadDifferencesText(controller, loaded, kOrderByType, c.file), c.details) << c.what;
  }
}

}  // namespace
