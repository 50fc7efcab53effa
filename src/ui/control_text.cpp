#include "ui/control_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

// A tab page sits in the tab widget's stack of pages.
QTabWidget* TabWidgetOf(QWidget& page) {
  auto* stack = qobject_cast<QStackedWidget*>(page.parentWidget());
  return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

}  // namespace

bool SetControlText(QWidget& root, const char* name, const QString& text) {
  QWidget* control = root.findChild<QWidget*>(QString::fromLatin1(name));
  if (!control) return false;
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    combo->setPlaceholderText(text);
  } else if (QTabWidget* tabs = TabWidgetOf(*control)) {
    tabs->setTabText(tabs->indexOf(control), text);
  } else {
    return false;
  }
  return true;
}
