#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/NumberText.h"
#include "model/ParameterBlock.h"

namespace {

TEST(NumberText, FormatFixedRoundsLikePrintfOnTheBinaryValue) {
  struct Case {
    double v;
    int decimals;
    const char* text;
  } cases[] = {
      {0.5, 0, "0"},      {1.5, 0, "2"},      {2.5, 0, "2"},      {0.125, 2, "0.12"},
      {0.375, 2, "0.38"}, {1.005, 2, "1.00"}, {2.675, 2, "2.67"}, {-0.4, 0, "-0"},
      {-1.25, 1, "-1.2"}, {2500, 0, "2500"},  {0.58, 2, "0.58"},  {1e20, 0, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.v, c.decimals), c.text) << c.v;
}

TEST(NumberText, FormatFixedAgreesWithPrintfForEveryScaledByte) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const double factors[] = {0.01, 0.02, 0.1, 0.2, 1, 5, 100};
  char expected[64];
  for (double f : factors) {
    for (int b = 0; b < 256; ++b) {
      for (int decimals : {0, 1, 2}) {
        std::snprintf(expected, sizeof expected, "%.*f", decimals, b * f);
        ASSERT_EQ(FormatFixed(b * f, decimals), expected) << b << " * " << f;
      }
    }
  }
}

TEST(NumberText, FormatSignedAlwaysShowsTheSign) {
  EXPECT_EQ(FormatSigned(85), "+85");
  EXPECT_EQ(FormatSigned(-5), "-5");
  EXPECT_EQ(FormatSigned(0), "+0");
  EXPECT_EQ(FormatSigned(0.4), "+0");
  EXPECT_EQ(FormatSigned(-60), "-60");
}

TEST(NumberText, ParseTakesTheLongestLeadingNumber) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* text;
    std::size_t consumed;
    double value;
  } cases[] = {
      {"2.5", 3, 2.5},   {"4,1", 1, 4},
      {" +1e2", 5, 100}, {"\t-0.5x", 5, -0.5},
      {".5", 2, 0.5},    {"5.", 2, 5},
      {"1e", 1, 1},      {"1e+", 1, 1},
      {"2E-1V", 4, 0.2}, {"1.2.3", 3, 1.2},
      {"1e400", 5, inf}, {"-1e400", 6, -inf},
      {"1e-400", 6, 0},  {"0.001e99999999999999", 20, inf},
      {"", 0, 0},        {"abc", 0, 0},
      {".", 0, 0},       {"-", 0, 0},
      {"+.e5", 0, 0},    {"nan", 0, 0},
      {"inf", 0, 0},     {"  ", 0, 0},
      {"- 5", 0, 0},
  };
  for (const auto& c : cases) {
    double out = 123;
    EXPECT_EQ(ParseLeadingNumber(c.text, out), c.consumed) << '"' << c.text << '"';
    EXPECT_EQ(out, c.value) << '"' << c.text << '"';
  }
}

// The user's locale may use a comma as decimal separator; the program never follows it.
TEST(NumberText, RussianLocaleChangesNeitherFormattingNorParsing) {
  struct RestoreCLocale {
    ~RestoreCLocale() { std::setlocale(LC_ALL, "C"); }
  } restore;
  if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr && std::setlocale(LC_ALL, "ru_RU.utf8") == nullptr) {
    FAIL() << "locale ru_RU.UTF-8 is missing; generate it (make deps runs "
              "localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)";
  }
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(FormatFixed(2.5, 2), "2.50");
  EXPECT_EQ(FormatParameterValue(29, kFormatVolts, 0.02), "0.58");
  EXPECT_EQ(ParseParameterValue("2.5", 0.02), 125);
  EXPECT_EQ(ParseParameterValue("2,5", 0.02), 100);
}

}  // namespace
