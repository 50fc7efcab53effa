#include "link/command_packets.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>

#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/byte_order.h"
#include "link/flash_driver.h"
#include "link/packet_framing.h"
#include "link/parameter_block.h"

namespace {

constexpr std::uint16_t kHeaderSize = 8;
constexpr std::uint16_t kImageDataOffset = kHeaderSize + kParameterBlockSize;  // behind the parameter block
constexpr std::uint16_t kDataBlockSize = 4096;
constexpr std::uint16_t kDriverBlockSize = 2048;
constexpr std::uint16_t kOptionDataSize = 1024;
constexpr std::uint16_t kWideOptionDataSize = 4096;  // family 0xC0 without a driver
constexpr std::uint8_t kWideOptionFamily = 0xC0;
constexpr std::uint16_t kReadMemoryPayloadSize = 64;
constexpr std::uint16_t kChipDataPayloadSize = 2 * kChipDataBlockFormatSize;

constexpr std::uint8_t kLinkProbeFrame[] = {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
// "REST" and 0xA8 in place of argument and chip codes, payload 00 00.
constexpr std::uint8_t kResetPacket[] = {kCmdReset, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00};

// Where the flash-driver sections sit in the packets that carry them.
struct TDriverSectionLayout {
  std::uint16_t OperationOffset;                 // packet offset of the running operation's section
  std::uint16_t CommonOffset;                    // packet offset of the common section, when the packet carries it
  std::span<const std::uint8_t> CommonFamilies;  // ChipFamilyCode values whose packets carry it
};

constexpr std::uint8_t kCommandCommonFamilies[] = {0x00, 0x04, 0x18};
constexpr std::uint8_t kProgramCommonFamilies[] = {0x04};

// Operation command (0x93 and the verify/read commands): parameter block, then the sections.
constexpr TDriverSectionLayout kCommandSections{88, 1112, kCommandCommonFamilies};
// Program blocks (0x95, 0x99): parameter block, 4 KB of data, then the sections.
constexpr TDriverSectionLayout kProgramSections{4184, kCommonSectionOffsetInProgramPacket, kProgramCommonFamilies};
// Option data (0x93/0x35): parameter block, 1 KB of options, then the operation section only.
constexpr TDriverSectionLayout kOptionSections{1112, 0, {}};

// The packets of each state that carries driver sections.
struct TStateSections {
  std::uint8_t State;
  const TDriverSectionLayout* Sections;
};

constexpr TStateSections kSectionsOfState[] = {
    {kOpBlankCheck, &kCommandSections}, {kOpErase, &kCommandSections},        {kOpReadChecksum, &kCommandSections},
    {kOpReadOption, &kCommandSections}, {kOpChipInfo, &kCommandSections},     {kOpVerifyMain, &kCommandSections},
    {kOpVerifyEep, &kCommandSections},  {kOpReadMain, &kCommandSections},     {kOpReadEep, &kCommandSections},
    {kOpProgramMain, &kProgramSections}, {kOpProgramEep, &kProgramSections}, {kOpWriteOption, &kOptionSections},
};

bool CarriesCommonSection(const TDriverSectionLayout& layout, std::uint8_t chipFamilyCode) {
  return std::ranges::find(layout.CommonFamilies, chipFamilyCode) != layout.CommonFamilies.end();
}

std::span<std::uint8_t> Packet(int ch) { return CommBuffers.PacketBuffers[ch]; }

void WriteHeader(int ch, std::uint8_t code, std::uint16_t argument, std::uint16_t payloadLength) {
  const std::span<std::uint8_t> p = Packet(ch);
  p[0] = code;
  PutLe16(p, 1, argument);
  p[3] = SelectedChip.ChipCode;
  p[4] = SelectedChip.ChipFamilyCode;
  p[5] = SelectedChip.ChipSubType;
  PutLe16(p, 6, payloadLength);
}

// Every byte before the checksum is covered.
std::uint16_t Close(int ch, std::uint16_t payloadLength) {
  const std::size_t end = std::size_t{kHeaderSize} + payloadLength;
  return SealAndFrame(ch, end, end);
}

// The 4 KB of image from byte start; empty when they pass the image's end.
std::span<const std::uint8_t> ImageBlock(std::span<const std::uint8_t> image, std::uint64_t start) {
  if (start > image.size() || image.size() - start < kDataBlockSize) return {};
  return image.subspan(static_cast<std::size_t>(start), kDataBlockSize);
}

std::span<const std::uint8_t> MainBlock(std::uint16_t block) {
  return ImageBlock(MemoryImages.MainFlashImage, std::uint64_t{SelectedChip.MainBaseOffset} + block * 1024ull);
}

std::span<const std::uint8_t> EepBlock(std::uint16_t block) {
  return ImageBlock(MemoryImages.EepImage, block * 1024ull);
}

// Appends the driver sections behind a packet's fixed part (which ends at the
// operation section) and returns the payload length.
std::uint16_t AppendDriverSections(const TDriverSectionLayout& layout, int ch) {
  if (CarriesCommonSection(layout, SelectedChip.ChipFamilyCode)) {
    // The common section keeps its place whatever the operation section's
    // length: it is copied last, over the end of a longer one.
    AppendDriverSectionForOp(layout.OperationOffset, ch);
    return static_cast<std::uint16_t>(layout.CommonOffset - kHeaderSize +
                                      AppendDriverCommonSection(layout.CommonOffset, ch));
  }
  return static_cast<std::uint16_t>(layout.OperationOffset - kHeaderSize +
                                    AppendDriverSectionForOp(layout.OperationOffset, ch));
}

std::uint16_t PayloadWithSections(const TDriverSectionLayout& layout, std::uint16_t plainLength, int ch) {
  return SelectedChip.UseFlashDriver ? AppendDriverSections(layout, ch) : plainLength;
}

std::uint16_t FrameDataBlock(std::uint8_t code, std::span<const std::uint8_t> data, std::uint16_t block, int ch) {
  if (data.empty()) return 0;
  WriteHeader(ch, code, block, kDataBlockSize);
  std::memcpy(Packet(ch).data() + kHeaderSize, data.data(), data.size());
  return Close(ch, kDataBlockSize);
}

// A main block carries the online serial number of programmer ch's run;
// the image itself holds the file's data.
std::uint16_t FrameProgramBlock(std::uint8_t code, std::span<const std::uint8_t> data, std::uint16_t block,
                                const TSerialNumberBytes& number, int ch) {
  if (data.empty()) return 0;
  BuildParameterBlock(kHeaderSize, 0, ch);
  std::memcpy(Packet(ch).data() + kImageDataOffset, data.data(), data.size());
  PutSerialNumber(number, block * std::size_t{1024}, Packet(ch).subspan(kImageDataOffset, data.size()));
  const std::uint16_t payload = PayloadWithSections(kProgramSections, kParameterBlockSize + kDataBlockSize, ch);
  WriteHeader(ch, code, block, payload);
  return Close(ch, payload);
}

}  // namespace

bool PacketsCarryDriver(std::uint8_t state) {
  if (!SelectedChip.UseFlashDriver) return false;
  if (state == kOpDriverDownload) return true;
  const auto row = std::ranges::find(kSectionsOfState, state, &TStateSections::State);
  if (row == std::end(kSectionsOfState)) return false;
  return StateHasDriverSection(state) || CarriesCommonSection(*row->Sections, SelectedChip.ChipFamilyCode);
}

std::uint16_t FrameLinkProbe(int ch) {
  std::ranges::copy(kLinkProbeFrame, CommBuffers.TxFrameBuffers[ch]);
  return sizeof kLinkProbeFrame;
}

std::uint16_t FrameChipData(std::uint16_t key, int ch) {
  BuildChipDataBlock(RunSettingsOf(ch), ch);
  const std::span<std::uint8_t> payload = Packet(ch).subspan(kHeaderSize, kChipDataPayloadSize);
  std::copy_n(payload.begin(), kChipDataBlockFormatSize, payload.begin() + kChipDataBlockFormatSize);
  const std::uint8_t lo = static_cast<std::uint8_t>(((key & 0xFF) ^ 0xE4) | 0x80);
  const std::uint8_t hi = static_cast<std::uint8_t>(((key >> 8) ^ 0xD3) | 0x80);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] ^= (i & 1) ? hi : lo;
  WriteHeader(ch, kCmdChipData, key, kChipDataPayloadSize);
  return Close(ch, kChipDataPayloadSize);
}

std::uint16_t FrameDriverBlock(int ch) {
  WriteHeader(ch, kCmdDriverBlock, SessionState.DriverFileSize, kDriverBlockSize);
  std::copy_n(MemoryImages.DriverImage, kDriverBlockSize, Packet(ch).begin() + kHeaderSize);
  return Close(ch, kDriverBlockSize);
}

std::uint16_t FrameMainDataBlock(std::uint16_t block, int ch) {
  return FrameDataBlock(kCmdMainData, MainBlock(block), block, ch);
}

std::uint16_t FrameEepDataBlock(std::uint16_t block, int ch) {
  return FrameDataBlock(kCmdEepData, EepBlock(block), block, ch);
}

std::uint16_t FrameCommand(std::uint8_t code, std::uint16_t argument, int ch) {
  BuildParameterBlock(kHeaderSize, 0, ch);
  const std::uint16_t payload = PayloadWithSections(kCommandSections, kParameterBlockSize, ch);
  WriteHeader(ch, code, argument, payload);
  return Close(ch, payload);
}

std::uint16_t FrameMainProgramBlock(std::uint16_t block, int ch) {
  return FrameProgramBlock(kCmdProgramMain, MainBlock(block), block, RunSettingsOf(ch).SerialNumber, ch);
}

std::uint16_t FrameEepProgramBlock(std::uint16_t block, int ch) {
  return FrameProgramBlock(kCmdProgramEep, EepBlock(block), block, TSerialNumberBytes{}, ch);
}

std::uint16_t FrameOptionData(int ch) {
  BuildParameterBlock(kHeaderSize, 0, ch);
  const bool wide = !SelectedChip.UseFlashDriver && SelectedChip.ChipFamilyCode == kWideOptionFamily;
  const std::uint16_t size = wide ? kWideOptionDataSize : kOptionDataSize;
  std::copy_n(MemoryImages.OptionImage, size, Packet(ch).begin() + kImageDataOffset);
  const std::uint16_t payload = PayloadWithSections(kOptionSections, kParameterBlockSize + size, ch);
  WriteHeader(ch, kCmdOperation, kSubOptionData, payload);
  // This packet's checksum leaves out its last payload byte.
  const std::size_t end = std::size_t{kHeaderSize} + payload;
  return SealAndFrame(ch, end, end - 1);
}

std::uint16_t FrameReadMemory(int ch) {
  BuildParameterBlock(kHeaderSize, 0, ch);
  const std::span<std::uint8_t> p = Packet(ch);
  PutLe32(p, 56, SessionState.ReadStartAddress);
  PutLe16(p, 60, SessionState.ReadLength);
  WriteHeader(ch, kCmdOperation, kSubReadMemory, kReadMemoryPayloadSize);
  return Close(ch, kReadMemoryPayloadSize);
}

std::uint16_t FrameReset(int ch) {
  std::ranges::copy(kResetPacket, Packet(ch).begin());
  return Close(ch, 2);
}
