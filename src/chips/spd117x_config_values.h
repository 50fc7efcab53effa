// The SPD117x configuration dialog without its widgets: the debug-interface
// lock in option bytes 0..3 and the start-up watchdog in bytes 4..7.
#pragma once

struct TSPD117xConfigValues {
  bool LockDebugInterface = false;  // ChkBoxLckCP
  bool WatchdogAtStartUp = false;   // ChkBoxEnWDT
};

// A setting is on when any of its four bytes is not 0xFF.
TSPD117xConfigValues SPD117xConfigValuesOfImage();

// The whole option image erased to 0xFF, then 55 55 55 55 for the lock and
// 33 33 33 33 for the watchdog where they are on. OptionsModified stays.
void StoreSPD117xConfigValues(const TSPD117xConfigValues& values);
