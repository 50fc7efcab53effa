// The AC78xx option-byte dialog without its widgets: the values its controls
// hold, read from the option image when it opens and written back by OK.
// Each setting is a 16-bit word, low byte first, followed by its complement.
#pragma once

#include <array>
#include <string>

struct TAC78xOptionValues {
  int ReadProtection = 0;  // ComBoxROP: 0 level 0 (none), 1 level 1 (can be undone)
  int Watchdog = 0;        // ComBoxWDT: 0 off, 1 on
  // EditERP0 .. EditERP3 (pages 0-15 .. 48-63), then EditUSER0 and EditUser1:
  // the texts as typed, decimal or hex after "0x" or "$".
  std::array<std::string, 4> WriteProtection;
  std::array<std::string, 2> UserData;
};

// What the image holds: level 0 when its first word is 0xFFAC, watchdog off
// when its second is 0xFFFF, each other word as "0x%02X%02X".
TAC78xOptionValues AC78xOptionValuesOfImage();

// Rebuilds option bytes 0..127 from the values and sets OptionsModified
// when a setting differs from its erased state (it never clears the flag).
// Every field is converted first: one that holds no integer throws
// EConvertError and leaves the image and the flag as they were.
void StoreAC78xOptionValues(const TAC78xOptionValues& values);
