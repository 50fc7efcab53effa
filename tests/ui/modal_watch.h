// Closes every modal window that opens while it lives and counts them, for
// tests of commands that must not open one: a window that opened anyway is
// counted and rejected instead of blocking the test.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

class TModalWatch {
 public:
  TModalWatch() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!modal) return;
      ++Opened;
      modal->reject();
    });
    timer_.start();
  }

  int Opened = 0;

 private:
  QTimer timer_;
};
