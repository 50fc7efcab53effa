// The operator's programming settings, collected from the main window's
// controls into ProgramSettings and the chip's control bytes before every
// operation and before a project is saved.
#pragma once

#include <string>

// What the controls show at the moment of collection: radio groups by item
// index (-1 for none), check boxes as ticks, spin edits by value and the four
// number fields by their text.
struct TSettingsControls {
  int RadioGroupPIF;  // "SWD", "SWE"
  int RadioGrpSpdF;   // "Fast SWCLK", "Slow SWCLK"
  bool ChkBoxRunSHT;
  int RadioGpVolt;                     // "3.3V", "5.0V"
  bool ChkBoxBlkEr;                    // "Anti. Piggyback"
  int RadioGrpRST;                     // "Output Low", "Shut Reset (HiZ)", "Reset and Shut"
  bool CheckBoxRun;                    // "Run Chip after programmed"
  bool ChkBoxVDD;                      // "Shut VOUT after programmed"
  bool CheckBoxOpt;                    // "Prog. Option Byte"
  bool ChkBoxPrgEEP;                   // "Prog. Data Flash"
  bool ChkBoxCpErsM;                   // "Chip MASS Erase"
  bool ChkBoxErsEEP;                   // "Erase Data Flash"
  bool ChkBoxAuto;                     // "Enab. Auto-Start"
  int SpinEditIn, SpinEditOut;         // ms
  int SpinEditVddTim, SpinEditPWDTim;  // ms
  int SpinEditRTM;                     // ms
  bool CheckBoxCtrl;                   // "Enable Number Limit"
  bool CheckBoxSN;                     // "Enable S/N"
  bool SNOrderChk;                     // "S/N Big Endian"
  bool ChkBoxPCSN;                     // "Enable Online SN"
  int SpinEditNum;                     // "Max. Numb: "
  std::string GainEdit, SNEdit1, AddrEdit, EditDevAdr;
};

// Copies the controls into the settings, step by step, each step changing
// only its own bits (the family's other preset bits travel on); then the
// option sums and the log line "> Chip Control Settting : ...". A number
// field that holds no integer throws EConvertError: the steps before it are
// done, nothing after it (no option sums, no log line).
void CollectProgramSettings(const TSettingsControls& controls);
