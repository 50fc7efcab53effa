// One line of the log memo: "> hh:mm:ss message".
#pragma once

#include <string>

#include "data/operator_io.h"

std::string TimedLogLine(const TClockTime& time, const std::string& message);
