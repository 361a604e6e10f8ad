#include "app/PageButtonStrip.h"

#include <algorithm>

namespace {

// The least room a caption takes beside its text.
constexpr int kLeastCaptionPadding = 4;

int CaptionWidth(const std::vector<int>& captionWidths, const std::vector<PageButtonPlace1D>& design,
                 std::size_t i) {
  return i < captionWidths.size() ? captionWidths[i] : design[i].width - kLeastCaptionPadding;
}

// The design places, each button widened where its caption needs more; empty when a widened
// button would reach the next one or the limit.
std::vector<PageButtonPlace1D> WidenedDesign(const std::vector<PageButtonPlace1D>& design,
                                             const std::vector<int>& captionWidths, int limit) {
  std::vector<PageButtonPlace1D> placed = design;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const int caption = CaptionWidth(captionWidths, design, i);
    if (caption + kLeastCaptionPadding > placed[i].width)
      placed[i].width = caption + kPageButtonCaptionPadding;
    const int end = i + 1 < placed.size() ? placed[i + 1].left - kPageButtonGap : limit;
    if (placed[i].right() > end) return {};
  }
  return placed;
}

}  // namespace

std::vector<PageButtonPlace1D> PlacePageButtons(const std::vector<PageButtonPlace1D>& design,
                                                const std::vector<int>& captionWidths, int limit) {
  if (design.empty()) return design;
  bool captionsFit = true;
  for (std::size_t i = 0; i < design.size(); ++i)
    captionsFit =
        captionsFit && CaptionWidth(captionWidths, design, i) + kLeastCaptionPadding <= design[i].width;
  if (captionsFit && design.back().right() <= limit) return design;
  if (std::vector<PageButtonPlace1D> widened = WidenedDesign(design, captionWidths, limit); !widened.empty())
    return widened;
  // Side by side, each as wide as its caption and padding (no wider than designed unless the
  // caption needs it), with less padding while they do not end before the limit.
  std::vector<PageButtonPlace1D> placed;
  for (int padding : {kPageButtonCaptionPadding, 8, kLeastCaptionPadding}) {
    placed.clear();
    int left = design.front().left;
    for (std::size_t i = 0; i < design.size(); ++i) {
      const int caption = CaptionWidth(captionWidths, design, i);
      const int width =
          std::max(std::min(design[i].width, caption + padding), caption + kLeastCaptionPadding);
      placed.push_back({left, width});
      left += width + kPageButtonGap;
    }
    if (placed.back().right() <= limit) break;
  }
  return placed;
}
