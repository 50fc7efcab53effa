// A main window after start-up in a folder of its own (no serial ports, no
// firmware file), with scripted prompts and a clock that stands still; and
// a chip whose images hold a pattern.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>

#include "data/program_state.h"
#include "operator_fakes.h"
#include "pattern_chip.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"

class StartedWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(folder_.isValid());
    window = std::make_unique<TGenMFrmARM>(TWindowStartup{Folder(), {}, {Folder() + "sys", Folder() + "dev"}});
    window->show();
    // The start-up search would clear the linked and busy flags that the
    // tests set by hand, at whatever moment its first tick comes.
    window->Timer2->stop();
    prompts.Shown.clear();  // the missing firmware file
  }
  void TearDown() override {
    window.reset();
    ResetProgramState();
  }

  // A fresh window, as at the start of a test.
  void StartAgain() {
    TearDown();
    SetUp();
  }

  std::string Folder() const { return folder_.path().toStdString() + "/"; }

  // The pattern chip with data up to 0x1300, blank above.
  static void SelectPatternChip() { ::SelectPatternChip(0x1300); }

  static QString Cell(const TMemoryViewModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
  }
  TMemoryViewModel& HexCells() { return window->HexViewerModel(); }
  TMemoryViewModel& EepCells() { return window->EepViewerModel(); }

  QTemporaryDir folder_;
  TFakePrompts prompts;
  TFixedClock clock{{2024, 5, 6, 9, 5, 7}};
  std::unique_ptr<TGenMFrmARM> window;
};
