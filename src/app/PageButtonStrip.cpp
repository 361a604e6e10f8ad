#include "app/PageButtonStrip.h"

#include <algorithm>

std::vector<PageButtonPlace1D> PlacePageButtons(const std::vector<PageButtonPlace1D>& design,
                                                const std::vector<int>& captionWidths, int limit) {
  if (design.empty() || design.back().right() <= limit) return design;
  std::vector<PageButtonPlace1D> placed;
  int left = design.front().left;
  for (std::size_t i = 0; i < design.size(); ++i) {
    const int caption = i < captionWidths.size() ? captionWidths[i] : design[i].width;
    const int width = std::min(design[i].width, caption + kPageButtonCaptionPadding);
    placed.push_back({left, width});
    left += width + kPageButtonGap;
  }
  return placed;
}
