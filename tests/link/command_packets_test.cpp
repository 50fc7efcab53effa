#include "link/command_packets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "data/random.h"
#include "data/run_settings.h"
#include "link/driver_check.h"
#include "link/frame_coding.h"
#include "link/parameter_block.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kCh = 2;
constexpr std::uint32_t kSeed = 0x1234ABCD;

void PutLe16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint32_t GetLe(const std::uint8_t* p, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// zlib's CRC-32, to pin whole frames in a few digits.
std::uint32_t Crc32(const Bytes& bytes) {
  std::uint32_t c = 0xFFFFFFFF;
  for (std::uint8_t b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

void SetDriverEntry(std::size_t entry, std::uint16_t offset, std::uint16_t length) {
  PutLe16(MemoryImages.DriverImage + entry, offset);
  PutLe16(MemoryImages.DriverImage + entry + 2, length);
}

// A chip with a driver, loaded data and settings; every field its own value.
void SetFixedState() {
  ResetProgramState();
  TSelectedChip& chip = SelectedChip;
  chip.ChipCode = 0x53;
  chip.ChipFamilyCode = 0x04;
  chip.ChipSubType = 0x02;
  chip.OptionFormat = 0x01;
  chip.ChipSubParam1 = 0x11;
  chip.ChipSubParam2 = 0x22;
  chip.EepSize = 0x800;
  chip.MainStart = 0x08000000;
  chip.EepStart = 0x08100000;
  chip.MainPageSize = 512;
  chip.EepPageSize = 64;
  chip.ChipExtParam1 = 0x5A;
  chip.ChipExtParam2 = 0xA5;
  chip.ControlBytes = {0x81, 0x42, 0x03, 0x14, 0x05, 0x60, 0x07, 0xC0};
  chip.MainBaseOffset = 0x1000;
  chip.UseFlashDriver = 1;
  TProgramSettings& settings = ProgramSettings;
  settings.DeviceAddress = 2;
  settings.AutoDetect = 1;
  settings.PowerUpTime = 10;
  settings.PowerDownTime = 20;
  settings.ChipInTime = 17;
  settings.ChipOutTime = 18;
  settings.ChipExtWord = 0xBEEF;
  settings.RunTime = 300;
  settings.SnFlags = 0x81;
  settings.SnSize = 4;
  settings.CountLimit = 5000;
  settings.SnGain = 3;
  settings.SnValue = 100000;
  settings.SnAddress = 0x0800FFF0;
  TObjectState& object = ObjectState;
  object.MainDataLength = 0x10000;
  object.MainSum16 = 0x1234;
  object.MainSumLow = 0x5678;
  object.EepSum16 = 0x9ABC;
  object.EepSumLow = 0xDEF0;
  object.OptionSum16 = 0x0F0F;
  object.OptionSum = 0xF0F0;
  object.FileChecksum = 0x00C0FFEE;
  SessionState.ProgrammerCount = 4;
  SessionState.ReadStartAddress = 0x08001230;
  SessionState.ReadLength = 0x100;
  SessionState.DriverFileSize = 0x0567;
  SessionTexts.ChipName = "AC7801MBTE";
  SessionTexts.ChipText2 = "firmware_v1.hex";
  for (std::size_t i = 0; i < 0x10000; ++i)
    MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(i * 31 + (i >> 8));
  for (std::size_t i = 0; i < 0x4000; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 13 + 5);
  for (std::size_t i = 0; i < kOptionImageSize; ++i) MemoryImages.OptionImage[i] = static_cast<std::uint8_t>(i ^ 0x5C);
  for (std::size_t i = 0; i < kDriverImageSize; ++i) MemoryImages.DriverImage[i] = static_cast<std::uint8_t>(i * 3 + 1);
  SetDriverEntry(0x20, 0x100, 40);  // blank check
  SetDriverEntry(0x24, 0x200, 24);  // checksum read
  SetDriverEntry(0x28, 0x300, 32);  // erase
  SetDriverEntry(0x2C, 0x400, 48);  // program
  SetDriverEntry(0x30, 0x500, 16);  // option, common
  TakeRunSettings(kCh, false);       // as the programmer's operation started
}

Bytes Frame(int ch, std::uint16_t length) {
  return Bytes(CommBuffers.TxFrameBuffers[ch], CommBuffers.TxFrameBuffers[ch] + length);
}

Bytes PacketBytes(int ch, std::size_t n) {
  return Bytes(CommBuffers.PacketBuffers[ch], CommBuffers.PacketBuffers[ch] + n);
}

// The packet a programmer gets out of the frame.
Bytes Unframe(const Bytes& frame) {
  Bytes source = frame;
  Bytes packet(kPacketBufferSize);
  std::uint16_t decoded = 0;
  std::uint16_t sourceLength = static_cast<std::uint16_t>(source.size());
  EXPECT_EQ(SlipDecode(source, packet, decoded, sourceLength), 0);
  packet.resize(decoded);
  return packet;
}

// Frame of ch's packet decodes to the packet, whose length fits its header and
// whose checksum covers every byte before it.
Bytes CheckedPacket(int ch, std::uint16_t frameLength) {
  const Bytes packet = Unframe(Frame(ch, frameLength));
  EXPECT_GE(packet.size(), 10u);
  if (packet.size() < 10) return packet;
  EXPECT_EQ(packet, PacketBytes(ch, packet.size()));
  EXPECT_EQ(packet.size(), 8 + GetLe(&packet[6], 2) + 2);
  return packet;
}

std::uint16_t StoredChecksum(const Bytes& packet) {
  return static_cast<std::uint16_t>(GetLe(&packet[packet.size() - 2], 2));
}

TEST(CommandPackets, FixedFramesWhateverTheChip) {
  const Bytes reset = {0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00,
                       0x00, 0xCD, 0x02, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const Bytes probe = {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (bool chip : {false, true}) {
    ResetProgramState();
    if (chip) SetFixedState();
    EXPECT_EQ(Frame(kCh, FrameReset(kCh)), reset);
    EXPECT_EQ(Frame(kCh, FrameLinkProbe(kCh)), probe);
  }
}

// Frames of every kind from the fixed state, the generator seeded before each.
// The digests come from an independent model of the packet layouts.
TEST(CommandPackets, GoldenFrames) {
  struct Case {
    const char* name;
    std::uint8_t state;
    std::function<void()> adjust;
    std::function<std::uint16_t()> build;
    std::uint16_t frameLength;
    std::uint32_t crc;
  };
  const auto none = [] {};
  const Case cases[] = {
      {"chip_data", kOpChipDataDownload, none, [] { return FrameChipData(0x1A2B, kCh); }, 1053, 0x44AB93B7},
      {"driver_block", kOpDriverDownload, none, [] { return FrameDriverBlock(kCh); }, 2081, 0x9895BC26},
      {"main_data", kOpMainDownload, none, [] { return FrameMainDataBlock(4, kCh); }, 4145, 0x82197C7F},
      {"eep_data", kOpEepDownload, none, [] { return FrameEepDataBlock(8, kCh); }, 4145, 0xEA55C29C},
      {"blank_check", kOpBlankCheck, none, [] { return FrameCommand(kCmdOperation, kSubBlankCheck, kCh); }, 1138,
       0x170B9764},
      {"erase_no_common", kOpErase, [] { SelectedChip.ChipFamilyCode = 0x08; },
       [] { return FrameCommand(kCmdOperation, kSubErase, kCh); }, 130, 0x0D42FB4D},
      {"verify_main", kOpVerifyMain, none, [] { return FrameCommand(kCmdMainBlock, 12, kCh); }, 1138, 0x0014A0BC},
      {"program_main", kOpProgramMain, none, [] { return FrameMainProgramBlock(4, kCh); }, 4498, 0x29AC296B},
      {"program_eep", kOpProgramEep, none, [] { return FrameEepProgramBlock(0, kCh); }, 4498, 0x691AD66D},
      {"option", kOpWriteOption, none, [] { return FrameOptionData(kCh); }, 1146, 0xDAFBC9C1},
      {"option_wide", kOpWriteOption,
       [] {
         SelectedChip.UseFlashDriver = 0;
         SelectedChip.ChipFamilyCode = 0xC0;
       },
       [] { return FrameOptionData(kCh); }, 4228, 0x9035D03F},
      {"read_memory", kOpReadMemory, none, [] { return FrameReadMemory(kCh); }, 82, 0x5D8AA056},
      {"reset", kOpIdle, none, [] { return FrameReset(kCh); }, 19, 0x0C97CA72},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    c.adjust();
    ProgrammerState.ProgOpCode[kCh] = c.state;
    SetRandomSeed(kSeed);
    const std::uint16_t length = c.build();
    ASSERT_EQ(length, c.frameLength);
    EXPECT_EQ(Crc32(Frame(kCh, length)), c.crc);
  }
}

TEST(CommandPackets, CommandWithoutDriver) {
  SetFixedState();
  SelectedChip.UseFlashDriver = 0;
  ProgrammerState.ProgOpCode[kCh] = kOpBlankCheck;
  SetRandomSeed(kSeed);
  const Bytes packet = CheckedPacket(kCh, FrameCommand(kCmdOperation, kSubBlankCheck, kCh));
  ASSERT_EQ(packet.size(), 90u);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 8), (Bytes{0x93, 0x05, 0x00, 0x53, 0x04, 0x02, 0x50, 0x00}));
  SetRandomSeed(kSeed);
  BuildParameterBlock(200, 0, kCh);
  EXPECT_EQ(Bytes(packet.begin() + 8, packet.begin() + 88),
            Bytes(CommBuffers.PacketBuffers[kCh] + 200, CommBuffers.PacketBuffers[kCh] + 280));
  EXPECT_EQ(StoredChecksum(packet), Checksum16(packet, 88));
}

TEST(CommandPackets, DataBlocksCarryTheirImageRange) {
  struct Case {
    const char* name;
    std::uint32_t baseOffset;
    std::function<std::uint16_t()> build;
    std::uint8_t code;
    std::uint16_t block;
    const std::uint8_t* image;
    std::size_t start;
    std::size_t dataOffset;
  };
  const Case cases[] = {
      {"main_block_8", 0, [] { return FrameMainDataBlock(8, kCh); }, 0x55, 8, MemoryImages.MainFlashImage, 8192, 8},
      {"main_block_8_base", 0x1000, [] { return FrameMainDataBlock(8, kCh); }, 0x55, 8, MemoryImages.MainFlashImage,
       0x1000 + 8192, 8},
      {"eep_block_4", 0x1000, [] { return FrameEepDataBlock(4, kCh); }, 0x5A, 4, MemoryImages.EepImage, 4096, 8},
      {"program_main_block_4", 0x1000, [] { return FrameMainProgramBlock(4, kCh); }, 0x95, 4,
       MemoryImages.MainFlashImage, 0x1000 + 4096, 88},
      {"program_eep_block_8", 0, [] { return FrameEepProgramBlock(8, kCh); }, 0x99, 8, MemoryImages.EepImage, 8192, 88},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    SelectedChip.UseFlashDriver = 0;
    SelectedChip.MainBaseOffset = c.baseOffset;
    const Bytes packet = CheckedPacket(kCh, c.build());
    ASSERT_EQ(packet.size(), c.dataOffset + 4096 + 2);
    EXPECT_EQ(packet[0], c.code);
    EXPECT_EQ(GetLe(&packet[1], 2), c.block);
    EXPECT_TRUE(std::equal(packet.begin() + c.dataOffset, packet.begin() + c.dataOffset + 4096, c.image + c.start));
    EXPECT_EQ(StoredChecksum(packet), Checksum16(packet, static_cast<std::uint32_t>(packet.size() - 2)));
  }
}

// A block that would pass the end of its image is not built: no packet, no frame.
TEST(CommandPackets, DataSendersStayInsideTheirImage) {
  constexpr std::uint32_t kLastMainBlockBase = kMainFlashImageSize - 4096;
  struct Case {
    const char* name;
    std::uint32_t baseOffset;
    std::function<std::uint16_t()> build;
    bool built;
  };
  const Case cases[] = {
      {"main_last_block", kLastMainBlockBase, [] { return FrameMainDataBlock(0, kCh); }, true},
      {"main_past_end", kLastMainBlockBase, [] { return FrameMainDataBlock(1, kCh); }, false},
      {"main_offset_wraps", 0xFFFFFC00, [] { return FrameMainDataBlock(1, kCh); }, false},
      {"main_block_far_out", 0, [] { return FrameMainDataBlock(0xFFFF, kCh); }, false},
      {"program_main_last_block", kLastMainBlockBase, [] { return FrameMainProgramBlock(0, kCh); }, true},
      {"program_main_past_end", kLastMainBlockBase + 1, [] { return FrameMainProgramBlock(0, kCh); }, false},
      {"eep_last_block", 0, [] { return FrameEepDataBlock(252, kCh); }, true},
      {"eep_past_end", 0, [] { return FrameEepDataBlock(253, kCh); }, false},
      {"program_eep_last_block", 0, [] { return FrameEepProgramBlock(252, kCh); }, true},
      {"program_eep_past_end", 0, [] { return FrameEepProgramBlock(253, kCh); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    SelectedChip.MainBaseOffset = c.baseOffset;
    std::memset(CommBuffers.PacketBuffers[kCh], 0xEE, kPacketBufferSize);
    std::memset(CommBuffers.TxFrameBuffers[kCh], 0xEE, kTxFrameBufferSize);
    const std::uint16_t length = c.build();
    if (c.built) {
      EXPECT_GT(length, 0);
      CheckedPacket(kCh, length);
    } else {
      EXPECT_EQ(length, 0);
      const auto untouched = [](const std::uint8_t* p, std::size_t n) {
        return std::all_of(p, p + n, [](std::uint8_t v) { return v == 0xEE; });
      };
      EXPECT_TRUE(untouched(CommBuffers.PacketBuffers[kCh], kPacketBufferSize));
      EXPECT_TRUE(untouched(CommBuffers.TxFrameBuffers[kCh], kTxFrameBufferSize));
    }
  }
}

TEST(CommandPackets, ChipDataIsMaskedByTheKey) {
  auto build = [](std::uint16_t key) {
    SetFixedState();
    SetRandomSeed(kSeed);
    return CheckedPacket(kCh, FrameChipData(key, kCh));
  };
  SetFixedState();
  SetRandomSeed(kSeed);
  BuildChipDataBlock(RunSettingsOf(kCh), kCh);
  const Bytes block(CommBuffers.PacketBuffers[kCh] + 8, CommBuffers.PacketBuffers[kCh] + 520);

  const Bytes packet = build(0x1A2B);
  ASSERT_EQ(packet.size(), 1034u);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 8), (Bytes{0x53, 0x2B, 0x1A, 0x53, 0x04, 0x02, 0x00, 0x04}));
  const std::uint8_t* payload = &packet[8];
  const std::uint8_t lo = ((0x2B ^ 0xE4) | 0x80), hi = ((0x1A ^ 0xD3) | 0x80);
  for (std::size_t i = 0; i < 1024; ++i) {
    ASSERT_EQ(payload[i] ^ block[i % 512], (i & 1) ? hi : lo) << i;
  }
  EXPECT_TRUE(std::equal(payload, payload + 512, payload + 512));
  EXPECT_EQ(StoredChecksum(packet), Checksum16(packet, 1032));

  // Only the key's high byte changed: only the odd bytes' mask changes.
  const Bytes other = build(0x772B);
  for (std::size_t i = 8; i < 1032; ++i) {
    if ((i - 8) & 1) {
      ASSERT_NE(other[i], packet[i]) << i;
    } else {
      ASSERT_EQ(other[i], packet[i]) << i;
    }
  }
}

// Where the driver sections go, by packet, chip family and state.
TEST(CommandPackets, DriverSectionsByPacketAndFamily) {
  struct Case {
    const char* name;
    std::uint8_t family;
    std::uint8_t state;
    std::function<std::uint16_t()> build;
    std::size_t payloadLength;
    std::size_t opAt;  // 0: no operation section
    std::size_t opEntry;
    std::size_t commonAt;  // 0: no common section
  };
  const auto command = [] { return FrameCommand(kCmdOperation, kSubBlankCheck, kCh); };
  const auto program = [] { return FrameMainProgramBlock(0, kCh); };
  const auto option = [] { return FrameOptionData(kCh); };
  const Case cases[] = {
      {"blank_check_family_04", 0x04, kOpBlankCheck, command, 1104 + 16, 88, 0x20, 1112},
      {"blank_check_family_00", 0x00, kOpBlankCheck, command, 1104 + 16, 88, 0x20, 1112},
      {"checksum_family_18", 0x18, kOpReadChecksum, command, 1104 + 16, 88, 0x24, 1112},
      {"erase_family_10", 0x10, kOpErase, command, 80 + 32, 88, 0x28, 0},
      {"verify_family_04", 0x04, kOpVerifyMain, command, 1104 + 16, 0, 0, 1112},
      {"verify_family_10", 0x10, kOpVerifyMain, command, 80, 0, 0, 0},
      {"program_family_04", 0x04, kOpProgramMain, program, 4432 + 16, 4184, 0x2C, 4440},
      {"program_family_00", 0x00, kOpProgramMain, program, 4176 + 48, 4184, 0x2C, 0},
      {"option_family_04", 0x04, kOpWriteOption, option, 1104 + 16, 1112, 0x30, 0},
      {"option_family_c0", 0xC0, kOpWriteOption, option, 1104 + 16, 1112, 0x30, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    SelectedChip.ChipFamilyCode = c.family;
    ProgrammerState.ProgOpCode[kCh] = c.state;
    const Bytes packet = CheckedPacket(kCh, c.build());
    ASSERT_EQ(packet.size(), 8 + c.payloadLength + 2);
    const std::uint8_t* image = MemoryImages.DriverImage;
    if (c.opAt) {
      const std::size_t offset = GetLe(image + c.opEntry, 2), length = GetLe(image + c.opEntry + 2, 2);
      EXPECT_TRUE(std::equal(packet.begin() + c.opAt, packet.begin() + c.opAt + length, image + offset));
    }
    if (c.commonAt) {
      EXPECT_TRUE(std::equal(packet.begin() + c.commonAt, packet.begin() + c.commonAt + 16, image + 0x500));
    }
  }
}

// Which states' packets carry the driver, told by the packets themselves:
// a state's packet is longer with the driver than without it exactly when
// it carries a section; the driver block is the driver.
TEST(CommandPackets, PacketsCarryDriverAsThePacketsDo) {
  const auto command = [](std::uint8_t code, std::uint16_t argument) {
    return [code, argument] { return FrameCommand(code, argument, kCh); };
  };
  const struct {
    std::uint8_t state;
    std::function<std::uint16_t()> build;
  } senders[] = {
      {kOpChipDataDownload, [] { return FrameChipData(0x1234, kCh); }},
      {kOpMainDownload, [] { return FrameMainDataBlock(0, kCh); }},
      {kOpEepDownload, [] { return FrameEepDataBlock(0, kCh); }},
      {kOpBlankCheck, command(kCmdOperation, kSubBlankCheck)},
      {kOpErase, command(kCmdOperation, kSubErase)},
      {kOpReadChecksum, command(kCmdOperation, kSubReadChecksum)},
      {kOpReadOption, command(kCmdOperation, kSubReadOption)},
      {kOpChipInfo, command(kCmdOperation, kSubChipInfo)},
      {kOpVerifyMain, command(kCmdMainBlock, 0)},
      {kOpReadMain, command(kCmdMainBlock, 0)},
      {kOpVerifyEep, command(kCmdEepBlock, 0)},
      {kOpReadEep, command(kCmdEepBlock, 0)},
      {kOpProgramMain, [] { return FrameMainProgramBlock(0, kCh); }},
      {kOpProgramEep, [] { return FrameEepProgramBlock(0, kCh); }},
      {kOpWriteOption, [] { return FrameOptionData(kCh); }},
      {kOpReadMemory, [] { return FrameReadMemory(kCh); }},
  };
  for (const std::uint8_t family : {0x00, 0x01, 0x04, 0x08, 0x10, 0x18, 0xC0}) {
    for (const auto& sender : senders) {
      SCOPED_TRACE("family " + std::to_string(family) + ", state " + std::to_string(sender.state));
      SetFixedState();
      SelectedChip.ChipFamilyCode = family;
      ProgrammerState.ProgOpCode[kCh] = sender.state;
      const bool carries = PacketsCarryDriver(sender.state);
      const std::size_t withDriver = CheckedPacket(kCh, sender.build()).size();
      SelectedChip.UseFlashDriver = 0;
      const std::size_t withoutDriver = CheckedPacket(kCh, sender.build()).size();
      EXPECT_EQ(carries, withDriver != withoutDriver);
      EXPECT_FALSE(PacketsCarryDriver(sender.state));  // the chip uses none now
    }
    SetFixedState();
    SelectedChip.ChipFamilyCode = family;
    EXPECT_TRUE(PacketsCarryDriver(kOpDriverDownload));
  }
}

// An operation is refused only for a chip with a driver that did not load,
// and only when one of its states would send it.
TEST(DriverCheck, RefusesWhatWouldSendADriverThatDidNotLoad) {
  const std::uint8_t download[] = {kOpChipDataDownload, kOpDriverDownload, kOpMainDownload, kOpEepDownload};
  const std::uint8_t readRange[] = {kOpReadMemory};
  const std::uint8_t verify[] = {kOpVerifyMain, kOpVerifyEep};
  SetFixedState();
  SessionState.DriverValid = 0;
  EXPECT_TRUE(DriverMissingFor(download));
  EXPECT_FALSE(DriverMissingFor(readRange));
  EXPECT_TRUE(DriverMissingFor(verify));  // family 0x04 sends the common section
  SelectedChip.ChipFamilyCode = 0x08;
  EXPECT_FALSE(DriverMissingFor(verify));
  SessionState.DriverValid = 1;
  EXPECT_FALSE(DriverMissingFor(download));
  SessionState.DriverValid = 0;
  SelectedChip.UseFlashDriver = 0;
  EXPECT_FALSE(DriverMissingFor(download));

  SessionTexts.DriverFilePath = "/opt/line/QuorixDRVs/LDR01.VDR";
  EXPECT_EQ(DriverMissingText(), "Flash Driver \"/opt/line/QuorixDRVs/LDR01.VDR\" Not Loaded, Operation Not Started!");
  SessionTexts.DriverFilePath.clear();  // no driver file serves the part
  EXPECT_EQ(DriverMissingText(), "Error Chip or Driver not exists!");
}

TEST(CommandPackets, NoSectionsWithoutADriver) {
  SetFixedState();
  SelectedChip.UseFlashDriver = 0;
  for (std::uint8_t state : {kOpBlankCheck, kOpProgramMain}) {
    ProgrammerState.ProgOpCode[kCh] = state;
    EXPECT_EQ(CheckedPacket(kCh, FrameCommand(kCmdOperation, kSubBlankCheck, kCh)).size(), 90u);
    EXPECT_EQ(CheckedPacket(kCh, FrameMainProgramBlock(0, kCh)).size(), 4186u);
  }
}

// An operation section longer than the room before the common section is
// copied as far as the packet goes, and the common section at its fixed
// place over its end.
TEST(CommandPackets, TheCommonSectionKeepsItsPlaceOverALongOperationSection) {
  struct Case {
    const char* name;
    std::uint8_t state, entry, family;
    std::uint16_t operationAt, commonAt, room;
    std::function<std::uint16_t()> frame;
  };
  const Case cases[] = {
      {"command", kOpBlankCheck, 0x20, 0x04, 88, 1112, 1024,
       [] { return FrameCommand(kCmdOperation, kSubBlankCheck, kCh); }},
      {"program block", kOpProgramMain, 0x2C, 0x04, 4184, 4440, 256, [] { return FrameMainProgramBlock(0, kCh); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    SelectedChip.ChipFamilyCode = c.family;
    SetDriverEntry(c.entry, 0x1000, static_cast<std::uint16_t>(c.room + 40));
    ProgrammerState.ProgOpCode[kCh] = c.state;
    const Bytes packet = CheckedPacket(kCh, c.frame());
    ASSERT_EQ(packet.size(), c.commonAt + 16 + 2u);
    EXPECT_TRUE(std::equal(packet.begin() + c.operationAt, packet.begin() + c.commonAt, MemoryImages.DriverImage + 0x1000));
    EXPECT_TRUE(std::equal(packet.begin() + c.commonAt, packet.begin() + c.commonAt + 16, MemoryImages.DriverImage + 0x500));
  }
}

TEST(CommandPackets, OptionPacket) {
  struct Case {
    const char* name;
    std::uint8_t useDriver;
    std::uint8_t family;
    std::size_t optionBytes;
    std::size_t payloadLength;
  };
  const Case cases[] = {
      {"wide_without_driver", 0, 0xC0, 4096, 4176},
      {"narrow_without_driver", 0, 0x04, 1024, 1104},
      {"with_driver", 1, 0xC0, 1024, 1104 + 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFixedState();
    SelectedChip.UseFlashDriver = c.useDriver;
    SelectedChip.ChipFamilyCode = c.family;
    ProgrammerState.ProgOpCode[kCh] = kOpWriteOption;
    const Bytes packet = CheckedPacket(kCh, FrameOptionData(kCh));
    ASSERT_EQ(packet.size(), 8 + c.payloadLength + 2);
    EXPECT_EQ(GetLe(&packet[1], 2), 0x35u);
    EXPECT_TRUE(std::equal(packet.begin() + 88, packet.begin() + 88 + c.optionBytes, MemoryImages.OptionImage));
    // The checksum leaves out the last payload byte.
    const auto e = static_cast<std::uint32_t>(packet.size() - 2);
    EXPECT_EQ(StoredChecksum(packet), Checksum16(packet, e - 1));
    EXPECT_NE(StoredChecksum(packet), Checksum16(packet, e));
  }
}

TEST(CommandPackets, ReadMemoryCarriesTheRange) {
  SetFixedState();
  SetRandomSeed(kSeed);
  const Bytes packet = CheckedPacket(kCh, FrameReadMemory(kCh));
  ASSERT_EQ(packet.size(), 74u);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 8), (Bytes{0x93, 0x79, 0x00, 0x53, 0x04, 0x02, 0x40, 0x00}));
  SetRandomSeed(kSeed);
  BuildParameterBlock(1000, 0, kCh);
  const std::uint8_t* block = CommBuffers.PacketBuffers[kCh] + 1000;
  EXPECT_TRUE(std::equal(packet.begin() + 8, packet.begin() + 56, block));
  EXPECT_EQ(GetLe(&packet[56], 4), 0x08001230u);
  EXPECT_EQ(GetLe(&packet[60], 2), 0x100u);
  EXPECT_TRUE(std::equal(packet.begin() + 62, packet.begin() + 72, block + 54));
  EXPECT_EQ(StoredChecksum(packet), Checksum16(packet, 72));
}

// Frame delimiters inside the header, the payload and the checksum are escaped.
TEST(CommandPackets, DelimitersAreEscapedEverywhere) {
  SetFixedState();
  SelectedChip.ChipCode = 0xC0;
  SelectedChip.ChipFamilyCode = 0xDB;
  SelectedChip.ChipSubType = 0xC0;
  std::uint16_t key = 0;
  std::uint16_t length = 0;
  Bytes packet;
  // A key whose packet checksum holds a delimiter byte.
  for (; key < 0xFFFF; ++key) {
    length = FrameChipData(key, kCh);
    packet = PacketBytes(kCh, 1034);
    if (packet[1032] == 0xC0 || packet[1033] == 0xC0 || packet[1032] == 0xDB || packet[1033] == 0xDB) break;
  }
  ASSERT_LT(key, 0xFFFF);
  const Bytes frame = Frame(kCh, length);
  const std::size_t specials =
      std::count_if(packet.begin(), packet.end(), [](std::uint8_t v) { return v == 0xC0 || v == 0xDB; });
  EXPECT_EQ(frame.size(), 1 + packet.size() + specials + 6);
  EXPECT_EQ(std::count(frame.begin() + 1, frame.end() - 6, 0xC0), 0);
  EXPECT_EQ(Unframe(frame), packet);
}

// The largest packet: a program block with the whole image as common section,
// every byte of it a delimiter.
TEST(CommandPackets, LargestPacketFitsItsBuffers) {
  SetFixedState();
  std::memset(MemoryImages.DriverImage, 0xC0, kDriverImageSize);
  SetDriverEntry(0x2C, 0x400, 256);
  SetDriverEntry(0x30, 0, 16'384);
  std::memset(MemoryImages.MainFlashImage, 0xDB, 0x10000);
  ProgrammerState.ProgOpCode[kCh] = kOpProgramMain;
  const std::uint16_t length = FrameMainProgramBlock(0, kCh);
  ASSERT_GT(length, 0);
  EXPECT_LE(length, kTxFrameBufferSize);
  const Bytes packet = CheckedPacket(kCh, length);
  EXPECT_EQ(packet.size(), kPacketBufferSize);
  EXPECT_TRUE(std::equal(packet.begin() + 4440, packet.begin() + 4440 + 16'384, MemoryImages.DriverImage));
}

}  // namespace
