#include "ui/velmot_application.h"

#include <exception>

#include "data/operator_io.h"

bool TVelmotApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Prompts().ShowInfo(error.what());
    return false;
  }
}
