// Sets the caption or text of the control with the given name below root,
// whatever its kind: a button's or label's caption, an edit's text, a group's
// title, a tab's caption for a tab page, a combo box's prompt.
#pragma once

#include <QString>

class QWidget;

// False when no control of that name exists.
bool SetControlText(QWidget& root, const char* name, const QString& text);
