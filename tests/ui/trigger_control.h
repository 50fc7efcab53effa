// Runs a toolbar button or a menu item of a window as the operator does.
#pragma once

#include <QAction>
#include <QToolButton>
#include <QWidget>

inline void TriggerControl(QWidget& window, const char* name) {
  if (auto* action = window.findChild<QAction*>(name)) {
    action->trigger();
  } else {
    window.findChild<QToolButton*>(name)->click();
  }
}
