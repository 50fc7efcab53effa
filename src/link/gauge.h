// The model behind one programmer's progress gauge: position, maximum and
// colour. The position always lies within 0 .. the maximum it has when it is
// set, and lowering the maximum pulls the position down with it. The window
// paints it; OnChange tells it when to repaint.
#pragma once

#include <functional>

enum class TGaugeColor { Blue, Red };

class TGauge {
 public:
  int Position() const { return position_; }
  int MaxValue() const { return maxValue_; }
  TGaugeColor ForeColor() const { return color_; }

  void SetPosition(int position);
  void SetMaxValue(int maxValue);
  void SetForeColor(TGaugeColor color);

  // Filled fraction 0..1 for painting; an empty bar when the maximum is 0.
  double Fraction() const;

  std::function<void()> OnChange;

 private:
  void Changed() const;

  int position_ = 0;
  int maxValue_ = 100;
  TGaugeColor color_ = TGaugeColor::Blue;
};
