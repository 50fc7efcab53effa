#include "platform/serial_port_list.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// "\Device\VCP" ports come from FTDI adapters, "\Device\Silabser" ones from
// Silicon Labs adapters; these are their Linux drivers.
constexpr std::string_view kProgrammerDrivers[] = {"ftdi_sio", "cp210x"};

bool IsProgrammerDriver(const std::string& driver) {
  return std::find(std::begin(kProgrammerDrivers), std::end(kProgrammerDrivers), driver) !=
         std::end(kProgrammerDrivers);
}

std::string DriverOf(const fs::path& ttyEntry) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(ttyEntry / "device" / "driver", ec);
  return ec ? std::string() : target.filename().string();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digit run starting at pos, without leading zeros; pos moves past it.
std::string_view DigitRun(std::string_view s, std::size_t& pos) {
  std::size_t end = pos;
  while (end < s.size() && IsDigit(s[end])) ++end;
  std::size_t first = pos;
  while (first + 1 < end && s[first] == '0') ++first;
  pos = end;
  return s.substr(first, end - first);
}

// The device opens for reading and writing and nobody holds its lock. The
// device is closed again at once.
bool SerialPortAvailable(const std::string& devicePath) {
  const int fd = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool lockFree = flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (lockFree) flock(fd, LOCK_UN);
  close(fd);
  return lockFree;
}

}  // namespace

bool NaturalNameLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::string_view na = DigitRun(a, i), nb = DigitRun(b, j);
      if (na.size() != nb.size()) return na.size() < nb.size();
      if (na != nb) return na < nb;
    } else {
      if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
      ++i;
      ++j;
    }
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;  // equal but for leading zeros
}

std::vector<std::string> ListUsbSerialPorts(const TSerialPortRoots& roots) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(roots.SysfsRoot) / "class" / "tty", ec), end; !ec && it != end;
       it.increment(ec)) {
    if (IsProgrammerDriver(DriverOf(it->path()))) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), NaturalNameLess);

  std::vector<std::string> ports;
  for (const std::string& name : names) {
    const std::string device = (fs::path(roots.DevDir) / name).string();
    if (SerialPortAvailable(device)) ports.push_back(device);
  }
  return ports;
}
