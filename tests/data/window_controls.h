// The main window's controls as its layout leaves them, for the core tests
// and the demo job that collect settings without a window.
#pragma once

#include "data/settings_collection.h"

inline TSettingsControls WindowDefaultControls() {
  TSettingsControls c{};
  c.RadioGroupPIF = 0;
  c.RadioGrpSpdF = 0;
  c.RadioGpVolt = 1;
  c.RadioGrpRST = 0;
  c.ChkBoxVDD = true;
  c.ChkBoxCpErsM = true;
  c.SpinEditIn = 510;
  c.SpinEditOut = 510;
  c.SpinEditVddTim = 100;
  c.SpinEditPWDTim = 100;
  c.SpinEditRTM = 500;
  c.SNOrderChk = true;
  c.SpinEditNum = 0;
  c.GainEdit = "0x01";
  c.SNEdit1 = "0x00000000";
  c.AddrEdit = "0x0000FFF0";
  c.EditDevAdr = "0x00";
  return c;
}
