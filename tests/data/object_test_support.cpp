#include "object_test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "data/program_state.h"

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmot-objfile-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(dir_, error);
}

TPromptAnswer ScriptedPrompts::AskOkAbort(const std::string& text) {
  boxes.push_back("ok/abort: " + text);
  if (answers.empty()) return TPromptAnswer::Ok;
  const TPromptAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

TPromptAnswer ScriptedPrompts::AskYesAbort(const std::string& text) {
  ADD_FAILURE() << "unexpected yes/abort box: " << text;
  return TPromptAnswer::Abort;
}

void SelectChipAreas(const TChipAreas& areas) {
  ResetProgramState();
  SelectedChip.MainStart = areas.mainStart;
  SelectedChip.MainEnd = areas.mainEnd;
  SelectedChip.EepStart = areas.eepStart;
  SelectedChip.EepEnd = areas.eepEnd;
  SelectedChip.OptionStart = areas.optionStart;
  SelectedChip.OptionEnd = areas.optionEnd;
  SelectedChip.AuxStart = areas.auxStart;
  SelectedChip.AuxEnd = areas.auxEnd;
  std::fill(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage), 0xFF);
  std::fill(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage), 0xFF);
}

namespace {

void AppendByte(std::string& out, unsigned value) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
  out += digits;
}

}  // namespace

std::string HexLine(std::uint8_t type, std::uint16_t address, const Bytes& data) {
  std::string line = ":";
  unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
  AppendByte(line, static_cast<unsigned>(data.size()));
  AppendByte(line, address >> 8);
  AppendByte(line, address);
  AppendByte(line, type);
  for (std::uint8_t b : data) AppendByte(line, b), sum += b;
  AppendByte(line, 0x100 - (sum & 0xFF));
  return line;
}

std::string SRecLine(char type, int addressBytes, std::uint32_t address, const Bytes& data) {
  std::string line = "S";
  line += type;
  const unsigned count = static_cast<unsigned>(data.size()) + addressBytes + 1;
  unsigned sum = count;
  AppendByte(line, count);
  for (int i = addressBytes - 1; i >= 0; --i) {
    AppendByte(line, address >> (8 * i));
    sum += (address >> (8 * i)) & 0xFF;
  }
  for (std::uint8_t b : data) AppendByte(line, b), sum += b;
  AppendByte(line, ~sum);
  return line;
}

std::string WithBadChecksum(std::string line) {
  line.back() = line.back() == '0' ? '1' : '0';
  return line;
}

Bytes RandomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 generator(seed);
  Bytes bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  return bytes;
}

void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

void WriteFile(const std::string& path, const Bytes& content) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool RequireTool(const std::string& name) {
  std::string output;
  if (RunCommand("command -v " + name, output) == 0) return true;
  ADD_FAILURE() << name << " is not on PATH; scripts/test installs it (packages srecord, binutils, python3)";
  return false;
}

int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char block[4096];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) output.append(block, got);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
