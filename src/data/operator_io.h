// The seams through which the core reaches the operator. The main window
// implements them; tests install fakes that script answers and count boxes.
#pragma once

#include <string>

// The main window's log memo.
class ILogMemo {
 public:
  virtual ~ILogMemo() = default;
  virtual void AddLine(const std::string& line) = 0;
};

enum class TPromptAnswer { Ok, Yes, Abort };

// Modal boxes: information and warning (OK only) and the two questions the
// core asks.
class IPrompts {
 public:
  virtual ~IPrompts() = default;
  virtual void ShowInfo(const std::string& text) = 0;
  virtual void ShowWarning(const std::string& text) = 0;
  virtual TPromptAnswer AskOkAbort(const std::string& text) = 0;
  virtual TPromptAnswer AskYesAbort(const std::string& text) = 0;
};

// Wall-clock time for log lines and log file names.
struct TClockTime {
  int Year, Month, Day, Hour, Minute, Second;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual TClockTime Now() const = 0;
};

// The installed services. Until something is installed, prompts show nothing
// and answer OK, and the clock is the system's local time.
IPrompts& Prompts();
void SetPrompts(IPrompts* prompts);
const IClock& Clock();
void SetClock(const IClock* clock);
