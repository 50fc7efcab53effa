#include "ui/message_box_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {

// The questions are error boxes; closing one gives the answer of the button
// named for dismissal.
TPromptAnswer Ask(const std::string& text, QMessageBox::StandardButton go, TPromptAnswer goAnswer,
                  QMessageBox::StandardButton dismiss) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), QString::fromStdString(text),
                  go | QMessageBox::Abort, QApplication::activeWindow());
  box.setDefaultButton(go);
  box.setEscapeButton(dismiss);
  box.exec();
  return box.clickedButton() == box.button(go) ? goAnswer : TPromptAnswer::Abort;
}

}  // namespace

void TMessageBoxPrompts::ShowInfo(const std::string& text) {
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), QString::fromStdString(text));
}

void TMessageBoxPrompts::ShowWarning(const std::string& text) {
  QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(), QString::fromStdString(text));
}

TPromptAnswer TMessageBoxPrompts::AskOkAbort(const std::string& text) {
  return Ask(text, QMessageBox::Ok, TPromptAnswer::Ok, QMessageBox::Abort);
}

TPromptAnswer TMessageBoxPrompts::AskYesAbort(const std::string& text) {
  // The verification box: closing it goes on comparing, as Yes does.
  return Ask(text, QMessageBox::Yes, TPromptAnswer::Yes, QMessageBox::Yes);
}
