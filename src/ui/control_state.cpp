#include "ui/control_state.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QWidget>

#include "ui/radio_group.h"

namespace {

void SetAction(QAction& action, const TControlState& state) {
  action.setVisible(state.Visible);
  action.setEnabled(state.Enabled);
}

}  // namespace

bool SetControlState(QWidget& root, const char* name, const TControlState& state) {
  QObject* control = root.findChild<QObject*>(QString::fromLatin1(name));
  if (auto* action = qobject_cast<QAction*>(control)) {
    SetAction(*action, state);
    return true;
  }
  if (auto* menu = qobject_cast<QMenu*>(control)) {
    // The menu widget as well as its entry in the menu bar.
    menu->setEnabled(state.Enabled);
    SetAction(*menu->menuAction(), state);
    return true;
  }
  auto* widget = qobject_cast<QWidget*>(control);
  if (!widget) return false;
  widget->setVisible(state.Visible);
  widget->setEnabled(state.Enabled);
  if (state.Value == kNoValue) return true;
  if (auto* group = dynamic_cast<TRadioGroup*>(widget)) {
    group->SetItemIndex(state.Value);
  } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    box->setChecked(state.Value != 0);
  }
  return true;
}
