#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <functional>

#include "data/program_state.h"
#include "modal_closer.h"
#include "modal_watch.h"
#include "operator_fakes.h"
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

class TRecordedMemo final : public ILogMemo {
 public:
  std::vector<std::string> Lines;
  void AddLine(const std::string& line) override { Lines.push_back(line); }
};

// An unattended run must not stop at a box: the texts are logged, and a
// question takes the answer that stops what asked it.
TEST(MessageBoxPrompts, UnattendedEveryTextGoesToTheLogAndQuestionsAnswerAbort) {
  ResetProgramState();
  TRecordedMemo memo;
  SessionTexts.InfoMemoRef = &memo;
  SessionState.CmdLineMode = 1;
  TFixedClock clock{{2024, 5, 6, 9, 5, 7}};
  TMessageBoxPrompts prompts;
  TModalWatch watch;
  prompts.ShowInfo("Error Chip or Driver not exists!");
  EXPECT_EQ(prompts.AskOkAbort("Line 3 Data Error : 2."), TPromptAnswer::Abort);
  EXPECT_EQ(prompts.AskYesAbort("Chip is not blank!"), TPromptAnswer::Abort);
  EXPECT_EQ(watch.Opened, 0);
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> 09:05:07 Error Chip or Driver not exists!",
                                                   "> 09:05:07 Line 3 Data Error : 2.",
                                                   "> 09:05:07 Chip is not blank!"}));
  ResetProgramState();
}

}  // namespace
