// When the prompts reach the operator and when nobody is there: an
// unattended ("OFF") run and a TSilencedPrompts in scope put every box into
// the log and answer every question Abort; a project on the command line
// without "OFF" silences nothing by itself.
#include "data/operator_io.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "window_state_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class TAnsweringBoxes final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override { Shown.push_back(text); }
  void ShowWarning(const std::string& text) override { Shown.push_back(text); }
  TPromptAnswer AskOkAbort(const std::string& text) override {
    Shown.push_back(text);
    return TPromptAnswer::Ok;
  }
  TPromptAnswer AskYesAbort(const std::string& text) override {
    Shown.push_back(text);
    return TPromptAnswer::Yes;
  }
  Lines Shown;
};

struct TCase {
  const char* What;
  int CmdLineMode, AutoCloseMode;
  bool Silencer;
  bool Silenced;
};

TEST(OperatorIo, BoxesAreSilencedOnlyWhereNobodyIsThere) {
  const TCase cases[] = {
      {"operator", 0, 0, false, false},
      {"project on the command line", 1, 0, false, false},
      {"unattended run", 1, 1, false, true},
      {"the command line's open", 1, 0, true, true},
      {"a stop request in the operator's window", 0, 0, true, true},
  };
  const Lines texts = {"Please select chip type first!", "请先选择芯片并加载数据文件！", "Line 3 Data Error : 2.",
                       "Chip 1: Address=0x00000010,Buffer=0x55,Chip=0xAA"};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    ResetProgramState();
    TMemoLines memo;
    SessionTexts.InfoMemoRef = &memo;
    TStoppedClock clock;
    SetClock(&clock);
    TAnsweringBoxes boxes;
    SetPrompts(&boxes);
    SessionState.CmdLineMode = static_cast<std::uint8_t>(c.CmdLineMode);
    SessionState.AutoCloseMode = static_cast<std::uint8_t>(c.AutoCloseMode);
    std::optional<TSilencedPrompts> silencer;
    if (c.Silencer) silencer.emplace();

    EXPECT_EQ(PromptsSilenced(), c.Silenced);
    Prompts().ShowInfo(texts[0]);
    Prompts().ShowWarning(texts[1]);
    const TPromptAnswer ok = Prompts().AskOkAbort(texts[2]);
    const TPromptAnswer yes = Prompts().AskYesAbort(texts[3]);
    LogAndShow("Project File Open Success!");

    EXPECT_EQ(ok, c.Silenced ? TPromptAnswer::Abort : TPromptAnswer::Ok);
    EXPECT_EQ(yes, c.Silenced ? TPromptAnswer::Abort : TPromptAnswer::Yes);
    Lines shown = texts;
    shown.push_back("Project File Open Success!");
    Lines logged;
    if (c.Silenced) {
      for (const std::string& text : shown) logged.push_back("> 10:21:07 " + text);
    } else {
      logged.push_back("> 10:21:07 Project File Open Success!");  // logged and shown
    }
    EXPECT_EQ(boxes.Shown, c.Silenced ? Lines{} : shown);
    EXPECT_EQ(memo.Lines, logged);

    silencer.reset();
    SetPrompts(nullptr);
    SetClock(nullptr);
  }
  ResetProgramState();
  EXPECT_FALSE(PromptsSilenced());
}

}  // namespace
