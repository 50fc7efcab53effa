#include "chips/ac78x_option_values.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "data/integer_text.h"
#include "chips/option_image.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/option_dialog_texts.h"

namespace {

constexpr std::size_t kRebuiltBytes = 128;
constexpr std::size_t kWriteProtectionBase[] = {8, 12, 16, 20};
constexpr std::size_t kUserDataBase[] = {40, 44};
constexpr std::uint16_t kErasedWord = 0xFFFF;

std::uint16_t WordAt(std::size_t base) {
  const auto image = OptionImage();
  return static_cast<std::uint16_t>(image[base] | (image[base + 1] << 8));
}

std::string WordText(std::size_t base) {
  const auto image = OptionImage();
  return FormatText(kAC78xWordFormat, unsigned{image[base + 1]}, unsigned{image[base]});
}

// A word and its complement; an erased word stays four 0xFF bytes.
void StoreWord(std::size_t base, std::uint16_t word) {
  if (word == kErasedWord) return;
  ProgramSettings.OptionsModified = 1;
  const auto image = OptionImage();
  image[base] = static_cast<std::uint8_t>(word);
  image[base + 1] = static_cast<std::uint8_t>(word >> 8);
  image[base + 2] = static_cast<std::uint8_t>(~image[base]);
  image[base + 3] = static_cast<std::uint8_t>(~image[base + 1]);
}

}  // namespace

TAC78xOptionValues AC78xOptionValuesOfImage() {
  TAC78xOptionValues values;
  values.ReadProtection = WordAt(0) == 0xFFAC ? 0 : 1;
  values.Watchdog = WordAt(4) == kErasedWord ? 0 : 1;
  for (std::size_t i = 0; i < values.WriteProtection.size(); ++i)
    values.WriteProtection[i] = WordText(kWriteProtectionBase[i]);
  for (std::size_t i = 0; i < values.UserData.size(); ++i) values.UserData[i] = WordText(kUserDataBase[i]);
  return values;
}

void StoreAC78xOptionValues(const TAC78xOptionValues& values) {
  // Only the low 16 bits of each field count.
  std::uint16_t protection[4];
  std::uint16_t user[2];
  for (std::size_t i = 0; i < 4; ++i) protection[i] = static_cast<std::uint16_t>(StrToInt32(values.WriteProtection[i]));
  for (std::size_t i = 0; i < 2; ++i) user[i] = static_cast<std::uint16_t>(StrToInt32(values.UserData[i]));

  const auto image = OptionImage();
  std::fill_n(image.begin(), kRebuiltBytes, 0xFF);
  image[0] = 0xAC;
  if (values.ReadProtection != 0) {
    image[0] = 0x00;
    ProgramSettings.OptionsModified = 1;
  }
  image[2] = static_cast<std::uint8_t>(~image[0]);
  if (values.Watchdog == 1) {
    ProgramSettings.OptionsModified = 1;
    image[4] = 0x33;
    image[6] = 0xCC;
  }
  for (std::size_t i = 0; i < 4; ++i) StoreWord(kWriteProtectionBase[i], protection[i]);
  for (std::size_t i = 0; i < 2; ++i) StoreWord(kUserDataBase[i], user[i]);
}
