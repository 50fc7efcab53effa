// What every fuzz target shares: a program state reset between inputs, a
// real chip chosen through the chip families, prompts that answer at once,
// a scratch folder for parsers that read a file by name, and the cheap
// checks that nothing outside the areas of the images changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/operator_io.h"

// A broken invariant: stop here so libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (0)

// Takes the input apart: leading bytes steer the target, the rest is the
// parser's data. Past the end every byte reads 0.
class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : data_(data, size) {}
  std::uint8_t Byte();
  std::uint32_t Word32();
  std::span<const std::uint8_t> Take(std::size_t count);  // at most what is left
  std::span<const std::uint8_t> Rest() { return Take(data_.size()); }
  std::size_t Left() const { return data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
};

// Answers OK and Yes until the budget of questions is spent, then Abort
// (budget 0: never). Counts the boxes.
class TFuzzPrompts final : public IPrompts {
 public:
  void ShowInfo(const std::string&) override { ++Infos; }
  void ShowWarning(const std::string&) override { ++Infos; }
  TPromptAnswer AskOkAbort(const std::string&) override { return Ask(TPromptAnswer::Ok); }
  TPromptAnswer AskYesAbort(const std::string&) override { return Ask(TPromptAnswer::Yes); }
  void Reset(unsigned abortAfter) {
    AbortAfter = abortAfter;
    Questions = 0;
    Infos = 0;
  }
  unsigned AbortAfter = 0;
  unsigned Questions = 0;
  unsigned Infos = 0;

 private:
  TPromptAnswer Ask(TPromptAnswer yes) { return ++Questions == AbortAfter ? TPromptAnswer::Abort : yes; }
};

TFuzzPrompts& FuzzPrompts();

// The parts the targets load into, chosen by index (any value, taken modulo
// the count): families with and without EEP and option areas, low and high
// addresses, one whose binary files run on into its data flash.
std::size_t FuzzChipCount();

// Every record back to the state after start-up and the chip choice of part
// `which` (the images' areas blank as a fresh load finds them); the memo
// counts its lines, the clock is fixed, the prompts answer at once.
void StartFuzzInput(std::uint8_t which);

// Images a target may write besides the main, EEP, option and aux images.
enum : unsigned { kWritesDriver = 1, kWritesChipData = 2, kWritesFirmware = 4 };

// The bytes after each image's area that a parser may touch (records run on
// past an area's end) are counted in; beyond them every image byte, and the
// driver, chip-data and firmware images, must be as start-up left them.
// A full scan runs every 1024th call, a window right behind the areas on
// every call.
void CheckImagesOutsideAreas(unsigned writes = 0);

// A fresh object load blanks both whole images with the chip's blank value:
// until the next input puts start-up's back, the bytes outside the areas
// must hold that value instead.
void ImagesBlankedWhole();

// A target that legitimately fills more of the main or EEP image (a project's
// data) counts those bytes in until they are blanked again.
void WidenTouchedAreas(std::size_t mainBytes, std::size_t eepBytes);

// Whether every byte is value (true for none).
bool AllBytesAre(std::span<const std::uint8_t> bytes, std::uint8_t value);

// Marks the first byte of the main and EEP images before a load: a load that
// is refused leaves both marks.
void MarkImages();
bool ImagesStillMarked();

// A value the object loads never leave by chance: set into the object bounds
// and sums before a load, it shows which of them the load wrote.
constexpr std::uint32_t kUnwritten = 0x5A5A5A5A;
void MarkObjectBoundsUnwritten();

// A scratch folder of this process (removed at exit), ending in '/'.
const std::string& FuzzFolder();
// Writes bytes to FuzzFolder() + name and returns the path.
std::string WriteFuzzFile(std::string_view name, std::span<const std::uint8_t> bytes);
