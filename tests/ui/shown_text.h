// What a control of the window shows as its caption, whatever its kind;
// and the check that every caption of the text tables reaches its control.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "text/window_texts.h"

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

// The toolbar's and the start-up captions as text(id) gives them, the
// layout's captions as the layout writes them, in either language.
inline void ExpectTableCaptions(const QWidget& window, const std::function<QString(TTextId)>& text) {
  for (const TToolButtonText& caption : kToolbarButtons) {
    auto* button = window.findChild<QToolButton*>(caption.Name);
    ASSERT_NE(button, nullptr) << caption.Name;
    EXPECT_EQ(button->text(), text(caption.Caption)) << caption.Name;
  }
  for (const TStartupCaption& caption : kStartupCaptions) {
    auto* control = window.findChild<QWidget*>(caption.Name);
    ASSERT_NE(control, nullptr) << caption.Name;
    EXPECT_EQ(ShownText(*control), text(caption.Text)) << caption.Name;
  }
  for (const TControlText& caption : kLayoutCaptions) {
    auto* control = window.findChild<QWidget*>(caption.Name);
    ASSERT_NE(control, nullptr) << caption.Name;
    EXPECT_EQ(ShownText(*control), QString::fromUtf8(caption.Text)) << caption.Name;
  }
}
