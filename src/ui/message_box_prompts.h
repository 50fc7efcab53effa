// The operator's message boxes: information and warning with OK, and the
// OK/Abort and Yes/Abort questions. A question answers with the button that
// was pressed; closing the OK/Abort question answers Abort, closing the
// verification box answers Yes, and a box that goes without a button
// pressed (a stop request closes it) answers Abort. Where nobody is there to
// answer, the seam (data/operator_io.h) keeps these boxes from opening.
#pragma once

#include "data/operator_io.h"

class TMessageBoxPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  TPromptAnswer AskOkAbort(const std::string& text) override;
  TPromptAnswer AskYesAbort(const std::string& text) override;
};
