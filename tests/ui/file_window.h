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

#include "chips/chip_choice.h"
#include "object_test_support.h"
#include "started_window.h"
#include "ui/offset_address_form.h"
#include "ui/radio_group.h"

// Rows of the part lists that the file tests choose.
inline constexpr std::size_t kIndie = 0;  // IND83204xx: 64 KB main flash at 0, no EEP, a flash driver
inline constexpr std::size_t kAu301 = 0;  // AU301LDF51xx: 32 KB at 0x03000000, 8 KB EEP at 0x03026000

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

  void StartAgain() {
    StartedWindowTest::StartAgain();
    fileDialogs = 0;
    offeredOffsets.clear();
  }

  int fileDialogs = 0;
  QStringList offeredOffsets;
};
