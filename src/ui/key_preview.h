// Lets a window see every key press meant for it or any of its controls
// before the control does; the key still reaches the control.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

class TKeyPreview : public QObject {
 public:
  TKeyPreview(QWidget& window, std::function<void(const QKeyEvent&)> onKeyPress);

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  bool IsPropagation(const QEvent* event, QWidget* receiver) const;

  QWidget& window_;
  std::function<void(const QKeyEvent&)> onKeyPress_;
  // The key event seen last and where: a key that a control leaves unused
  // is offered to its parents as the same event, and is previewed once.
  const QEvent* lastEvent_ = nullptr;
  int lastType_ = 0;
  QPointer<QWidget> lastReceiver_;
};
