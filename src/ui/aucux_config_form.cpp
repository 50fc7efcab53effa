#include "ui/aucux_config_form.h"

#include <QCheckBox>
#include <QPushButton>

#include "chips/aucux_config_values.h"
#include "text/option_dialog_layouts.h"

namespace {

constexpr int kWidth = 340;
constexpr int kBoxLeft = 24;
constexpr int kFirstBox = 16;
constexpr int kBoxPitch = 28;

}  // namespace

TAUCUxCfgForm::TAUCUxCfgForm(QWidget* parent) : TOptionDialog(parent, "TAUCUxCfgForm", kAUCUxCaption, kWidth, 270) {
  QCheckBox* boxes[std::size(kAUCUxBoxes)] = {};
  for (std::size_t i = 0; i < std::size(kAUCUxBoxes); ++i) {
    const int top = kFirstBox + kBoxPitch * static_cast<int>(i);
    boxes[i] = Place<QCheckBox>(this, kAUCUxBoxes[i].Name, kBoxLeft, top, 290, 22);
    boxes[i]->setText(QString::fromUtf8(kAUCUxBoxes[i].Caption));
    boxes[i]->setEnabled(kAUCUxBoxes[i].Enabled);
  }
  ChkBoxLFC = boxes[0];
  ChkBoxDnURT = {boxes[1], boxes[2], boxes[3]};
  ChkBoxDnJTAG = boxes[4];
  ChkBoxDnBOT = boxes[5];
  ChkBoxDnRGN1 = boxes[6];
  BitBtn2 = PlaceOk("BitBtn2", kWidth / 2 - kButtonWidth - 20, 222, [this] { BitBtn2Click(); });
  BitBtn1 = PlaceCancel("BitBtn1", kWidth / 2 + 20, 222);
}

TAUCUxConfigValues TAUCUxCfgForm::Values() const {
  TAUCUxConfigValues values;
  values.Lifecycle = ChkBoxLFC->isChecked();
  for (std::size_t i = 0; i < ChkBoxDnURT.size(); ++i) values.DisableUart[i] = ChkBoxDnURT[i]->isChecked();
  values.DisableJtag = ChkBoxDnJTAG->isChecked();
  values.DisableUartBoot = ChkBoxDnBOT->isChecked();
  values.LockInfoRegion1 = ChkBoxDnRGN1->isChecked();
  return values;
}

void TAUCUxCfgForm::ShowValues(const TAUCUxConfigValues& values) {
  ChkBoxLFC->setChecked(values.Lifecycle);
  for (std::size_t i = 0; i < ChkBoxDnURT.size(); ++i) ChkBoxDnURT[i]->setChecked(values.DisableUart[i]);
  ChkBoxDnJTAG->setChecked(values.DisableJtag);
  ChkBoxDnBOT->setChecked(values.DisableUartBoot);
  ChkBoxDnRGN1->setChecked(values.LockInfoRegion1);
}

void TAUCUxCfgForm::FormShow() { ShowValues(AUCUxConfigValuesOfImage()); }

void TAUCUxCfgForm::BitBtn2Click() { StoreAUCUxConfigValues(Values()); }
