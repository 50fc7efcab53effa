#include "ui/config_sn_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "data/operator_io.h"
#include "text/address_dialog_texts.h"
#include "text/format_text.h"
#include "text/option_dialog_texts.h"
#include "text/window_texts.h"
#include "ui/command_checks.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/radio_group.h"

namespace {

constexpr int kWidth = 420;
constexpr int kAddressMaxLength = 10;
constexpr int kDataMaxLength = 255;

// Letters turn to upper case as they are typed.
class TUpperCaseValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (QChar& c : input) c = c.toUpper();
    return Acceptable;
  }
};

// The items of a radio group named again, the choice kept.
void NameItems(TRadioGroup& group, std::span<const TTextId> items) {
  const int chosen = group.ItemIndex();
  group.SetItems(items);
  group.SetItemIndex(chosen);
}

}  // namespace

TConfigSNForm::TConfigSNForm(TGenMFrmARM* window)
    : TOptionDialog(window, "TConfigSNForm", kConstantFillCaption, kWidth, 250), window_(window) {
  RadioGrpSN = Place<TRadioGroup>(this, "RadioGrpSN", 10, 8, 190, 72);
  RadioGrpSN->SetItems(kSnAddressScopeItems);
  RadioGrpSN->SetItemIndex(0);
  RadioGroupFM = Place<TRadioGroup>(this, "RadioGroupFM", 210, 8, 200, 72);
  RadioGroupFM->SetItems(kSnDataFormatItems);
  RadioGroupFM->SetItemIndex(0);
  LabelAdrS = Place<QLabel>(this, "LabelAdrS", 10, 96, 150, 18);
  AddrEditSN = Place<QLineEdit>(this, "AddrEditSN", 160, 94, 120, 22);
  AddrEditSN->setMaxLength(kAddressMaxLength);
  LabelCntDT = Place<QLabel>(this, "LabelCntDT", 10, 128, 400, 18);
  EditDataSN = Place<QLineEdit>(this, "EditDataSN", 10, 148, 400, 22);
  EditDataSN->setMaxLength(kDataMaxLength);
  EditDataSN->setValidator(new TUpperCaseValidator(EditDataSN));
  BitBtnOK = PlaceOk("BitBtnOK", kWidth / 2 - kButtonWidth - 20, 196);
  BitBtnCancel = PlaceCancel("BitBtnCancel", kWidth / 2 + 20, 196);

  RadioGrpSN->SetOnClick([this](int) { RunGuarded([this] { RadioGrpSNClick(); }); });
  connect(BitBtnOK, &QPushButton::clicked, this, GuardedSlot(this, &TConfigSNForm::BitBtnOKClick));
}

TConstantInput TConfigSNForm::Input() const {
  return {AddrEditSN->text().toStdString(),
          RadioGrpSN->ItemIndex() == 1 ? TConstantArea::Eep : TConstantArea::Main,
          RadioGroupFM->ItemIndex() == 1 ? TConstantFormat::HexData : TConstantFormat::Ascii,
          EditDataSN->text().toStdString()};
}

void TConfigSNForm::FormShow() {
  setWindowTitle(kConstantFillCaption);
  RadioGrpSN->setTitle(Text(TTextId::ConstantScopeCaption));
  NameItems(*RadioGrpSN, kSnAddressScopeItems);
  NameItems(*RadioGroupFM, kSnDataFormatItems);
  LabelAdrS->setText(Text(TTextId::ConstantAddressLabel));
  LabelCntDT->setText(Text(TTextId::ConstantDataLabel));
  RadioGrpSN->SetItemIndex(0);
  ShowAreaStart(TConstantArea::Main);
}

void TConfigSNForm::ShowAreaStart(TConstantArea area) {
  AddrEditSN->setText(QString::fromStdString(FormatText(kDialogAddressFormat, ConstantAreaStart(area))));
}

void TConfigSNForm::RadioGrpSNClick() { ShowAreaStart(Input().Area); }

// Closes with OK once there is data, also when the store refused it or the
// address was no number (that error is shown first). While a programmer is
// busy nothing is written and the dialog stays open.
void TConfigSNForm::BitBtnOKClick() {
  if (RefusedWhileBusy(TTextId::JobChangeBusyText)) return;
  if (EditDataSN->text().isEmpty()) {
    Prompts().ShowInfo(Text(TTextId::ConstantDataPrompt));
    EditDataSN->setFocus();
    return;
  }
  RunGuarded([this] {
    if (RadioGrpSN->ItemIndex() == 1) {
      StoreConstantInEepImage();
    } else {
      StoreConstantInMainImage();
    }
  });
  accept();
}

void TConfigSNForm::StoreConstantInMainImage() { StoreConstantIn(TConstantArea::Main); }

void TConfigSNForm::StoreConstantInEepImage() { StoreConstantIn(TConstantArea::Eep); }

void TConfigSNForm::StoreConstantIn(TConstantArea area) {
  TConstantInput input = Input();
  input.Area = area;
  const std::optional<TConstantStored> stored = StoreConstant(input);
  if (!stored) {
    Prompts().ShowInfo(Text(TTextId::ConstantAddressOutOfChip));
    return;
  }
  if (area == TConstantArea::Main) {
    window_->UpdateHexViewerRows(stored->RefreshFrom, stored->RefreshTo);
  } else {
    window_->ComputeEepChecksum();
    window_->FillEepViewer();
  }
}
