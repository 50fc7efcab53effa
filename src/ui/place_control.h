// Creating a control of a window's layout: its kind, its name (the one the
// program looks it up by) and its place in its parent.
#pragma once

#include <QString>
#include <QWidget>

template <typename W>
W* Place(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}
