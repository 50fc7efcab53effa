#include "ui/gauge_widget.h"

#include <QPainter>

TGaugeWidget::TGaugeWidget(QWidget* parent) : QWidget(parent) {
  gauge_.OnChange = [this] { update(); };
}

int TGaugeWidget::PercentDone() const {
  if (gauge_.MaxValue() <= 0) return 0;
  return static_cast<int>(static_cast<long long>(gauge_.Position()) * 100 / gauge_.MaxValue());
}

void TGaugeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(Qt::white);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  const QColor fore = gauge_.ForeColor() == TGaugeColor::Red ? QColor(Qt::red) : QColor(Qt::blue);
  const int filled = static_cast<int>(inside.width() * gauge_.Fraction());
  const QRect done(inside.left(), inside.top(), filled, inside.height());
  painter.fillRect(done, fore);

  // The percentage reads black on the empty part and white on the filled part.
  const QString text = QString::number(PercentDone()) + QLatin1Char('%');
  painter.setClipRect(inside.adjusted(filled, 0, 0, 0));
  painter.setPen(Qt::black);
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.setClipRect(done);
  painter.setPen(Qt::white);
  painter.drawText(inside, Qt::AlignCenter, text);
}
