// Save and open speed of project files: a job with 4 MB of main data and
// 64 KB of EEP data.
//   project_file_bench [FOLDER]   the file goes to FOLDER (default: the system's temporary folder)
// Prints the best time of several saves and opens (the open includes
// applying the chip-data block), and the file's size.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "project/project_file.h"

namespace {

double BestSeconds(const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < 10; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void SetLargeJob() {
  ResetProgramState();
  InitChipViewDefaults();
  SelectedChip.ChipCode = 0x55;
  InitGlobalSettings();
  SessionState.ProgrammerCount = 10;
  SessionState.CmdLineMode = 1;  // the reader logs without boxes
  SelectedChip.ChipFamilyIndex = 1;
  SelectedChip.MainSize = 4 * 1024 * 1024;
  SelectedChip.EepSize = 64 * 1024;
  SelectedChip.MainEnd = SelectedChip.MainSize - 1;
  SelectedChip.EepStart = 0x20020000;
  SelectedChip.EepEnd = SelectedChip.EepStart + SelectedChip.EepSize - 1;
  ObjectState.MainDataLength = SelectedChip.MainSize;
  ObjectState.EepDataLength = SelectedChip.EepSize;
  SessionTexts.ChipName = "SA32B16xx";
  SessionTexts.ChipText2 = "large.hex";
  for (std::size_t i = 0; i < kMainFlashImageSize; ++i) MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
  for (std::size_t i = 0; i < kEepImageSize; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 3);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
  const std::string file = (folder / "project_file_bench.pqx").string();
  SetLargeJob();
  const double save = BestSeconds([&] { WriteProjectFile(file, 0x55); });
  bool opened = true;
  const double open = BestSeconds([&] {
    opened = opened && ReadProjectFile(file, [] { return true; }) == kProjectOpenOk;
    ApplyChipDataBlock();
  });
  const auto size = std::filesystem::file_size(file);
  std::filesystem::remove(file);
  if (!opened) {
    std::fprintf(stderr, "the saved file did not open\n");
    return 1;
  }
  std::printf("project file %s: %.3f MB (4 MB main data, 64 KB EEP data)\n", file.c_str(), size / 1e6);
  std::printf("save %7.1f ms\nopen %7.1f ms\nboth %7.1f ms\n", save * 1e3, open * 1e3, (save + open) * 1e3);
  return 0;
}
