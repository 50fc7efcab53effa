// The system's list of programmer ports: the USB serial adapters of the two
// driver families the programmers use, found through sysfs.
#pragma once

#include <string>
#include <vector>

// Where the list looks; tests point both at a fake tree.
struct TSerialPortRoots {
  std::string SysfsRoot = "/sys";
  std::string DevDir = "/dev";
};

// Device paths DevDir/NAME of every SysfsRoot/class/tty/NAME whose
// device/driver is ftdi_sio or cp210x and that opens now with its lock free,
// in natural name order (ttyUSB2 before ttyUSB10).
std::vector<std::string> ListUsbSerialPorts(const TSerialPortRoots& roots = {});

// Name order that compares runs of digits as numbers.
bool NaturalNameLess(const std::string& a, const std::string& b);
