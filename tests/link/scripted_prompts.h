// Prompts for the tests: the questions are answered from a script (Yes when
// it runs out) and every text is recorded; WhileOpen runs inside a question,
// as the window's event loop would run other events while the box is open.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "data/operator_io.h"

class TScriptedPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override { Shown.push_back(text); }
  void ShowWarning(const std::string& text) override { Shown.push_back(text); }
  TPromptAnswer AskOkAbort(const std::string& text) override { return Ask(text); }
  TPromptAnswer AskYesAbort(const std::string& text) override { return Ask(text); }

  std::deque<TPromptAnswer> Answers;
  std::vector<std::string> Shown;
  std::function<void()> WhileOpen;

 private:
  TPromptAnswer Ask(const std::string& text) {
    Shown.push_back(text);
    if (WhileOpen) {
      auto run = std::move(WhileOpen);
      run();
    }
    if (Answers.empty()) return TPromptAnswer::Yes;
    const TPromptAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};
