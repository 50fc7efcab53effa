// Window tests in a program folder of their own: a clean program state,
// scripted prompts, a clock that stands still, and a system port list that
// is an empty tree inside the folder, so nothing of the machine's serial
// ports is touched. StartedWindowTest has the window shown already (no
// serial ports, no firmware file), and a chip whose images hold a pattern.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "operator_fakes.h"
#include "pattern_chip.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(folder_.isValid());
  }
  void TearDown() override {
    window.reset();
    ResetProgramState();
  }

  std::string Folder() const { return folder_.path().toStdString() + "/"; }
  // Start-up in the folder with these command-line arguments.
  TWindowStartup Startup(std::vector<std::string> arguments = {}) const {
    return TWindowStartup{Folder(), std::move(arguments), {Folder() + "sys", Folder() + "dev"}};
  }
  // The window made and shown: its show handler runs the start-up.
  void StartWindow(std::vector<std::string> arguments = {}) {
    window = std::make_unique<TGenMFrmARM>(Startup(std::move(arguments)));
    window->show();
  }

  QStringList Memo() const { return window->InfoMemo->toPlainText().split('\n'); }
  // The messages of programmer ch, without time and number.
  std::vector<std::string> LinesOf(int ch) const {
    const std::string tag = " C" + std::to_string(ch + 1) + " : ";
    std::vector<std::string> lines;
    for (const QString& text : Memo()) {
      const std::string line = text.toStdString();
      if (const auto at = line.find(tag); at != std::string::npos) lines.push_back(line.substr(at + tag.size()));
    }
    return lines;
  }
  // The control's command, as the operator's click or menu choice.
  void Trigger(const char* control) {
    if (auto* action = window->findChild<QAction*>(control)) {
      action->trigger();
    } else {
      window->findChild<QAbstractButton*>(control)->click();
    }
  }

  QTemporaryDir folder_;
  TFakePrompts prompts;
  TFixedClock clock{{2024, 5, 6, 9, 5, 7}};
  std::unique_ptr<TGenMFrmARM> window;
};

class StartedWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (HasFatalFailure()) return;
    StartWindow();
    // The start-up search would clear the linked and busy flags that the
    // tests set by hand, at whatever moment its first tick comes.
    window->Timer2->stop();
    prompts.Shown.clear();  // the missing firmware file
  }

  // A fresh window, as at the start of a test.
  void StartAgain() {
    TearDown();
    SetUp();
  }

  // The pattern chip with data up to 0x1300, blank above.
  static void SelectPatternChip() { ::SelectPatternChip(0x1300); }

  static QString Cell(const TMemoryViewModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
  }
  TMemoryViewModel& HexCells() { return window->HexViewerModel(); }
  TMemoryViewModel& EepCells() { return window->EepViewerModel(); }
};
