#include "ui/message_box_prompts.h"

#include <QApplication>
#include <QMessageBox>

#include "data/log_lines.h"
#include "data/program_state.h"

namespace {

// In an unattended run the text is logged and no box opens.
bool LoggedInstead(const std::string& text) {
  if (!SessionState.CmdLineMode) return false;
  AddLog(text);
  return true;
}

// The questions are error boxes; closing one gives the answer of the button
// named for dismissal.
TPromptAnswer Ask(const std::string& text, QMessageBox::StandardButton go, TPromptAnswer goAnswer,
                  QMessageBox::StandardButton dismiss) {
  if (LoggedInstead(text)) return TPromptAnswer::Abort;
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), QString::fromStdString(text),
                  go | QMessageBox::Abort, QApplication::activeWindow());
  box.setDefaultButton(go);
  box.setEscapeButton(dismiss);
  return box.exec() == go ? goAnswer : TPromptAnswer::Abort;
}

}  // namespace

void TMessageBoxPrompts::ShowInfo(const std::string& text) {
  if (LoggedInstead(text)) return;
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), QString::fromStdString(text));
}

void TMessageBoxPrompts::ShowWarning(const std::string& text) {
  if (LoggedInstead(text)) return;
  QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(), QString::fromStdString(text));
}

TPromptAnswer TMessageBoxPrompts::AskOkAbort(const std::string& text) {
  return Ask(text, QMessageBox::Ok, TPromptAnswer::Ok, QMessageBox::Abort);
}

TPromptAnswer TMessageBoxPrompts::AskYesAbort(const std::string& text) {
  // The verification box: closing it goes on comparing, as Yes does.
  return Ask(text, QMessageBox::Yes, TPromptAnswer::Yes, QMessageBox::Yes);
}
