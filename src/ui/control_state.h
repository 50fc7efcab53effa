// Shows, enables and sets the control with the given name below root,
// whatever its kind: a widget, a menu item, a whole menu (its entry in the
// menu bar), a check box (ticked for 1) or a radio group (the item index).
#pragma once

#include "chips/window_adapters.h"

class QWidget;

// False when no control of that name exists.
bool SetControlState(QWidget& root, const char* name, const TControlState& state);
