#include "ui/spd117x_config_form.h"

#include <QCheckBox>
#include <QPushButton>

#include "chips/spd117x_config_values.h"
#include "text/option_dialog_layouts.h"

namespace {

constexpr int kWidth = 340;

}  // namespace

TCfgSPD117xFRM::TCfgSPD117xFRM(QWidget* parent) : TOptionDialog(parent, "TCfgSPD117xFRM", kSPD117xCaption, kWidth, 150) {
  ChkBoxLckCP = Place<QCheckBox>(this, "ChkBoxLckCP", 24, 18, 290, 22);
  ChkBoxLckCP->setText(kSPD117xLockCaption);
  ChkBoxEnWDT = Place<QCheckBox>(this, "ChkBoxEnWDT", 24, 50, 290, 22);
  ChkBoxEnWDT->setText(kSPD117xWatchdogCaption);
  BitBtnOK = PlaceOk("BitBtnOK", (kWidth - kButtonWidth) / 2, 100, [this] { BitBtnOKClick(); });
}

TSPD117xConfigValues TCfgSPD117xFRM::Values() const { return {ChkBoxLckCP->isChecked(), ChkBoxEnWDT->isChecked()}; }

void TCfgSPD117xFRM::ShowValues(const TSPD117xConfigValues& values) {
  ChkBoxLckCP->setChecked(values.LockDebugInterface);
  ChkBoxEnWDT->setChecked(values.WatchdogAtStartUp);
}

void TCfgSPD117xFRM::FormShow() { ShowValues(SPD117xConfigValuesOfImage()); }

void TCfgSPD117xFRM::BitBtnOKClick() { StoreSPD117xConfigValues(Values()); }
