// The main window's option and constant commands: "Set Option Byte" opens
// the chip family's option dialog, "Show Chip Option Data" lists the option
// image, and "Fill SN Data" opens the constant-filling dialog and then sums
// the data again.
#include <QCheckBox>
#include <memory>

#include "chips/option_displays.h"
#include "chips/vendor_index.h"
#include "data/object_load.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/option_dialog_texts.h"
#include "ui/ac78x_option_form.h"
#include "ui/aucux_config_form.h"
#include "ui/command_checks.h"
#include "ui/config_sn_form.h"
#include "ui/lcmpx_option_form.h"
#include "ui/main_window.h"
#include "ui/spd117x_config_form.h"

namespace {

template <typename Form>
std::unique_ptr<QDialog> Create(QWidget* parent) {
  return std::make_unique<Form>(parent);
}

struct TOptionDialogRow {
  std::uint8_t Vendor;
  std::unique_ptr<QDialog> (*CreateDialog)(QWidget* parent);
};

// The families with an option dialog; every other family has none.
constexpr TOptionDialogRow kOptionDialogs[] = {
    {kVendorAC78xx, Create<TAC78xOptBForm>},
    {kVendorAUCUx, Create<TAUCUxCfgForm>},
    {kVendorLCMPx, Create<TCfgLCMPxOptForm>},
    {kVendorSpctrol, Create<TCfgSPD117xFRM>},
};

}  // namespace

// The option data is listed (for the families that have a listing) and
// "Prog. Option Byte" follows OptionsModified however the dialog closed.
void TGenMFrmARM::BtnOptionCfgClick() {
  if (RefusedWhileBusy(TTextId::JobChangeBusyText)) return;
  const std::uint8_t family = SelectedChip.ChipFamilyIndex;
  for (const TOptionDialogRow& row : kOptionDialogs) {
    if (row.Vendor != family) continue;
    row.CreateDialog(this)->exec();
    ShowCurrentOptionForVendor(family);
  }
  CheckBoxOpt->setChecked(ProgramSettings.OptionsModified != 0);
}

void TGenMFrmARM::ShowChipOptionData1Click() { ShowCurrentOptionForVendor(SelectedChip.ChipFamilyIndex); }

TConfigSNForm& TGenMFrmARM::ConstantFillForm() {
  if (!configSNForm_) configSNForm_ = new TConfigSNForm(this);
  return *configSNForm_;
}

// Without a chip and data the command warns and does nothing; the sums are
// taken again however the dialog closed, except under a programmer that
// started while it was open: its OK was refused, nothing was written, and
// the data length and sums that programmer uses stay as they are.
void TGenMFrmARM::ButtonCfgSNClick() {
  if (!ObjectState.ChipSelected || !ObjectState.ObjectLoaded) {
    Prompts().ShowWarning(kSelectChipAndLoadDataText);
    return;
  }
  if (RefusedWhileBusy(TTextId::JobChangeBusyText)) return;
  const bool written = ConstantFillForm().exec() == QDialog::Accepted;
  if (!written && AnyProgrammerBusy()) return;
  ComputeMainDataLength();
  const std::uint32_t length = ObjectState.MainDataLength;
  AddLog(FormatText(TTextId::ProgrammedSizeFormat, static_cast<int>(length), length - 1));
  RefreshChecksums();
}
