#include "data/operator_io.h"

#include <ctime>

namespace {

class SilentPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string&) override {}
  void ShowWarning(const std::string&) override {}
  TPromptAnswer AskOkAbort(const std::string&) override { return TPromptAnswer::Ok; }
  TPromptAnswer AskYesAbort(const std::string&) override { return TPromptAnswer::Yes; }
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
SystemClock systemClock;
IPrompts* installedPrompts = &silentPrompts;
const IClock* installedClock = &systemClock;

}  // namespace

IPrompts& Prompts() { return *installedPrompts; }
void SetPrompts(IPrompts* prompts) { installedPrompts = prompts ? prompts : &silentPrompts; }
const IClock& Clock() { return *installedClock; }
void SetClock(const IClock* clock) { installedClock = clock ? clock : &systemClock; }
