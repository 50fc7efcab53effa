// The seams through which the core reaches the operator. The main window
// implements them; tests install fakes that script answers and count boxes.
#pragma once

#include <initializer_list>
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

// Where nobody is there to answer, Prompts() silences the boxes: a box's text
// goes to the log instead and a question is answered Abort. That holds for
// the whole of an unattended ("OFF") run, and while a TSilencedPrompts lives.
// A project on the command line without "OFF" silences nothing by itself.
bool PromptsSilenced();

// Silences the boxes for as long as it lives: while the command-line project
// opens, and once the program has been asked to stop.
class TSilencedPrompts {
 public:
  TSilencedPrompts();
  ~TSilencedPrompts();
  TSilencedPrompts(const TSilencedPrompts&) = delete;
  TSilencedPrompts& operator=(const TSilencedPrompts&) = delete;
};

// A result that is both logged and shown (file results): the log line, then
// the box unless boxes are silenced, so a silenced text is logged once.
void LogAndShow(const std::string& text);
// A result of several lines: each line logged, then one box that holds them
// all in the same order.
void LogAndShow(std::initializer_list<std::string> lines);
