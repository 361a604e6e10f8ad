#pragma once

// The numbers of a bar gauge: MinValue <= Progress <= MaxValue at all times.
class GaugeModel {
 public:
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  int Progress() const { return progress_; }

  // Setting MaxValue to 0 is ignored; a maximum below the minimum (or a minimum above the
  // maximum) throws std::invalid_argument. Progress is pulled into the new range. Return true
  // when the gauge has to repaint.
  bool SetMaxValue(int value);
  bool SetMinValue(int value);
  // Clamped into the range; true only when the whole percentage changed.
  bool SetProgress(int value);

  // trunc(100 x (Progress - Min) / (Max - Min)), 0 for an empty range.
  int Percent() const;
  // trunc(percent x 0.01 x (innerWidth + 1)), at most innerWidth.
  int BarWidth(int innerWidth) const;

 private:
  int min_ = 0;
  int max_ = 100;
  int progress_ = 0;
};
