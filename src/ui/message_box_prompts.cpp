#include "ui/message_box_prompts.h"

#include <QApplication>
#include <QMessageBox>

namespace {

TPromptAnswer Ask(const std::string& text, QMessageBox::StandardButton go, TPromptAnswer goAnswer) {
  QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), QString::fromStdString(text),
                  go | QMessageBox::Abort, QApplication::activeWindow());
  box.setDefaultButton(go);
  box.setEscapeButton(QMessageBox::Abort);
  return box.exec() == go ? goAnswer : TPromptAnswer::Abort;
}

}  // namespace

void TMessageBoxPrompts::ShowInfo(const std::string& text) {
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), QString::fromStdString(text));
}

TPromptAnswer TMessageBoxPrompts::AskOkAbort(const std::string& text) {
  return Ask(text, QMessageBox::Ok, TPromptAnswer::Ok);
}

TPromptAnswer TMessageBoxPrompts::AskYesAbort(const std::string& text) {
  return Ask(text, QMessageBox::Yes, TPromptAnswer::Yes);
}
