// The operator's message boxes: information and warning with OK, and the
// OK/Abort and Yes/Abort questions (closing the OK/Abort question answers
// Abort, closing the verification box answers Yes).
// An unattended run (CmdLineMode) must never wait at a box: there every
// text goes to the log instead, and a question is answered Abort.
#pragma once

#include "data/operator_io.h"

class TMessageBoxPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  TPromptAnswer AskOkAbort(const std::string& text) override;
  TPromptAnswer AskYesAbort(const std::string& text) override;
};
