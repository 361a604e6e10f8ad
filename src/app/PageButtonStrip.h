#pragma once

#include <vector>

// The page buttons along the top of the main window. At their design places the last ones
// reach under the mode panel on a narrow window; there they move closer together instead.

struct PageButtonPlace1D {
  int left = 0;
  int width = 0;
  int right() const { return left + width; }
  bool operator==(const PageButtonPlace1D&) const = default;
};

inline constexpr int kPageButtonGap = 4;
inline constexpr int kPageButtonCaptionPadding = 12;

// The places of the visible page buttons, left to right. `design` are their design places,
// `captionWidths` the widths their captions need, `limit` the first pixel the buttons must
// leave free. While the design places end before the limit and hold their captions they are
// kept; a caption wider than its button widens it where the room allows. Otherwise each
// button becomes as wide as its caption and padding (no wider than designed unless its
// caption needs it) and they follow each other kPageButtonGap apart from the first one's left
// edge, with less padding where the full padding would pass the limit.
std::vector<PageButtonPlace1D> PlacePageButtons(const std::vector<PageButtonPlace1D>& design,
                                                const std::vector<int>& captionWidths, int limit);
