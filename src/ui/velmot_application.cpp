#include "ui/velmot_application.h"

#include <exception>

#include "ui/handler_guard.h"

bool TVelmotApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowHandlerError(error);
    return false;
  }
}
