#include "ui/lcmpx_option_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <span>

#include "chips/lcmpx_option_values.h"
#include "data/program_state.h"
#include "text/option_dialog_layouts.h"
#include "text/option_dialog_texts.h"

namespace {

constexpr const char* kRdpNameDigits = "0123456789AB";

constexpr int kWidth = 870;
constexpr int kFieldHeight = 22;

QComboBox* PlaceList(QWidget* parent, const QString& name, int x, int y, int width, std::span<const char* const> items,
                     int item) {
  auto* list = Place<QComboBox>(parent, name.toLatin1().constData(), x, y, width, kFieldHeight);
  for (const char* text : items) list->addItem(QString::fromUtf8(text));
  list->setCurrentIndex(item);
  return list;
}

}  // namespace

TCfgLCMPxOptForm::TCfgLCMPxOptForm(QWidget* parent)
    : TOptionDialog(parent, "TCfgLCMPxOptForm", kLCMPxCaption, kWidth, 470) {
  auto* user = Place<QGroupBox>(this, "GroupBoxUSER", 10, 8, 430, 154);
  user->setTitle(kLCMPxUserCaption);
  ComBoxBOT0 = PlaceList(user, "ComBoxBOT0", 12, 24, 406, kLCMPxBoot0Items, 1);
  ComBoxBOT1 = PlaceList(user, "ComBoxBOT1", 12, 56, 406, kLCMPxBoot1Items, 1);
  ComBoxBTSEL = PlaceList(user, "ComBoxBTSEL", 12, 88, 406, kLCMPxBootSelItems, 1);
  ComBoxWDG = PlaceList(user, "ComBoxWDG", 12, 120, 406, kLCMPxWatchdogItems, 1);

  auto* data = Place<QGroupBox>(this, "GroupBoxDATA", 450, 8, 410, 154);
  data->setTitle(kLCMPxDataCaption);
  for (int i = 0; i < 3; ++i) {
    PlaceLabel(data, QStringLiteral("DATA%1").arg(i), 16, 28 + 40 * i, 60);
    QSpinBox* spin = Place<QSpinBox>(data, QStringLiteral("SpinEditDAT%1").arg(i).toLatin1().constData(), 80,
                                     26 + 40 * i, 100, kFieldHeight);
    spin->setRange(0, 255);  // a data value is one byte
    spin->setValue(255);
    SpinEditDAT[static_cast<std::size_t>(i)] = spin;
  }

  PageControlWRP = Place<QTabWidget>(this, "PageControlWRP", 10, 170, 430, 250);
  for (int k = 0; k < 4; ++k) {
    auto* page = new QWidget;
    PageControlWRP->addTab(page, QString::fromUtf8(kLCMPxWriteProtectionTabFormat).arg(k));
    for (int b = 0; b < 8; ++b) {
      QCheckBox* box =
          Place<QCheckBox>(page, QStringLiteral("ChkBoxWRP%1%2").arg(k).arg(b).toLatin1().constData(), 12, 6 + 26 * b,
                           340, 22);
      box->setText(QString::fromUtf8(kLCMPxWriteProtectionBoxFormat).arg(k).arg(b));
      ChkBoxWRP[static_cast<std::size_t>(k)][static_cast<std::size_t>(b)] = box;
    }
  }

  auto* rdp = Place<QGroupBox>(this, "GroupBoxRDP", 450, 170, 410, 250);
  rdp->setTitle(kLCMPxReadProtectionCaption);
  // Each list wide enough for "0x00 ：启用保护".
  for (int j = 0; j < 12; ++j) {
    const int x = 8 + 200 * (j / 6);
    const int y = 26 + 36 * (j % 6);
    PlaceLabel(rdp, QString::fromUtf8(kLCMPxReadProtectionLabelFormat).arg(j, 2), x, y + 2, 72);
    ComBoxRDP[static_cast<std::size_t>(j)] =
        PlaceList(rdp, QStringLiteral("ComBoxRDP") + QChar(kRdpNameDigits[j]), x + 72, y, 126, kLCMPxReadProtectionItems, 0);
  }

  BitBtnOK = PlaceOk("BitBtnOK", kWidth / 2 - kButtonWidth - 20, 430, [this] { BitBtnOKClick(); });
  BitBtnNG = PlaceCancel("BitBtnNG", kWidth / 2 + 20, 430);
}

TLCMPxOptionValues TCfgLCMPxOptForm::Values() const {
  TLCMPxOptionValues values;
  values.NBoot0 = ComBoxBOT0->currentIndex() == 1;
  values.NBoot1 = ComBoxBOT1->currentIndex() == 1;
  values.BootSel = ComBoxBTSEL->currentIndex() == 1;
  values.WatchdogSoftware = ComBoxWDG->currentIndex() == 1;
  for (std::size_t i = 0; i < SpinEditDAT.size(); ++i) values.Data[i] = SpinEditDAT[i]->value();
  for (std::size_t k = 0; k < ChkBoxWRP.size(); ++k)
    for (std::size_t b = 0; b < 8; ++b) values.WriteProtect[k][b] = ChkBoxWRP[k][b]->isChecked();
  for (std::size_t j = 0; j < ComBoxRDP.size(); ++j) values.ReadProtect[j] = ComBoxRDP[j]->currentIndex() == 1;
  return values;
}

void TCfgLCMPxOptForm::ShowValues(const TLCMPxOptionValues& values) {
  ComBoxBOT0->setCurrentIndex(values.NBoot0 ? 1 : 0);
  ComBoxBOT1->setCurrentIndex(values.NBoot1 ? 1 : 0);
  ComBoxBTSEL->setCurrentIndex(values.BootSel ? 1 : 0);
  ComBoxWDG->setCurrentIndex(values.WatchdogSoftware ? 1 : 0);
  for (std::size_t i = 0; i < SpinEditDAT.size(); ++i) SpinEditDAT[i]->setValue(values.Data[i]);
  for (std::size_t k = 0; k < ChkBoxWRP.size(); ++k)
    for (std::size_t b = 0; b < 8; ++b) ChkBoxWRP[k][b]->setChecked(values.WriteProtect[k][b]);
  for (std::size_t j = 0; j < ComBoxRDP.size(); ++j) ComBoxRDP[j]->setCurrentIndex(values.ReadProtect[j] ? 1 : 0);
}

// Showing leaves OptionsModified alone: an operator who only looks and
// cancels keeps the options that were to be programmed.
void TCfgLCMPxOptForm::FormShow() {
  setWindowTitle(QString::fromStdString(SessionTexts.ChipName + kLCMPxCaptionSuffix));
  ShowValues(LCMPxOptionValuesOfImage());
}

// The data fields hold bytes only, so the values are always stored.
void TCfgLCMPxOptForm::BitBtnOKClick() { StoreLCMPxOptionValues(Values()); }
