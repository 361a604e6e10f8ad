#include <gtest/gtest.h>

#include "app/PageButtonStrip.h"

namespace {

using Places = std::vector<PageButtonPlace1D>;

TEST(PageButtonStrip, DesignPlacesWhileTheyFitElseCaptionWideButtonsSideBySide) {
  const Places design{{0, 108}, {112, 108}, {224, 108}, {336, 108}, {448, 108}};
  const std::vector<int> captions{75, 78, 100, 52, 42};
  EXPECT_EQ(PlacePageButtons(design, captions, 556), design);
  EXPECT_EQ(PlacePageButtons(design, captions, 513),
            (Places{{0, 87}, {91, 90}, {185, 108}, {297, 64}, {365, 54}}));
  // With the processor button the strip still ends before the mode panel.
  Places service = design;
  service.push_back({560, 28});
  const Places packed = PlacePageButtons(service, {75, 78, 100, 52, 42, 8}, 513);
  EXPECT_EQ(packed.back(), (PageButtonPlace1D{423, 20}));
  EXPECT_LE(packed.back().right(), 513);
  // A caption wider than its button widens it: in its place where the room allows, else side
  // by side with less padding.
  EXPECT_EQ(PlacePageButtons(service, {75, 78, 100, 52, 42, 70}, 700).back(), (PageButtonPlace1D{560, 82}));
  EXPECT_EQ(PlacePageButtons(service, {75, 78, 100, 52, 42, 70}, 513).back(), (PageButtonPlace1D{423, 74}));
  EXPECT_EQ(PlacePageButtons({{0, 108}, {112, 108}}, {130, 10}, 100), (Places{{0, 134}, {138, 14}}));
  EXPECT_TRUE(PlacePageButtons({}, {}, 0).empty());
}

}  // namespace
