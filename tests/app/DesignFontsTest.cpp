#include <gtest/gtest.h>

#include "app/DesignFonts.h"

namespace {

using Map = std::map<std::string, std::vector<std::string>>;

TEST(DesignFonts, substitutesAreTheInstalledMetricCompatibleFamiliesBestFirst) {
  struct Case {
    std::vector<std::string> installed;
    Map expected;
  };
  const Case cases[] = {
      {{"DejaVu Sans", "DejaVu Serif", "Liberation Serif", "Liberation Sans"},
       {{"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
        {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
        {"Arial", {"Liberation Sans", "DejaVu Sans"}}}},
      // Without the Liberation fonts the common fallbacks stand in.
      {{"DejaVu Sans", "DejaVu Serif"},
       {{"Times New Roman", {"DejaVu Serif"}},
        {"MS Sans Serif", {"DejaVu Sans"}},
        {"Arial", {"DejaVu Sans"}}}},
      // A design family that is installed keeps itself.
      {{"Times New Roman", "Arial", "Liberation Sans"}, {{"MS Sans Serif", {"Liberation Sans", "Arial"}}}},
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DesignFontSubstitutes(c.installed), c.expected);
}

}  // namespace
