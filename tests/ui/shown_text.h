// What a control of the window shows as its caption, whatever its kind.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

inline QString ShownText(QWidget& control) {
  if (auto* button = qobject_cast<QAbstractButton*>(&control)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(&control)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(&control)) return edit->text();
  if (auto* group = qobject_cast<QGroupBox*>(&control)) return group->title();
  if (auto* combo = qobject_cast<QComboBox*>(&control)) return combo->placeholderText();
  if (auto* stack = qobject_cast<QStackedWidget*>(control.parentWidget()))
    if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) return tabs->tabText(tabs->indexOf(&control));
  return "<no text>";
}
