// The LCP037/LCM32F037 option-byte dialog without its widgets. The first 40
// option bytes are 20 pairs, each a value followed by its complement: USER,
// DATA0..DATA2, WRP0..WRP3 and RDP0..RDP11.
#pragma once

#include <array>

struct TLCMPxOptionValues {
  // USER bits 0..3: the item (0 or 1) of ComBoxBOT0, ComBoxBOT1, ComBoxBTSEL
  // and ComBoxWDG.
  bool NBoot0 = true;
  bool NBoot1 = true;
  bool BootSel = true;
  bool WatchdogSoftware = true;
  std::array<int, 3> Data{255, 255, 255};  // SpinEditDAT0 .. SpinEditDAT2, 0..255
  // ChkBoxWRPkb: bit b of WRPk is 0 (write protection allowed).
  std::array<std::array<bool, 8>, 4> WriteProtect{};
  // ComBoxRDP0 .. ComBoxRDPB on item 1: the RDP byte is 0x00 (protected)
  // rather than 0xAA.
  std::array<bool, 12> ReadProtect{};
};

TLCMPxOptionValues LCMPxOptionValuesOfImage();

// Writes bytes 0..39 (USER bits 4..7 kept) and sets OptionsModified to
// whether any value differs from its erased state (USER 0xFB, DATA and WRP
// 0xFF, RDP 0xAA). False, with the image and the flag as they were, when a
// data value lies outside 0..255.
bool StoreLCMPxOptionValues(const TLCMPxOptionValues& values);
