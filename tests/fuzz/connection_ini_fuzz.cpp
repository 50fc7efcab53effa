// The connection settings "ConfigVmg.ini" in the program folder; the whole
// input is the file.
#include <algorithm>
#include <string>

#include "data/program_state.h"
#include "ui/connection_settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartFuzzInput(0);
  WriteFuzzFile(kConnectionIniName, {data, size});
  TPortList list;
  list.Text = "kept";
  list.SlotPorts[3] = "stale";
  // /dev is only named, never opened: the ports come from the file.
  LoadConnectionConfig(list, TSerialPortRoots{FuzzFolder() + "sys", "/dev"});

  FUZZ_CHECK(SessionState.ProgrammerCount == std::min<std::size_t>(list.Items.size(), kProgrammerMax));
  FUZZ_CHECK(list.Items.empty() ? list.Text == "kept" : list.Text == list.Items.back());
  // Every slot port is one of the listed ports; the old list is gone.
  for (const auto& port : list.SlotPorts) {
    if (port) FUZZ_CHECK(std::find(list.Items.begin(), list.Items.end(), *port) != list.Items.end());
  }
  for (const std::string& item : list.Items) FUZZ_CHECK(item.empty() || item.find('/') != std::string::npos);
  return 0;
}
