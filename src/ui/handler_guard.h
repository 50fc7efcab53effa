// The default error handling of the window's handlers: an exception that
// leaves a handler ends it, its text is shown to the operator and the
// program goes on. Command handlers run inside RunGuarded, so the exception
// never unwinds through Qt's event delivery (which leaks on a mouse click);
// the application's notify() catches whatever else escapes, the same way.
#pragma once

#include <exception>

void ShowHandlerError(const std::exception& error);

template <typename Handler>
void RunGuarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowHandlerError(error);
  }
}

// A slot that runs object's handler guarded.
template <typename Object>
auto GuardedSlot(Object* object, void (Object::*handler)()) {
  return [object, handler] { RunGuarded([object, handler] { (object->*handler)(); }); };
}
