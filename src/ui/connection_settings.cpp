#include "ui/connection_settings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/integer_text.h"
#include "text/text_id.h"
#include "ui/text_lines.h"

namespace fs = std::filesystem;

namespace {

std::string UpperCase(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ProgrammerCount is 8-bit: a longer list must not wrap round to a small count.
std::uint8_t CountOf(std::size_t items) { return static_cast<std::uint8_t>(std::min<std::size_t>(items, 255)); }

// The number after "DEV": one digit, or two when two follow; 0 when none.
int DevLineNumber(const std::string& upper) {
  if (upper.size() < 4 || !IsDigit(upper[3])) return 0;
  int n = upper[3] - '0';
  if (upper.size() > 4 && IsDigit(upper[4])) n = n * 10 + (upper[4] - '0');
  return n;
}

// A value holding '/' is a device path as written; otherwise the upper-cased
// line from its first 'C' on names a device in DevDir (COM4 is /dev/COM4).
// Blanks around the value are no part of the name ("DEV1 = /dev/ttyUSB0 ").
std::string DevLinePort(const std::string& line, const std::string& upper, const TSerialPortRoots& roots) {
  const std::string value(Trimmed(GetIniValue(line)));
  if (value.find('/') != std::string::npos) return value;
  const std::size_t c = upper.find('C');
  if (c == std::string::npos) return {};
  return (fs::path(roots.DevDir) / Trimmed(std::string_view(upper).substr(c))).string();
}

// Reads on to the line that is exactly "[Connection]"; false when none follows.
bool SkipToConnectionSection(std::istream& in) {
  std::string line;
  while (ReadTextLine(in, line)) {
    if (line == "[Connection]") return true;
  }
  return false;
}

void ClearList(TPortList& comboBox) {
  comboBox.Items.clear();
  comboBox.SlotPorts = {};
}

}  // namespace

std::string GetIniValue(const std::string& line) {
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

void ReadConnectionIni(const std::string& path, TPortList& comboBox, const TSerialPortRoots& roots) {
  ClearList(comboBox);
  std::ifstream in(path, std::ios::binary);
  std::string line;
  ReadTextLine(in, line);  // the first line is never part of the section
  if (SkipToConnectionSection(in)) {
    // Every later line belongs to the list, later sections included.
    while (ReadTextLine(in, line)) {
      const std::string upper = UpperCase(line);
      // TOTDEV is not used: the number of DEV lines replaces it.
      if (upper.starts_with("TOTDEV") || !upper.starts_with("DEV")) continue;
      const std::string port = DevLinePort(line, upper, roots);
      comboBox.Items.push_back(port);
      const int n = DevLineNumber(upper);
      if (n >= 1 && n <= kProgrammerMax) comboBox.SlotPorts[n - 1] = port;
    }
  }
  SessionState.ProgrammerCount = CountOf(comboBox.Items.size());
  if (!comboBox.Items.empty()) comboBox.Text = comboBox.Items.back();
}

void EnumerateComPorts(TPortList& comboBox, const TSerialPortRoots& roots) {
  ClearList(comboBox);
  comboBox.Items = ListUsbSerialPorts(roots);
  SessionState.ProgrammerCount = CountOf(comboBox.Items.size());
  comboBox.Text = comboBox.Items.empty() ? std::string(Text(TTextId::NoComPortText)) : comboBox.Items.back();
}

void LoadConnectionConfig(TPortList& comboBox, const TSerialPortRoots& roots) {
  const std::string path = SessionTexts.AppDir + kConnectionIniName;
  std::error_code ec;
  if (fs::exists(path, ec)) {
    ReadConnectionIni(path, comboBox, roots);
  } else {
    EnumerateComPorts(comboBox, roots);
  }
  if (SessionState.ProgrammerCount > kProgrammerMax) SessionState.ProgrammerCount = kProgrammerMax;
}
