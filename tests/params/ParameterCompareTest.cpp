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
            "Порог TPS\t0.80 [V]\t0.58 [V]\n"
            "Рег. от оборотов\tНЕТ\tДа\n"
            "Обороты переключения\t1500 [обор/мин]\t2000 [обор/мин]\n");
  // The other list order gives the same rows in its own order.
  EXPECT_EQ(Compare(pa, pb, kOrderByFunction).out,
            "Порог TPS\t0.80 [V]\t0.58 [V]\n"
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
  EXPECT_EQ(Compare(pa, pb).out, "Порог TPS\t0.80 [V]\t0.58 [V]\n");
}

}  // namespace
