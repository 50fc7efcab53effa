// A started window for the file and project commands: the file dialogs and
// the binary-offset dialog answered through the window's seams, commands
// run as the operator runs them, and a picture of every control's state.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <map>

#include <QTest>
#include <memory>
#include <vector>

#include "chips/chip_choice.h"
#include "link/operation_starters.h"
#include "object_test_support.h"
#include "sim_pty.h"
#include "started_window.h"
#include "ui/offset_address_form.h"
#include "ui/radio_group.h"

// Rows of the part lists that the file tests choose.
inline constexpr std::size_t kIndie = 0;  // IND83204xx: 64 KB main flash at 0, no EEP, a flash driver
inline constexpr std::size_t kAu301 = 0;  // AU301LDF51xx: 32 KB at 0x03000000, 8 KB EEP at 0x03026000

// The log without programmer 1's own lines.
inline QStringList WindowLines(const QStringList& memo) {
  QStringList lines;
  for (const QString& line : memo)
    if (!line.contains(" C1 : ")) lines << line;
  return lines;
}

inline QStringList AllCells(const TMemoryViewModel& model) {
  QStringList cells;
  for (int row = 0; row < model.rowCount(); ++row)
    for (int column = 0; column < model.columnCount(); ++column) cells << model.data(model.index(row, column)).toString();
  return cells;
}

// What a load or a project may change and the window shows: after one that
// is refused every part of it is as it was.
struct TShownJob {
  Bytes Main, Eep, Option, Aux;
  std::vector<std::uint32_t> Numbers;  // the object state and the chip's areas
  std::string ChipText2;
  QStringList Panels, MainCells, EepCells;
  std::map<QString, QString> Controls;
  bool operator==(const TShownJob&) const = default;
};

class FileWindowTest : public StartedWindowTest {
 protected:
  std::string Path(const std::string& name) const { return Folder() + name; }

  // The part becomes the selected chip as the chip dialog's OK makes it,
  // and the window fits itself to it; the boxes so far are forgotten.
  void Choose(std::uint8_t vendor, std::size_t row) {
    ASSERT_TRUE(AcceptChipChoice(vendor, row));
    window->ChangeChip();
    prompts.Shown.clear();
  }

  // The next file dialogs confirm path, with filter entry filter chosen.
  void Answer(const std::string& path, int filter = -1) {
    window->ExecFileDialog = [this, path, filter](QFileDialog& dialog) {
      ++fileDialogs;
      if (filter >= 0) dialog.selectNameFilter(dialog.nameFilters().at(filter));
      dialog.selectFile(QString::fromStdString(path));
      return true;
    };
  }
  // Runs the command with the file dialog confirming path.
  void RunWith(const char* control, const std::string& path, int filter = -1) {
    Answer(path, filter);
    Trigger(control);
  }

  // The binary-offset dialog is shown and then closed with its close box
  // (typed nullptr) or with typed confirmed by OK.
  void OffsetAnswer(const char* typed) {
    window->ExecOffsetDialog = [this, typed](QDialog& dialog) {
      auto& form = dynamic_cast<TFormOfsAddr&>(dialog);
      form.show();
      offeredOffsets.push_back(form.EditOfsAddr->text());
      if (typed) {
        form.EditOfsAddr->setText(QString::fromLatin1(typed));
        form.BitBtnOK->click();
      } else {
        form.reject();
      }
    };
  }

  bool Logged(const std::string& line) const {
    return Memo().contains(QString::fromStdString("> 09:05:07 " + line));
  }
  // The panel's whole text, also where the panel shows it elided.
  QString Panel(int panel) const { return window->StatusPanels[static_cast<std::size_t>(panel)]->FullText(); }

  // Every check box, spin edit, edit and radio group by name: its value,
  // whether it is shown and whether it may be used; the tabs and the menu
  // items that are shown. What an operator sees of the window's settings.
  std::map<QString, QString> Controls() const {
    std::map<QString, QString> shown;
    // The window's own controls, not those inside its dialogs or Qt's parts of a control.
    const auto own = [this](const QWidget* w) {
      return w->window() == window.get() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_");
    };
    const auto state = [](const QWidget* w, const QString& value) {
      return value + (w->isHidden() ? " hidden" : "") + (w->isEnabled() ? "" : " disabled");
    };
    for (const QCheckBox* box : window->findChildren<QCheckBox*>())
      if (own(box)) shown[box->objectName()] = state(box, box->isChecked() ? "ticked" : "-");
    for (const QSpinBox* spin : window->findChildren<QSpinBox*>())
      if (own(spin)) shown[spin->objectName()] = state(spin, QString::number(spin->value()));
    for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
      if (own(edit)) shown[edit->objectName()] = state(edit, edit->text());
    // A radio group is a group box of its own kind, without a meta-object of its own.
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
      if (const auto* group = dynamic_cast<const TRadioGroup*>(box); group && own(group))
        shown[group->objectName()] = state(group, QString::number(group->ItemIndex()));
    for (int tab = 0; tab < window->ViewPageCtrl->count(); ++tab)
      shown["tab " + QString::number(tab)] = window->ViewPageCtrl->isTabVisible(tab) ? "shown" : "hidden";
    for (const QAction* action : window->findChildren<QAction*>())
      if (!action->objectName().isEmpty() && !action->objectName().startsWith("qt_")) shown[action->objectName()] = action->isVisible() ? "shown" : "hidden";
    return shown;
  }

  TShownJob ShownJob() {
    const TObjectState& o = ObjectState;
    const TSelectedChip& c = SelectedChip;
    const auto bytes = [](const auto& image) { return Bytes(std::begin(image), std::end(image)); };
    return {bytes(MemoryImages.MainFlashImage),
            bytes(MemoryImages.EepImage),
            bytes(MemoryImages.OptionImage),
            bytes(MemoryImages.AuxAreaImage),
            {o.ObjectLoaded, o.ChipSelected, o.ObjectStart, o.ObjectEnd, o.FileChecksum, o.EepFileSum, o.MainSum,
             o.EepSum, o.MainSum16, o.MainSumLow, o.EepSum16, o.EepSumLow, o.OptionSum, o.OptionSum16, o.ChipChecksum,
             o.ObjectCrc32, o.MainDataLength, o.EepDataLength, o.LoadedDataEnd, o.OptionLoaded, c.ChipFamilyIndex,
             c.ChipCode, c.MainStart, c.MainEnd, c.MainSize, c.EepStart, c.EepEnd, c.EepSize, c.OptionStart,
             c.OptionEnd, c.AuxStart, c.AuxEnd},
            SessionTexts.ChipText2,
            {Panel(0), Panel(1), Panel(2)},
            AllCells(HexCells()),
            AllCells(EepCells()),
            Controls()};
  }

  void StartAgain() {
    StartedWindowTest::StartAgain();
    fileDialogs = 0;
    offeredOffsets.clear();
  }

  // A fresh window with one simulated unit as programmer 1, linked by
  // "&Connect Dev.".
  void LinkSimulatedUnit() {
    units = std::make_unique<sim::UnitGroup>(1);
    units->WriteConfigIni(Folder());
    StartAgain();
    window->BitBtnFindDev->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return ProgrammerState.DeviceLinked[0] && SessionState.FoundDeviceCount == 1; },
                                kUnitWaitMs));
  }
  // Programmer 1 starts the download of the job with its EEP data, as the
  // command-line download starts it once its project is open.
  static void StartDownloadOnProgrammer1() {
    ProgramSettings.EepProgram = 1;
    StartDownloadChipData(0);
  }
  // Until programmer 1 has finished its download and the unit has answered
  // the reset packet that follows it (which the window passes over).
  bool WaitForDownloadEnd() {
    return QTest::qWaitFor(
        [this] {
          const std::vector<sim::PacketRecord> got = (*units)[0].Received();
          return !ProgrammerState.ChannelBusy[0] && !got.empty() && got.back().command == sim::kCmdReset &&
                 (*units)[0].Pending() == 0;
        },
        kUnitWaitMs);
  }
  // Once programmer 1's download has ended: the unit holds the main data, the
  // EEP data and the option bytes (in the chip-data block) of job.
  void ExpectUnitWasSent(const TShownJob& job) {
    ASSERT_TRUE(WaitForDownloadEnd());
    const sim::JobData sent = (*units)[0].Inspect([](const sim::Unit& u) { return u.job; });
    const std::size_t main = ObjectState.MainDataLength;
    const std::size_t eep = SelectedChip.EepSize;
    ASSERT_GE(sent.main.size(), main);
    EXPECT_TRUE(std::ranges::equal(std::span(sent.main).first(main), std::span(job.Main).first(main)));
    ASSERT_GE(sent.eep.size(), eep);
    EXPECT_TRUE(std::ranges::equal(std::span(sent.eep).first(eep), std::span(job.Eep).first(eep)));
    ASSERT_EQ(sent.chipData.size(), 512u);
    EXPECT_TRUE(std::ranges::equal(std::span(sent.chipData).subspan(112, 128), std::span(job.Option).first(128)));
  }

  static constexpr int kUnitWaitMs = 60000;  // a limit for slow sanitizer runs, not a measurement
  int fileDialogs = 0;
  QStringList offeredOffsets;
  std::unique_ptr<sim::UnitGroup> units;  // go after the window, which TearDown closes first
};
