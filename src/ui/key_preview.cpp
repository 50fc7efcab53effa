#include "ui/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TKeyPreview::TKeyPreview(QWidget& window, std::function<void(const QKeyEvent&)> onKeyPress)
    : QObject(&window), window_(window), onKeyPress_(std::move(onKeyPress)) {
  qApp->installEventFilter(this);
}

bool TKeyPreview::IsPropagation(const QEvent* event, QWidget* receiver) const {
  if (event != lastEvent_ || event->type() != lastType_ || !lastReceiver_) return false;
  for (QWidget* w = lastReceiver_->parentWidget(); w; w = w->parentWidget())
    if (w == receiver) return true;
  return false;
}

bool TKeyPreview::eventFilter(QObject* receiver, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(receiver);
  if (!widget || widget->window() != &window_) return false;
  const bool propagated = IsPropagation(event, widget);
  lastEvent_ = event;
  lastType_ = event->type();
  lastReceiver_ = widget;
  if (!propagated && event->type() == QEvent::KeyPress) onKeyPress_(static_cast<const QKeyEvent&>(*event));
  return false;
}
