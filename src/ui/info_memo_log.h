// The log memo as the core sees it: every line goes to the end of the memo,
// which is never trimmed.
#pragma once

#include <QPlainTextEdit>

#include "data/operator_io.h"

class TInfoMemoLog final : public ILogMemo {
 public:
  explicit TInfoMemoLog(QPlainTextEdit& memo) : memo_(memo) {}
  void AddLine(const std::string& line) override { memo_.appendPlainText(QString::fromStdString(line)); }

 private:
  QPlainTextEdit& memo_;
};
