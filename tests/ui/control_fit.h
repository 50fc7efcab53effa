// Whether the window and its dialogs show their texts whole, in the build's
// language and the fonts installed: each control is measured in its own font
// (Qt's size hint of the control with that text) against its own size.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "chips/chip_choice.h"
#include "chips/part_lists.h"
#include "text/format_text.h"
#include "ui/ac78x_option_form.h"
#include "ui/about_form.h"
#include "ui/aucux_config_form.h"
#include "ui/chip_select_form.h"
#include "ui/config_sn_form.h"
#include "ui/lcmpx_option_form.h"
#include "ui/log_config_dialog.h"
#include "ui/main_window.h"
#include "ui/offset_address_form.h"
#include "ui/set_address_form.h"
#include "ui/spd117x_config_form.h"

// The controls of window (not those of its own dialogs) whose text does not
// fit: labels, check boxes, drop-down lists (every item), lists (every item)
// and titled groups (the title and the buttons laid out in them), each as
// "name: text".
inline std::vector<std::string> CutTexts(const QWidget& window) {
  std::vector<std::string> cut;
  const auto check = [&](const QWidget& control, const QString& text, int needs, int has) {
    if (needs <= has) return;
    const QString name = control.objectName().isEmpty() ? control.metaObject()->className() : control.objectName();
    cut.push_back(QString("%1: \"%2\" needs %3, has %4").arg(name, text).arg(needs).arg(has).toStdString());
  };
  const auto own = [&window](const QWidget* control) { return control->window() == &window; };
  // A button in a layout gets the room its group's layout gives it: the group is measured.
  const auto laidOut = [](const QWidget* control) {
    return control->parentWidget() && control->parentWidget()->layout() &&
           control->parentWidget()->layout()->indexOf(control) >= 0;
  };
  for (const QLabel* label : window.findChildren<QLabel*>())
    if (own(label) && !label->text().isEmpty() && !label->wordWrap())
      check(*label, label->text(), label->sizeHint().width(), label->width());
  for (const QAbstractButton* box : window.findChildren<QAbstractButton*>())
    if (own(box) && !laidOut(box) && (qobject_cast<const QCheckBox*>(box) || qobject_cast<const QRadioButton*>(box)))
      check(*box, box->text(), box->sizeHint().width(), box->width());
  // A drop-down list's size hint is that of its longest item.
  for (const QComboBox* list : window.findChildren<QComboBox*>())
    if (own(list) && list->count() > 0) check(*list, list->itemText(0) + " ...", list->sizeHint().width(), list->width());
  for (const QListWidget* list : window.findChildren<QListWidget*>())
    if (own(list) && list->count() > 0)
      check(*list, list->item(0)->text() + " ...", list->sizeHintForColumn(0), list->viewport()->width());
  // The width only: a group a few pixels lower than it would like still shows its lines.
  for (const QGroupBox* group : window.findChildren<QGroupBox*>())
    if (own(group)) check(*group, group->title(), group->minimumSizeHint().width(), group->width());
  return cut;
}

// The checksum panels of the status bar with sums of every hex digit: the
// texts that do not fit, each measured in the panel's font.
inline std::vector<std::string> CutChecksumPanels(TGenMFrmARM& window) {
  std::vector<std::string> cut;
  for (std::uint32_t digit = 0; digit < 16; ++digit) {
    for (const std::uint32_t sum : {digit * 0x11111111u, 0x0027EED0u}) {
      window.SetStatusPanelText(0, FormatText(TTextId::FileChecksumPanelFormat, sum));
      window.SetStatusPanelText(1, FormatText(TTextId::ChipChecksumPanelFormat, sum));
      for (const QLabel* panel : {window.StatusPanels[0], window.StatusPanels[1]}) {
        const QFontMetrics metrics = panel->fontMetrics();
        const int needs = metrics.horizontalAdvance(panel->text());
        // The text's room: inside the frame and the margins, less the indent
        // of half an "x" that a framed label keeps (QLabel::indent).
        const int indent = panel->indent() >= 0 ? panel->indent() : metrics.horizontalAdvance(QChar('x')) / 2;
        const int has = panel->contentsRect().width() - 2 * panel->margin() - indent;
        if (needs > has)
          cut.push_back(panel->text().toStdString() + " needs " + std::to_string(needs) + ", has " + std::to_string(has));
      }
    }
  }
  return cut;
}

// Every text of the window fits: with each part of every vendor chosen (the
// chip's sizes show in a label), and in every dialog as it opens.
inline void ExpectEveryTextFits(TGenMFrmARM& window) {
  EXPECT_EQ(CutTexts(window), std::vector<std::string>{});
  for (std::uint8_t vendor = 0; vendor < kVendorCount; ++vendor) {
    for (std::size_t row = 0; row < PartListFor(vendor).Names.size(); ++row) {
      ASSERT_TRUE(AcceptChipChoice(vendor, row));
      window.ChangeChip();
      EXPECT_EQ(CutTexts(window), std::vector<std::string>{}) << PartListFor(vendor).Names[row];
    }
  }
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<TAC78xOptBForm>(&window));
  dialogs.push_back(std::make_unique<TAUCUxCfgForm>(&window));
  dialogs.push_back(std::make_unique<TCfgLCMPxOptForm>(&window));
  dialogs.push_back(std::make_unique<TCfgSPD117xFRM>(&window));
  dialogs.push_back(std::make_unique<TConfigSNForm>(&window));
  dialogs.push_back(std::make_unique<TLogCfgForm>(&window));
  dialogs.push_back(std::make_unique<TAboutForm>(&window));
  dialogs.push_back(std::make_unique<TSetAddressForm>(&window));
  dialogs.push_back(std::make_unique<TFormOfsAddr>(&window));
  for (const std::unique_ptr<QDialog>& dialog : dialogs) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    dialog->show();  // the show handlers set their captions
    QCoreApplication::processEvents();
    EXPECT_EQ(CutTexts(*dialog), std::vector<std::string>{});
    dialog->hide();
  }
  // The chip list of every vendor, though this build offers one.
  TChipSelForm chips(&window);
  chips.show();
  for (std::uint8_t vendor = 0; vendor < kVendorCount; ++vendor) {
    chips.FillChipList(vendor);
    EXPECT_EQ(CutTexts(chips), std::vector<std::string>{}) << PartListFor(vendor).VendorCaption;
  }
  chips.hide();
}
