// The list of ports the device search tries and the number of programmers in
// use: from "ConfigVmg.ini" in the program folder when there is one, else from
// the system's USB serial adapters.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "platform/serial_port_list.h"

inline constexpr const char* kConnectionIniName = "ConfigVmg.ini";

// What the port combo ComboBoxCOM holds, and the port names that the settings
// file gives programmer slots directly. The window copies Items and Text into
// the combo, and every set SlotPorts[n] into CommPorts[n]->CommName.
struct TPortList {
  std::vector<std::string> Items;  // device paths; item n is the port of programmer n
  std::string Text;                // the combo's text, left as it was when a read says so
  std::array<std::optional<std::string>, kProgrammerMax> SlotPorts;  // set by the last read
};

// AppDir + "ConfigVmg.ini" when it exists, else the system's ports; then
// SessionState.ProgrammerCount is at most 10.
void LoadConnectionConfig(TPortList& comboBox, const TSerialPortRoots& roots = {});

// Clears the list and reads the [Connection] section of the file. Sets
// SessionState.ProgrammerCount to the number of items.
void ReadConnectionIni(const std::string& path, TPortList& comboBox, const TSerialPortRoots& roots = {});

// Clears the list and fills it with the ports that can be opened now. Sets
// SessionState.ProgrammerCount to the number of items.
void EnumerateComPorts(TPortList& comboBox, const TSerialPortRoots& roots = {});

// The part of the line after its first '='.
std::string GetIniValue(const std::string& line);
