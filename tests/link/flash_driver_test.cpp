#include "link/flash_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "data/operator_io.h"
#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "scripted_prompts.h"
#include "sim_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kCorrupt = "Driver Data Check Error, File may be corrupted!";
const std::string kNoRow = "Error Chip or Driver not exists!";
const std::string kNoDriver = "No Driver Has been Founded, Please Check!";

struct TEntry {
  std::uint16_t Offset, Length;
};

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A driver file before scrambling: magic, header, key, directory, data, 40 closing bytes.
struct TDriverFile {
  std::uint8_t HeaderByte8 = 0x12, HeaderByte9 = 0x34;
  std::array<std::uint8_t, 16> Key = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                      0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  // blank check, checksum read, erase, program, option (common)
  std::array<TEntry, 5> Directory = {{{0x40, 16}, {0x50, 8}, {0x58, 24}, {0x70, 32}, {0x90, 12}}};
  Bytes Data = Pattern(0x100);

  static Bytes Pattern(std::size_t n) {
    Bytes d(n);
    for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<std::uint8_t>(i * 37 + 5);
    return d;
  }

  Bytes Plain() const {
    Bytes b(0x40 + Data.size() + 40, 0xA5);
    std::memcpy(b.data(), "QVFLSDRV", 8);
    b[8] = HeaderByte8;
    b[9] = HeaderByte9;
    Put16(b, 0x0A, Checksum16(Data, static_cast<std::uint32_t>(Data.size())));
    Put16(b, 0x0C, static_cast<std::uint16_t>(Data.size()));
    std::copy(Key.begin(), Key.end(), b.begin() + 0x10);
    for (std::size_t e = 0; e < Directory.size(); ++e) {
      Put16(b, 0x20 + 4 * e, Directory[e].Offset);
      Put16(b, 0x22 + 4 * e, Directory[e].Length);
    }
    std::copy(Data.begin(), Data.end(), b.begin() + 0x40);
    return b;
  }

  // Everything from 0x20 on, by the simulator's builder (written apart from the loader).
  Bytes Scramble(Bytes b) const {
    sim::ScrambleDriverFile(b, Key);
    return b;
  }

  Bytes File() const { return Scramble(Plain()); }
};

// A valid driver file of exactly `size` bytes (at least 0x68).
TDriverFile DriverOfSize(std::size_t size) {
  TDriverFile d;
  d.Data = TDriverFile::Pattern(size - 0x68);
  return d;
}

class FlashDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    char pattern[] = "/tmp/velmot_drv_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::create_directory(dir_ / "QuorixDRVs");
    SessionTexts.AppDir = dir_.string() + "/";
    SessionTexts.ChipName = "AC7801MBTE";
    SelectedChip.UseFlashDriver = 1;
    prompts_.Shown.clear();
    SetPrompts(&prompts_);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    std::filesystem::remove_all(dir_);
  }

  std::string DriverPath() const { return (dir_ / "QuorixDRVs" / "LDR01.VDR").string(); }

  void WriteDriver(const Bytes& bytes) const {
    std::ofstream out(DriverPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path dir_;
  TScriptedPrompts prompts_;
};

TEST_F(FlashDriverTest, PrefixTableFirstMatchWins) {
  struct Case {
    const char* chip;
    const char* file;  // "" for no row
  };
  const Case cases[] = {
      {"AC7801MBTE", "LDR01"},
      {"IND83209", "LDR02"},
      {"IND862", "LDR03"},
      {"ML630Q464", "LDR04"},
      {"ML630Q448", "LDR05"},
      {"ML630Q44", ""},
      {"MR88F001", "LDR06"},
      {"LCP037K6", "LDR07"},
      {"LCM32F031", "LDR07"},
      {"SN32F759", "LDR08"},
      {"SN32F768", "LDR08"},
      {"SN32F779", "LDR08"},
      {"SN32F74", ""},
      {"BAT32G128", "LDR09"},
      {"BAT32G139", "LDR09"},
      {"BAT32G157", "LDR09"},
      {"BAT32G179", "LDR09"},
      {"BAT32A2371", "LDR09"},
      {"BAT32A2395", "LDR09"},
      {"BAT32A279KM64xx", "LDR09"},
      {"BAT32G14", ""},
      {"SPC1168", "LDR10"},
      {"SPC1169", "LDR10"},
      {"SPD1168", "LDR10"},
      {"SPD1169", "LDR10"},
      {"SPD1176", "LDR10"},
      {"SPD1179", "LDR10"},
      {"SPD1177", ""},
      {"LE5010", "LDR02"},
      {"LE5110", "LDR02"},
      {"SA32B1xyz", "LDR11"},
      {"ac7801", ""},
      {"AC7", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chip);
    prompts_.Shown.clear();
    const std::string path = DriverFileForChip(c.chip);
    if (*c.file) {
      EXPECT_EQ(path, SessionTexts.AppDir + "QuorixDRVs/" + c.file + ".VDR");
      EXPECT_TRUE(prompts_.Shown.empty());
    } else {
      EXPECT_EQ(path, "");
      EXPECT_EQ(prompts_.Shown, std::vector<std::string>{kNoRow});
    }
  }
}

TEST_F(FlashDriverTest, GoodDriverLoadsDescrambled) {
  const TDriverFile driver;
  const Bytes plain = driver.Plain();
  const Bytes file = driver.File();
  WriteDriver(file);
  LoadFlashDriver();

  EXPECT_TRUE(prompts_.Shown.empty());
  EXPECT_EQ(SessionState.DriverValid, 1);
  EXPECT_EQ(SessionTexts.DriverFilePath, DriverPath());
  EXPECT_EQ(SessionState.DriverFileSize, file.size());
  EXPECT_EQ(SessionState.DriverHeaderByte8, 0x12);
  EXPECT_EQ(SessionState.DriverHeaderByte9, 0x34);
  const std::uint8_t* image = MemoryImages.DriverImage;
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), image));
  EXPECT_TRUE(std::equal(file.begin(), file.begin() + 0x20, image));  // header and key stay plain

  // The last block runs on past the file: its 0xFF bytes are XORed as well; nothing behind it.
  const std::size_t last = file.size() - 1;
  const std::size_t blockEnd = 0x20 + 16 * (last / 16) + 16;
  for (std::size_t at = file.size(); at < blockEnd; ++at) {
    const std::size_t b = (at - 0x20) / 16;
    EXPECT_EQ(image[at], 0xFF ^ 0x6B ^ b ^ driver.Key[(at - 0x20) % 16]) << at;
  }
  EXPECT_TRUE(std::all_of(image + blockEnd, image + kDriverImageSize, [](std::uint8_t v) { return v == 0xFF; }));
}

// Each file's outcome: loaded, or refused with the corrupt-file box. The file
// size is kept either way.
TEST_F(FlashDriverTest, FileChecks) {
  struct Case {
    const char* name;
    std::function<Bytes()> file;
    bool valid;
    std::uint8_t family = 0x08;  // no common section
  };
  auto mutated = [](std::function<void(Bytes&)> change, TDriverFile d = {}) {
    return [=] {
      Bytes plain = d.Plain();
      change(plain);
      return d.Scramble(plain);
    };
  };
  auto withDirectory = [](std::size_t entry, TEntry section) {
    TDriverFile d;
    d.Directory[entry] = section;
    return d;
  };
  const Case cases[] = {
      {"good", [] { return TDriverFile{}.File(); }, true},
      {"wrong_magic", mutated([](Bytes& b) { b[7] = 'W'; }), false},
      {"checksum_off_by_one", mutated([](Bytes& b) { ++b[0x0A]; }), false},
      // Self-consistent checksum over a data length that does not match the file.
      {"length_one_more", mutated([](Bytes& b) {
         Put16(b, 0x0C, 0x101);
         Put16(b, 0x0A, Checksum16Range(b, 0x40, 0x40 + 0x100));
       }),
       false},
      {"length_one_less", mutated([](Bytes& b) {
         Put16(b, 0x0C, 0xFF);
         Put16(b, 0x0A, Checksum16Range(b, 0x40, 0x40 + 0xFE));
       }),
       false},
      {"size_0", [] { return Bytes{}; }, false},
      // 0x67 bytes: the data length would be -1; 0xFFFF is what 16-bit arithmetic accepts.
      {"size_0x67",
       [] {
         TDriverFile d = DriverOfSize(0x68);
         Bytes plain = d.Plain();
         Put16(plain, 0x0C, 0xFFFF);
         plain.pop_back();
         return d.Scramble(plain);
       },
       false},
      {"size_0x68_no_data", [] { return DriverOfSize(0x68).File(); }, true},
      {"size_16352", [] { return DriverOfSize(16'352).File(); }, true},
      {"size_16353", [] { return DriverOfSize(16'353).File(); }, true},
      {"size_16384", [] { return DriverOfSize(16'384).File(); }, true},
      {"size_16385", [] { return DriverOfSize(16'385).File(); }, false},
      {"size_20000", [] { return DriverOfSize(20'000).File(); }, false},
      {"entry_past_image",
       [=] {
         return withDirectory(1, {16'380, 8}).File();
       },
       false},
      {"entry_ends_at_image_end",
       [=] {
         return withDirectory(1, {16'376, 8}).File();
       },
       true},
      {"entry_far_out_of_length_0",
       [=] {
         return withDirectory(1, {0xFFFF, 0}).File();
       },
       true},
      // Operation sections longer than the room before the common section
      // (1,024 in the command packet, 256 in the program packets) load: the
      // common section is copied over their end.
      {"blank_section_1024_family_04",
       [=] {
         return withDirectory(0, {0x40, 1024}).File();
       },
       true, 0x04},
      {"blank_section_1025_family_04",
       [=] {
         return withDirectory(0, {0x40, 1025}).File();
       },
       true, 0x04},
      {"erase_section_1025_family_18",
       [=] {
         return withDirectory(2, {0x40, 1025}).File();
       },
       true, 0x18},
      {"erase_section_1025_family_08",
       [=] {
         return withDirectory(2, {0x40, 1025}).File();
       },
       true, 0x08},
      {"program_section_256_family_04",
       [=] {
         return withDirectory(3, {0x40, 256}).File();
       },
       true, 0x04},
      {"program_section_257_family_04",
       [=] {
         return withDirectory(3, {0x40, 257}).File();
       },
       true, 0x04},
      {"program_section_257_family_00",
       [=] {
         return withDirectory(3, {0x40, 257}).File();
       },
       true, 0x00},
      {"option_section_4000_family_04",
       [=] {
         return withDirectory(4, {0x40, 4000}).File();
       },
       true, 0x04},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    SelectedChip.ChipFamilyCode = c.family;
    std::fill(std::begin(MemoryImages.ChipDataBlock), std::end(MemoryImages.ChipDataBlock), 0x3C);
    const Bytes file = c.file();
    WriteDriver(file);
    LoadFlashDriver();

    EXPECT_EQ(SessionState.DriverValid, c.valid ? 1 : 0);
    EXPECT_EQ(prompts_.Shown, c.valid ? std::vector<std::string>{} : std::vector<std::string>{kCorrupt});
    EXPECT_EQ(SessionState.DriverFileSize, file.size());
    if (c.valid) {
      const Bytes plain = TDriverFile{}.Scramble(file);  // XOR undoes itself
      EXPECT_TRUE(std::equal(plain.begin(), plain.end(), MemoryImages.DriverImage));
    }
    // What lies behind the driver image is never touched by the descrambling.
    EXPECT_TRUE(std::all_of(std::begin(MemoryImages.ChipDataBlock), std::end(MemoryImages.ChipDataBlock),
                            [](std::uint8_t v) { return v == 0x3C; }));
  }
}

TEST_F(FlashDriverTest, FailedLoadKeepsWhatWasRead) {
  TDriverFile driver;
  Bytes plain = driver.Plain();
  ++plain[0x0A];
  WriteDriver(driver.Scramble(plain));
  LoadFlashDriver();
  EXPECT_EQ(SessionState.DriverValid, 0);
  EXPECT_EQ(SessionState.DriverFileSize, plain.size());
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), MemoryImages.DriverImage));
}

TEST_F(FlashDriverTest, ChipWithoutRowShowsBothBoxes) {
  WriteDriver(TDriverFile{}.File());
  LoadFlashDriver();
  ASSERT_EQ(SessionState.DriverValid, 1);

  SessionTexts.ChipName = "XYZ123";
  LoadFlashDriver();
  EXPECT_EQ(prompts_.Shown, (std::vector<std::string>{kNoRow, kNoDriver}));
  EXPECT_EQ(SessionState.DriverValid, 0);
  EXPECT_EQ(SessionTexts.DriverFilePath, "");
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.DriverImage), std::end(MemoryImages.DriverImage),
                          [](std::uint8_t v) { return v == 0xFF; }));
}

TEST_F(FlashDriverTest, MissingFileNamesThePath) {
  LoadFlashDriver();
  EXPECT_EQ(prompts_.Shown, std::vector<std::string>{"File \"" + DriverPath() + "\" is not exists, please check it!"});
  EXPECT_EQ(SessionState.DriverValid, 0);
  EXPECT_EQ(SessionTexts.DriverFilePath, DriverPath());
}

// Sections written straight into the image: entry e holds offset 0xC00 * (e + 1), length 8 * (e + 1).
class DriverSectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    std::uint8_t* image = MemoryImages.DriverImage;
    for (std::size_t i = 0; i < kDriverImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 11 + 7);
    for (int e = 0; e < 5; ++e) SetEntry(0x20 + 4 * e, static_cast<std::uint16_t>(0xC00 * (e + 1)), 8 * (e + 1));
    std::memset(CommBuffers.PacketBuffers[kCh], 0xEE, kPacketBufferSize);
  }

  static void SetEntry(std::size_t entry, std::uint16_t offset, std::uint16_t length) {
    std::uint8_t* image = MemoryImages.DriverImage;
    image[entry] = static_cast<std::uint8_t>(offset);
    image[entry + 1] = static_cast<std::uint8_t>(offset >> 8);
    image[entry + 2] = static_cast<std::uint8_t>(length);
    image[entry + 3] = static_cast<std::uint8_t>(length >> 8);
  }

  // The section of `entry` was copied to `position`, and nothing around it changed.
  static void ExpectCopied(std::size_t entry, std::size_t position) {
    const std::uint8_t* packet = CommBuffers.PacketBuffers[kCh];
    const std::uint8_t* image = MemoryImages.DriverImage;
    const std::size_t offset = image[entry] | image[entry + 1] << 8;
    const std::size_t length = image[entry + 2] | image[entry + 3] << 8;
    EXPECT_TRUE(std::equal(packet + position, packet + position + length, image + offset));
    if (position > 0) {
      EXPECT_EQ(packet[position - 1], 0xEE);
    }
    if (position + length < kPacketBufferSize) {
      EXPECT_EQ(packet[position + length], 0xEE);
    }
  }

  static bool PacketUntouched() {
    const std::uint8_t* packet = CommBuffers.PacketBuffers[kCh];
    return std::all_of(packet, packet + kPacketBufferSize, [](std::uint8_t v) { return v == 0xEE; });
  }

  static constexpr int kCh = 4;
};

TEST_F(DriverSectionTest, SectionByState) {
  struct Case {
    std::uint8_t state;
    std::uint8_t entry;  // 0: none
  };
  const Case cases[] = {
      {kOpBlankCheck, 0x20}, {kOpReadChecksum, 0x24}, {kOpErase, 0x28},   {kOpProgramMain, 0x2C},
      {kOpProgramEep, 0x2C}, {kOpWriteOption, 0x30},  {kOpVerifyMain, 0}, {kOpReadMain, 0},
      {kOpReadOption, 0},    {kOpChipInfo, 0},        {kOpIdle, 0},       {kOpChipDataDownload, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.state));
    SetUp();
    ProgrammerState.ProgOpCode[kCh] = c.state;
    const std::uint16_t length = AppendDriverSectionForOp(100, kCh);
    if (c.entry == 0) {
      EXPECT_EQ(length, 0);
      EXPECT_TRUE(PacketUntouched());
    } else {
      EXPECT_EQ(length, MemoryImages.DriverImage[c.entry + 2]);
      ExpectCopied(c.entry, 100);
    }
  }
}

TEST_F(DriverSectionTest, CommonSectionWhateverTheState) {
  for (std::uint8_t state : {kOpBlankCheck, kOpVerifyMain, kOpIdle}) {
    SetUp();
    ProgrammerState.ProgOpCode[kCh] = state;
    EXPECT_EQ(AppendDriverCommonSection(1112, kCh), 40);
    ExpectCopied(0x30, 1112);
  }
}

// A section is copied whole, or not at all.
TEST_F(DriverSectionTest, SectionsOnlyInsideImageAndPacket) {
  struct Case {
    const char* name;
    std::uint16_t offset, length;
    std::uint16_t position;
    bool copied;
  };
  const Case cases[] = {
      {"length_0", 0x100, 0, 100, false},
      {"ends_at_image_end", 16'384 - 64, 64, 100, true},
      {"one_past_image_end", 16'384 - 63, 64, 100, false},
      {"offset_beyond_image", 0xFFF0, 8, 100, false},
      {"whole_image", 0, 16'384, 4'440, true},
      {"reaches_checksum_room", 0, 64, kPacketBufferSize - 2 - 63, false},
      {"ends_before_checksum", 0, 64, kPacketBufferSize - 2 - 64, true},
      {"runs_past_packet_end", 0, 64, kPacketBufferSize - 60, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    ProgrammerState.ProgOpCode[kCh] = kOpBlankCheck;
    SetEntry(0x20, c.offset, c.length);
    const std::uint16_t length = AppendDriverSectionForOp(c.position, kCh);
    if (c.copied) {
      EXPECT_EQ(length, c.length);
      ExpectCopied(0x20, c.position);
    } else {
      EXPECT_EQ(length, 0);
      EXPECT_TRUE(PacketUntouched());
    }
  }
}

}  // namespace
