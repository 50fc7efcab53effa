#include "ui/aucux_config_form.h"

#include <QCheckBox>
#include <QPushButton>

#include "chips/aucux_config_values.h"

namespace {

constexpr const char* kCaption = "Config Setting ";
constexpr int kWidth = 340;
constexpr int kBoxLeft = 24;
constexpr int kFirstBox = 16;
constexpr int kBoxPitch = 28;

struct TBox {
  const char* Name;
  const char* Caption;
  bool Enabled;  // FUNC JTAG and the Info_rgn1 lock are only shown
};

// In the order of TAUCUxCfgForm's members.
constexpr TBox kBoxes[] = {
    {"ChkBoxLFC", "启用生命周期权限管理", true}, {"ChkBoxDnURT0", "禁用UART0", true},
    {"ChkBoxDnURT1", "禁用UART1", true},         {"ChkBoxDnURT2", "禁用UART2", true},
    {"ChkBoxDnJTAG", "禁用FUNC JTAG", false},     {"ChkBoxDnBOT", "禁用UART0 BOOT", true},
    {"ChkBoxDnRGN1", "锁定Info_rgn1", false},
};

}  // namespace

TAUCUxCfgForm::TAUCUxCfgForm(QWidget* parent) : TOptionDialog(parent, "TAUCUxCfgForm", kCaption, kWidth, 270) {
  QCheckBox* boxes[std::size(kBoxes)] = {};
  for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
    boxes[i] = Place<QCheckBox>(this, kBoxes[i].Name, kBoxLeft, kFirstBox + kBoxPitch * static_cast<int>(i), 290, 22);
    boxes[i]->setText(QString::fromUtf8(kBoxes[i].Caption));
    boxes[i]->setEnabled(kBoxes[i].Enabled);
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
