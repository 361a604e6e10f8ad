#pragma once

#include <QWidget>
#include <cstdint>

#include "monitor/GaugeModel.h"

// A horizontal bar gauge. Colours are platform colour values.
class TCGauge : public QWidget {
 public:
  explicit TCGauge(QWidget* parent = nullptr);

  int MinValue() const { return model_.MinValue(); }
  int MaxValue() const { return model_.MaxValue(); }
  int Progress() const { return model_.Progress(); }
  int Percent() const { return model_.Percent(); }
  void SetMinValue(int value);  // throws std::invalid_argument above the maximum
  void SetMaxValue(int value);  // 0 is ignored; throws below the minimum
  void SetRange(int minimum, int maximum);
  void SetProgress(int value);  // repaints only when the whole percentage changes

  std::int32_t ForeColor() const { return foreColor_; }
  std::int32_t BackColor() const { return backColor_; }
  void SetForeColor(std::int32_t colour);
  void SetBackColor(std::int32_t colour);
  void SetShowText(bool on);
  void SetBorder(bool single);

  int Repaints() const { return repaints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Changed();

  GaugeModel model_;
  std::int32_t foreColor_ = 0x000000;
  std::int32_t backColor_ = 0xFFFFFF;
  bool showText_ = true;
  bool border_ = true;
  int repaints_ = 0;
};
