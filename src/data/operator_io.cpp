#include "data/operator_io.h"

#include <ctime>

#include "data/log_lines.h"
#include "data/program_state.h"

namespace {

class SilentPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string&) override {}
  void ShowWarning(const std::string&) override {}
  TPromptAnswer AskOkAbort(const std::string&) override { return TPromptAnswer::Ok; }
  TPromptAnswer AskYesAbort(const std::string&) override { return TPromptAnswer::Yes; }
};

// Nobody there: the texts go to the log, and a question takes the answer
// that stops what asked it.
class LoggedPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override { AddLog(text); }
  void ShowWarning(const std::string& text) override { AddLog(text); }
  TPromptAnswer AskOkAbort(const std::string& text) override { return Logged(text); }
  TPromptAnswer AskYesAbort(const std::string& text) override { return Logged(text); }

 private:
  static TPromptAnswer Logged(const std::string& text) {
    AddLog(text);
    return TPromptAnswer::Abort;
  }
};

class SystemClock final : public IClock {
 public:
  TClockTime Now() const override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  }
};

SilentPrompts silentPrompts;
LoggedPrompts loggedPrompts;
SystemClock systemClock;
IPrompts* installedPrompts = &silentPrompts;
const IClock* installedClock = &systemClock;
int silencers = 0;  // TSilencedPrompts alive

}  // namespace

bool PromptsSilenced() { return SessionState.AutoCloseMode || silencers > 0; }

IPrompts& Prompts() { return PromptsSilenced() ? loggedPrompts : *installedPrompts; }
void SetPrompts(IPrompts* prompts) { installedPrompts = prompts ? prompts : &silentPrompts; }
const IClock& Clock() { return *installedClock; }
void SetClock(const IClock* clock) { installedClock = clock ? clock : &systemClock; }

TSilencedPrompts::TSilencedPrompts() { ++silencers; }
TSilencedPrompts::~TSilencedPrompts() { --silencers; }

void LogAndShow(const std::string& text) { LogAndShow({text}); }

void LogAndShow(std::initializer_list<std::string> lines) {
  std::string box;
  for (const std::string& line : lines) {
    AddLog(line);
    if (!box.empty()) box += '\n';
    box += line;
  }
  if (!PromptsSilenced()) Prompts().ShowInfo(box);
}
