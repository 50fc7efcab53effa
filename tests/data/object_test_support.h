// Fixtures shared by the object-file tests: a temporary folder, scripted
// prompts, chip areas, small file helpers and the external tools.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/operator_io.h"

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its files.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

// Records every box; answers AskOkAbort from a queue (OK when it is empty).
class ScriptedPrompts final : public IPrompts {
 public:
  ScriptedPrompts() { SetPrompts(this); }
  ~ScriptedPrompts() override { SetPrompts(nullptr); }
  void ShowInfo(const std::string& text) override { boxes.push_back("info: " + text); }
  void ShowWarning(const std::string& text) override { boxes.push_back("warning: " + text); }
  TPromptAnswer AskOkAbort(const std::string& text) override;
  TPromptAnswer AskYesAbort(const std::string& text) override;

  std::deque<TPromptAnswer> answers;
  std::vector<std::string> boxes;
};

// Start-up state with these areas and blank (0xFF) images. Areas left out
// are absent (0xFFFFFFFF).
struct TChipAreas {
  std::uint32_t mainStart = 0x08000000, mainEnd = 0x0807FFFF;
  std::uint32_t eepStart = 0x08080000, eepEnd = 0x08080FFF;
  std::uint32_t optionStart = 0x1FFFF800, optionEnd = 0x1FFFF8FF;
  std::uint32_t auxStart = 0xFFFFFFFF, auxEnd = 0xFFFFFFFF;
};
void SelectChipAreas(const TChipAreas& areas = {});

// An Intel HEX or S-record line with its checksum, built here independently
// of the writers; addressBytes 2, 3 or 4 for S1, S2, S3 (or 2 for S9 etc.).
std::string HexLine(std::uint8_t type, std::uint16_t address, const Bytes& data);
std::string SRecLine(char type, int addressBytes, std::uint32_t address, const Bytes& data);

// The line with its last checksum digit changed.
std::string WithBadChecksum(std::string line);

Bytes RandomBytes(std::size_t count, std::uint32_t seed);
void WriteFile(const std::string& path, std::string_view content);
void WriteFile(const std::string& path, const Bytes& content);
Bytes ReadFile(const std::string& path);
std::string ReadText(const std::string& path);

// Whether name is an executable on PATH; a test failure saying so when not.
bool RequireTool(const std::string& name);
// Runs a shell command; returns its exit status, output holds stdout+stderr.
int RunCommand(const std::string& command, std::string& output);
