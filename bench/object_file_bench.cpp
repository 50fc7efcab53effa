// Load and save speed of the object-file readers and writers.
//   object_file_bench                 a generated 4 MB image as Intel HEX and S37
//   object_file_bench FILE...         these files, each read as the program chooses by its
//                                     extension (.hex, .s19/.s37/.mot), any other as binary
// Prints MB/s (10^6 bytes of image data per second, best of several runs)
// for each load and save, and what the working copy of the job that a load
// reads into adds to it.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "data/binary_file.h"
#include "data/binary_load.h"
#include "data/file_input.h"
#include "data/hex_file.h"
#include "data/job_copy.h"
#include "data/object_file_kind.h"
#include "data/program_state.h"
#include "data/srec_file.h"

namespace {

// What the program would read the file as; an unknown extension as binary.
TObjectFileKind KindOf(const std::string& name) {
  const TObjectFileKind kind = ObjectFileKindOf(name);
  return kind == TObjectFileKind::Unknown ? TObjectFileKind::Binary : kind;
}

// Best time of a few runs, at least 0.5 s of work in all.
double BestSeconds(const std::function<void()>& work) {
  double best = 1e9, total = 0;
  for (int run = 0; run < 20 && (run < 3 || total < 0.5); ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, seconds);
    total += seconds;
  }
  return best;
}

void Report(const char* what, const std::string& name, std::uint64_t dataBytes, double seconds) {
  const std::uint64_t fileBytes = std::filesystem::file_size(name);
  std::printf("%-5s %-28s image %8.3f MB  file %8.3f MB  %8.1f MB/s\n", what,
              std::filesystem::path(name).filename().c_str(), dataBytes / 1e6, fileBytes / 1e6,
              dataBytes / 1e6 / seconds);
}

struct TLoaded {
  std::uint32_t lowest = 0xFFFFFFFF, highest = 0;
};

TLoaded Load(const std::string& name, TObjectFileKind kind) {
  // As a load reads it: the whole file first, then the images.
  const bool binary = kind == TObjectFileKind::Binary;
  const TFileContent file = ReadFileContent(name, binary ? kMainFlashImageSize : UINT64_MAX);
  if (binary) {
    const TSelectedChip& chip = SelectedChip;
    const TBinaryStore stored = StoreBinaryAt(file, chip.MainStart, {chip.MainStart, chip.MainEnd, MemoryImages.MainFlashImage});
    return {stored.First, stored.Last};
  }
  const TRecordFileRead read =
      kind == TObjectFileKind::IntelHex ? LoadHexFile(file.Bytes, JobImages()) : LoadSRecFile(file.Bytes, JobImages());
  return {read.Totals.Lowest, read.Totals.Highest};
}

// What a load adds to its reading: the working copy of the job it reads
// into, made and put in place.
void ReportJobCopy() {
  const double seconds = BestSeconds([] { TJobCopy().PutInPlace(); });
  std::printf("job copy made and put in place: %.2f ms\n", seconds * 1e3);
}

void Save(const std::string& name, TObjectFileKind kind, std::uint32_t first, std::uint32_t last) {
  const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
  const std::uint32_t base = SelectedChip.MainStart;
  if (kind == TObjectFileKind::IntelHex) WriteHexFile(name, image, base, first, last);
  if (kind == TObjectFileKind::SRecord) WriteSRecFile(name, image, base, first, last);
  if (kind == TObjectFileKind::Binary) WriteBinaryFile(name, image, first - base, last - base);
}

void SelectMainArea(std::uint32_t start) {
  ResetProgramState();
  SelectedChip.MainStart = start;
  SelectedChip.MainEnd = 0xFFFFFFFE;
  SelectedChip.EepStart = SelectedChip.EepEnd = 0xFFFFFFFF;
  SelectedChip.OptionStart = SelectedChip.OptionEnd = 0xFFFFFFFF;
  SelectedChip.AuxStart = SelectedChip.AuxEnd = 0xFFFFFFFF;
}

void BenchFile(const std::string& name, const std::string& saveFolder) {
  const TObjectFileKind kind = KindOf(name);
  SelectMainArea(0);
  const TLoaded first = Load(name, kind);
  if (first.lowest > first.highest) {
    std::printf("%s: no data\n", name.c_str());
    return;
  }
  SelectMainArea(kind == TObjectFileKind::Binary ? 0 : first.lowest & ~0xFFFu);
  TLoaded loaded;
  const double loadSeconds = BestSeconds([&] { loaded = Load(name, kind); });
  const std::uint64_t stored = std::min<std::uint64_t>(std::uint64_t{loaded.highest} - loaded.lowest + 1,
                                                       kMainFlashImageSize - (loaded.lowest - SelectedChip.MainStart));
  Report("load", name, stored, loadSeconds);
  const std::string copy = saveFolder + "/" + std::filesystem::path(name).filename().string();
  const auto last = static_cast<std::uint32_t>(loaded.lowest + stored - 1);
  Report("save", copy, stored, BestSeconds([&] { Save(copy, kind, loaded.lowest, last); }));
}

}  // namespace

int main(int argc, char** argv) {
  SelectMainArea(0);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmot-object-bench";
  std::filesystem::create_directories(folder);
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) BenchFile(argv[i], folder.string());
  } else {
    constexpr std::uint32_t kBase = 0x08000000;
    constexpr std::uint32_t kSize = 4 * 1024 * 1024;
    SelectMainArea(kBase);
    std::mt19937 generator(1);
    std::generate_n(MemoryImages.MainFlashImage, kSize, [&] { return static_cast<std::uint8_t>(generator()); });
    for (const char* file : {"image.hex", "image.s37"}) {
      const std::string name = (folder / file).string();
      const TObjectFileKind kind = KindOf(name);
      Report("save", name, kSize, BestSeconds([&] { Save(name, kind, kBase, kBase + kSize - 1); }));
      Report("load", name, kSize, BestSeconds([&] { Load(name, kind); }));
    }
    ReportJobCopy();
  }
  std::filesystem::remove_all(folder);
  return 0;
}
