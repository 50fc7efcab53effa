#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <functional>

#include "modal_closer.h"
#include "text/texts.h"
#include "ui/message_box_prompts.h"

namespace {

using TBoxAnswer = std::function<void(QMessageBox&)>;

TBoxAnswer Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox& box) { box.button(which)->click(); };
}

void Escape(QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }

// Answers the next message box and notes its title and text.
void AnswerNextBox(TBoxAnswer answer, QString& seen) {
  OnNextModal([answer = std::move(answer), &seen](QWidget& modal) {
    auto& box = dynamic_cast<QMessageBox&>(modal);
    seen = box.windowTitle() + "|" + box.text();
    answer(box);
  });
}

TEST(MessageBoxPrompts, QuestionsAnswerWithThePressedButtonOrTheirDismissAnswer) {
  TMessageBoxPrompts prompts;
  const auto okAbort = [&] { return prompts.AskOkAbort("Data Verify error!"); };
  const auto yesAbort = [&] { return prompts.AskYesAbort("Chip is not blank!"); };
  struct TCase {
    const char* Name;
    std::function<TPromptAnswer()> Ask;
    TBoxAnswer Answer;
    TPromptAnswer Expected;
    const char* Text;
  };
  const std::vector<TCase> cases = {
      {"OK of OK/Abort", okAbort, Click(QMessageBox::Ok), TPromptAnswer::Ok, "Data Verify error!"},
      {"Abort of OK/Abort", okAbort, Click(QMessageBox::Abort), TPromptAnswer::Abort, "Data Verify error!"},
      {"Escape on OK/Abort", okAbort, Escape, TPromptAnswer::Abort, "Data Verify error!"},
      {"Yes of Yes/Abort", yesAbort, Click(QMessageBox::Yes), TPromptAnswer::Yes, "Chip is not blank!"},
      {"Abort of Yes/Abort", yesAbort, Click(QMessageBox::Abort), TPromptAnswer::Abort, "Chip is not blank!"},
      {"Escape on Yes/Abort goes on", yesAbort, Escape, TPromptAnswer::Yes, "Chip is not blank!"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    QString seen;
    AnswerNextBox(c.Answer, seen);
    EXPECT_EQ(c.Ask(), c.Expected);
    EXPECT_EQ(seen, QString(kApplicationTitle) + "|" + c.Text);
  }
}

TEST(MessageBoxPrompts, InformationAndWarningShowTheTextUnderTheProgramsTitleWithTheirIcon) {
  TMessageBoxPrompts prompts;
  struct TCase {
    std::function<void(const std::string&)> Show;
    QMessageBox::Icon Icon;
  };
  const TCase cases[] = {
      {[&](const std::string& text) { prompts.ShowInfo(text); }, QMessageBox::Information},
      {[&](const std::string& text) { prompts.ShowWarning(text); }, QMessageBox::Warning},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Icon);
    QString seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerNextBox(
        [&icon](QMessageBox& box) {
          icon = box.icon();
          box.button(QMessageBox::Ok)->click();
        },
        seen);
    c.Show("Please select chip type first!");
    EXPECT_EQ(seen, QString(kApplicationTitle) + "|Please select chip type first!");
    EXPECT_EQ(icon, c.Icon);
  }
}

// A question that goes without a button pressed, as a stop request closes
// it, answers Abort: the verification box too, whose Escape goes on.
TEST(MessageBoxPrompts, AQuestionClosedWithoutAButtonAnswersAbort) {
  TMessageBoxPrompts prompts;
  const auto reject = [](QMessageBox& box) { box.reject(); };
  QString seen;
  AnswerNextBox(reject, seen);
  EXPECT_EQ(prompts.AskOkAbort("Line 3 Data Error : 2."), TPromptAnswer::Abort);
  AnswerNextBox(reject, seen);
  EXPECT_EQ(prompts.AskYesAbort("Chip 1: Address=0x00000010,Buffer=0x55,Chip=0xAA"), TPromptAnswer::Abort);
  EXPECT_EQ(seen, QString(kApplicationTitle) + "|Chip 1: Address=0x00000010,Buffer=0x55,Chip=0xAA");
}

}  // namespace
