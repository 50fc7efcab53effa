#include "ui/log_line.h"

#include <cstdio>

std::string TimedLogLine(const TClockTime& time, const std::string& message) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "> %02d:%02d:%02d ", time.Hour, time.Minute, time.Second);
  return prefix + message;
}
