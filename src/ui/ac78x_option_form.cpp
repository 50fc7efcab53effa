#include "ui/ac78x_option_form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <span>

#include "chips/ac78x_option_values.h"
#include "text/option_dialog_layouts.h"
#include "text/option_dialog_texts.h"

namespace {

constexpr const char* kWordEditNames[] = {"EditERP0", "EditERP1", "EditERP2", "EditERP3", "EditUSER0", "EditUser1"};
constexpr const char* kErasedWord = "0xFFFF";

constexpr int kWidth = 490;
constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 170;
constexpr int kFieldLeft = 190;
constexpr int kFirstRow = 18;
constexpr int kRowPitch = 32;
constexpr int kFieldHeight = 22;

int RowTop(int row) { return kFirstRow + kRowPitch * row; }

QComboBox* PlaceList(QWidget* parent, const char* name, int row, std::span<const char* const> items) {
  auto* list = Place<QComboBox>(parent, name, kFieldLeft, RowTop(row), 210, kFieldHeight);
  for (const char* item : items) list->addItem(QString::fromUtf8(item));
  return list;
}

QLabel* PlacePanel(QWidget* parent, const char* name, int row, const char* text) {
  auto* panel = Place<QLabel>(parent, name, kFieldLeft + 220, RowTop(row), 66, kFieldHeight);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setText(text);
  return panel;
}

}  // namespace

TAC78xOptBForm::TAC78xOptBForm(QWidget* parent) : TOptionDialog(parent, "TAC78xOptBForm", kAC78xCaption, kWidth, 320) {
  PlaceLabel(this, QString::fromUtf8(kAC78xReadProtectionLabel), kLabelLeft, RowTop(0) + 2, kLabelWidth);
  ComBoxROP = PlaceList(this, "ComBoxROP", 0, kAC78xReadProtectionItems);
  PanelROP = PlacePanel(this, "PanelROP", 0, kAC78xReadProtectionWords[0]);
  PlaceLabel(this, QString::fromUtf8(kAC78xWatchdogLabel), kLabelLeft, RowTop(1) + 2, kLabelWidth);
  ComBoxWDT = PlaceList(this, "ComBoxWDT", 1, kAC78xWatchdogItems);
  PanelWDT = PlacePanel(this, "PanelWDT", 1, kAC78xWatchdogWords[0]);

  QLineEdit* words[6] = {};
  for (int i = 0; i < 6; ++i) {
    PlaceLabel(this, QString::fromUtf8(kAC78xWordLabels[i]), kLabelLeft, RowTop(2 + i) + 2, kLabelWidth);
    words[i] = Place<QLineEdit>(this, kWordEditNames[i], kFieldLeft, RowTop(2 + i), 100, kFieldHeight);
    words[i]->setText(kErasedWord);
  }
  std::copy(words, words + 4, EditERP.begin());
  EditUSER0 = words[4];
  EditUser1 = words[5];

  BitBtnOK = PlaceOk("BitBtnOK", kWidth / 2 - kButtonWidth - 20, 272, [this] { BitBtnOKClick(); });
  BitBtnNG = PlaceCancel("BitBtnNG", kWidth / 2 + 20, 272);
  connect(ComBoxROP, &QComboBox::currentIndexChanged, this, [this] { ComBoxROPChange(); });
  connect(ComBoxWDT, &QComboBox::currentIndexChanged, this, [this] { ComBoxWDTChange(); });
}

TAC78xOptionValues TAC78xOptBForm::Values() const {
  TAC78xOptionValues values;
  values.ReadProtection = ComBoxROP->currentIndex();
  values.Watchdog = ComBoxWDT->currentIndex();
  for (std::size_t i = 0; i < EditERP.size(); ++i) values.WriteProtection[i] = EditERP[i]->text().toStdString();
  values.UserData = {EditUSER0->text().toStdString(), EditUser1->text().toStdString()};
  return values;
}

void TAC78xOptBForm::ShowValues(const TAC78xOptionValues& values) {
  ComBoxROP->setCurrentIndex(values.ReadProtection);
  ComBoxWDT->setCurrentIndex(values.Watchdog);
  ComBoxROPChange();
  ComBoxWDTChange();
  for (std::size_t i = 0; i < EditERP.size(); ++i)
    EditERP[i]->setText(QString::fromStdString(values.WriteProtection[i]));
  EditUSER0->setText(QString::fromStdString(values.UserData[0]));
  EditUser1->setText(QString::fromStdString(values.UserData[1]));
}

// The operator sees what "Prog. Option Byte" would program.
void TAC78xOptBForm::FormShow() { ShowValues(AC78xOptionValuesOfImage()); }

void TAC78xOptBForm::BitBtnOKClick() { StoreAC78xOptionValues(Values()); }

void TAC78xOptBForm::ComBoxROPChange() {
  PanelROP->setText(kAC78xReadProtectionWords[ComBoxROP->currentIndex() == 0 ? 0 : 1]);
}

void TAC78xOptBForm::ComBoxWDTChange() {
  PanelWDT->setText(kAC78xWatchdogWords[ComBoxWDT->currentIndex() == 0 ? 0 : 1]);
}
