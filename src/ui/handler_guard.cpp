#include "ui/handler_guard.h"

#include "data/operator_io.h"

void ShowHandlerError(const std::exception& error) { Prompts().ShowInfo(error.what()); }
