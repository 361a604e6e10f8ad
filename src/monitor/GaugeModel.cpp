#include "monitor/GaugeModel.h"

#include <algorithm>
#include <stdexcept>

bool GaugeModel::SetMaxValue(int value) {
  if (value == 0) return false;
  if (value < min_) throw std::invalid_argument("gauge maximum below its minimum");
  max_ = value;
  progress_ = std::clamp(progress_, min_, max_);
  return true;
}

bool GaugeModel::SetMinValue(int value) {
  if (value > max_) throw std::invalid_argument("gauge minimum above its maximum");
  min_ = value;
  progress_ = std::clamp(progress_, min_, max_);
  return true;
}

bool GaugeModel::SetProgress(int value) {
  const int before = Percent();
  progress_ = std::clamp(value, min_, max_);
  return Percent() != before;
}

int GaugeModel::Percent() const {
  if (max_ == min_) return 0;
  return static_cast<int>(100LL * (progress_ - min_) / (max_ - min_));
}

int GaugeModel::BarWidth(int innerWidth) const {
  const int width = static_cast<int>(Percent() * 0.01 * (innerWidth + 1));
  return std::clamp(width, 0, std::max(0, innerWidth));
}
