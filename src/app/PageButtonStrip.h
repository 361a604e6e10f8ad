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
// leave free. While the design places end before the limit they are kept; otherwise each
// button becomes as wide as its caption and padding (never wider than designed) and they
// follow each other kPageButtonGap apart from the first one's left edge.
std::vector<PageButtonPlace1D> PlacePageButtons(const std::vector<PageButtonPlace1D>& design,
                                                const std::vector<int>& captionWidths, int limit);
