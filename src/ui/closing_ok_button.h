// The OK button of the small address dialogs: it closes its dialog with the
// OK result before its handler runs, so a handler that fails (a number that
// is no number) shows its error and leaves the caller the values that stood.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <utility>

#include "ui/handler_guard.h"

template <typename Handler>
void ConnectClosingOk(QDialog& dialog, QPushButton& ok, Handler handler) {
  ok.setDefault(true);
  QObject::connect(&ok, &QPushButton::clicked, &dialog, [&dialog, handler = std::move(handler)] {
    dialog.accept();
    RunGuarded(handler);
  });
}
