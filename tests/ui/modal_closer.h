// Drives the next modal window from a timer, so a test can open a modal box
// and answer it without blocking in its loop.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

inline void OnNextModal(std::function<void(QWidget&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    act(*modal);
  });
  timer->start();
}
