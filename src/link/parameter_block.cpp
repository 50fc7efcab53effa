#include "link/parameter_block.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "data/random.h"
#include "data/run_settings.h"
#include "link/byte_order.h"
#include "link/serial_step.h"
#include "text/format_text.h"

namespace {

std::span<std::uint8_t> Packet(int ch) { return CommBuffers.PacketBuffers[ch]; }

constexpr std::size_t kOptionHeadSize = 128;  // OptionImage[0 .. 127] at block offset 112
constexpr std::size_t kOptionTailSize = 204;  // OptionImage[128 .. 331] at block offset 304

}  // namespace

void BuildParameterBlock(std::uint16_t position, std::uint16_t argument, const TRunSettings& run, int ch) {
  const std::span<std::uint8_t> packet = Packet(ch);
  if (std::size_t{position} + kParameterBlockSize > packet.size()) return;
  const std::span<std::uint8_t> b = packet.subspan(position, kParameterBlockSize);
  const TSelectedChip& chip = SelectedChip;
  const TProgramSettings& settings = run.Settings;
  const TObjectState& object = ObjectState;

  std::ranges::fill(b, 0);
  b[1] = chip.OptionFormat;
  b[2] = settings.DeviceAddress;
  b[3] = chip.ChipCode;
  b[4] = chip.ChipFamilyCode;
  b[5] = chip.ChipSubType;
  b[6] = RandomByte();
  b[7] = settings.AutoDetect;
  b[8] = chip.ChipSubParam1;
  b[9] = chip.ChipSubParam2;
  PutLe16(b, 10, argument);
  PutLe32(b, 16, run.MainDataLength);
  PutLe32(b, 20, chip.EepSize);
  PutLe32(b, 24, chip.MainStart);
  PutLe32(b, 28, chip.EepStart);
  const TControlBytes& c = run.ControlBytes;
  const std::uint8_t controlBytes[] = {c.PifSpeedFlags, c.VoltageFlags, c.ResetPowerFlags, c.ProgramStepFlags,
                                       c.EraseFlags,    c.ControlByte5, c.ControlByte6,    c.ControlByte7};
  std::ranges::copy(controlBytes, b.begin() + 32);
  b[40] = settings.PowerUpTime;
  b[41] = settings.PowerDownTime;
  b[42] = settings.ChipInTime;
  b[43] = settings.ChipOutTime;
  PutLe16(b, 44, chip.MainPageSize);
  PutLe16(b, 46, chip.EepPageSize);
  PutLe16(b, 48, run.MainSum16);
  PutLe16(b, 50, run.MainSumLow);
  PutLe16(b, 52, object.EepSum16);
  PutLe16(b, 54, object.EepSumLow);
  PutLe16(b, 56, run.OptionSum16);
  PutLe16(b, 58, run.OptionSum);
  b[64] = chip.ChipExtParam1;
  b[65] = chip.ChipExtParam2;
  PutLe16(b, 66, settings.ChipExtWord);
  PutLe16(b, 68, settings.RunTime);
}

void BuildParameterBlock(std::uint16_t position, std::uint16_t argument, int ch) {
  BuildParameterBlock(position, argument, RunSettingsOf(ch), ch);
}

void PutPaddedString(const std::string& text, std::uint16_t position, std::uint16_t width, int ch) {
  const std::span<std::uint8_t> packet = Packet(ch);
  if (std::size_t{position} + width > packet.size()) return;
  const std::span<std::uint8_t> field = packet.subspan(position, width);
  const std::string_view shown = text.empty() ? std::string_view("?") : std::string_view(text);
  const std::size_t n = Utf8CutLength(shown, width);
  std::ranges::fill(std::ranges::copy(shown.substr(0, n), field.begin()).out, field.end(), 0);
}

void BuildChipDataBlock(const TRunSettings& run, int ch) {
  constexpr std::uint16_t at = kChipDataBlockPosition;
  const std::span<std::uint8_t> b = Packet(ch).subspan(at, kChipDataBlockFormatSize);
  const TProgramSettings& settings = run.Settings;
  const std::span<const std::uint8_t> options = MemoryImages.OptionImage;

  constexpr std::uint8_t kTag[] = {0x52, 0x4F, 0x5A, 0x49};  // "ROZI"
  std::ranges::copy(kTag, b.begin());
  BuildParameterBlock(at + 4, static_cast<std::uint16_t>(Random(65535)), run, ch);
  b[84] = settings.SnFlags;
  b[85] = settings.SnSize;
  PutLe32(b, 86, settings.CountLimit);
  // Programmer ch hands out SnValue + ch * SnGain, then steps by the gain of all programmers.
  PutLe16(b, 90, static_cast<std::uint16_t>(StandAloneSerialStep(settings)));
  PutLe32(b, 92, settings.SnAddress);
  PutLe32(b, 96, settings.SnValue + static_cast<std::uint32_t>(ch) * settings.SnGain);
  PutLe16(b, 100, run.MainSumLow);
  PutLe32(b, 102, ObjectState.FileChecksum);
  std::fill(b.begin() + 106, b.begin() + 112, 0);  // reserved
  std::ranges::copy(options.first(kOptionHeadSize), b.begin() + 112);
  PutPaddedString(SessionTexts.ChipName, at + 240, 16, ch);
  PutPaddedString(SessionTexts.ChipText2, at + 256, 48, ch);
  std::ranges::copy(options.subspan(kOptionHeadSize, kOptionTailSize), b.begin() + 304);
  PutLe16(b, 508, Checksum16Range(b, 0, 507));
  // NegSum16 is 0x10000 minus the byte sum; the block keeps the sum itself.
  PutLe16(b, 510, static_cast<std::uint16_t>(0x10000u - NegSum16(b, 0, 509)));
}
