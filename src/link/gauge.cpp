#include "link/gauge.h"

void TGauge::SetPosition(int position) {
  if (position < 0) position = 0;
  if (position > maxValue_) position = maxValue_;
  if (position == position_) return;
  position_ = position;
  Changed();
}

void TGauge::SetMaxValue(int maxValue) {
  if (maxValue < 0) maxValue = 0;
  if (maxValue == maxValue_) return;
  maxValue_ = maxValue;
  if (position_ > maxValue_) position_ = maxValue_;
  Changed();
}

void TGauge::SetForeColor(TGaugeColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

double TGauge::Fraction() const { return maxValue_ > 0 ? static_cast<double>(position_) / maxValue_ : 0.0; }

void TGauge::Changed() const {
  if (OnChange) OnChange();
}
