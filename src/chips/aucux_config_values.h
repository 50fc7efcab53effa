// The AU30x configuration dialog without its widgets. Each setting is bit 0
// of its byte (the UART switches bits 0..2 of one byte); a cleared bit
// switches the function, so a ticked box stands for a 0 bit.
#pragma once

#include <array>

struct TAUCUxConfigValues {
  bool Lifecycle = false;                  // ChkBoxLFC, byte 0x00
  std::array<bool, 3> DisableUart{};       // ChkBoxDnURT0 .. ChkBoxDnURT2, byte 0x10
  bool DisableJtag = false;                // ChkBoxDnJTAG, byte 0x14 (shown, never written)
  bool DisableUartBoot = false;            // ChkBoxDnBOT, byte 0x18
  bool LockInfoRegion1 = false;            // ChkBoxDnRGN1, byte 0x20 (shown, never written)
};

TAUCUxConfigValues AUCUxConfigValuesOfImage();

// Writes bytes 0x00, 0x10, 0x14, 0x18 and 0x20 (0x14 and 0x20 always
// erased) and sets OptionsModified; every other byte keeps its value.
void StoreAUCUxConfigValues(const TAUCUxConfigValues& values);
