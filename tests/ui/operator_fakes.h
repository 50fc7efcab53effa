// Fakes of the operator seams for window tests: prompts that script their
// answers and record every box, and a clock that stands still.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "data/operator_io.h"

class TFakePrompts final : public IPrompts {
 public:
  TFakePrompts() { SetPrompts(this); }
  ~TFakePrompts() override { SetPrompts(nullptr); }

  std::deque<TPromptAnswer> Answers;  // for the questions, in order
  std::vector<std::string> Shown;     // the text of every box, in order
  std::vector<std::string> Warned;    // the text of every warning box, in order
  // Runs while a box is open, before it is answered: what the event loop of
  // a real box may run meanwhile.
  std::function<void(const std::string& text)> WhileOpen;

  void ShowInfo(const std::string& text) override { Show(text); }
  void ShowWarning(const std::string& text) override {
    Show(text);
    Warned.push_back(text);
  }
  TPromptAnswer AskOkAbort(const std::string& text) override { return Answer(text); }
  TPromptAnswer AskYesAbort(const std::string& text) override { return Answer(text); }

 private:
  void Show(const std::string& text) {
    Shown.push_back(text);
    if (WhileOpen) WhileOpen(text);
  }
  TPromptAnswer Answer(const std::string& text) {
    Show(text);
    if (Answers.empty()) {
      ADD_FAILURE() << "question without a scripted answer: " << text;
      return TPromptAnswer::Abort;
    }
    const TPromptAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

class TFixedClock final : public IClock {
 public:
  explicit TFixedClock(TClockTime time) : time_(time) { SetClock(this); }
  ~TFixedClock() override { SetClock(nullptr); }
  TClockTime Now() const override { return time_; }

 private:
  TClockTime time_;
};
