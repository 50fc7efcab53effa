// A programmer's progress gauge, painted from its TGauge model: the filled
// part in the gauge's colour and the percentage in the middle.
#pragma once

#include <QWidget>

#include "link/gauge.h"

class TGaugeWidget : public QWidget {
 public:
  explicit TGaugeWidget(QWidget* parent = nullptr);

  TGauge& Gauge() { return gauge_; }

  // Whole percent done, rounded down; 0 for a maximum of 0.
  int PercentDone() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TGauge gauge_;
};
