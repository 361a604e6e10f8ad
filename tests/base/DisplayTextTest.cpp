#include <gtest/gtest.h>

#include "base/UiText.h"
#include "base/UserDialogs.h"

TEST(DisplayTextTest, storedLineFeedCarriageReturnPairsBecomeOneLineBreak) {
  EXPECT_EQ(DisplayText("a\n\rb"), "a\nb");
  EXPECT_EQ(DisplayText("\n\r a\n\r\n\rb\n\r"), "\n a\n\nb\n");
  EXPECT_EQ(DisplayText("a\rb"), "a\nb");  // a lone CR still breaks the line
  EXPECT_EQ(DisplayText("a\nb"), "a\nb");
  EXPECT_EQ(DisplayText(""), "");
  const std::string warning = DisplayText(UiText(741) + "176 .\n\r");
  EXPECT_EQ(warning.find('\r'), std::string::npos);
  EXPECT_EQ(warning.substr(warning.size() - 6), "176 .\n");
}
