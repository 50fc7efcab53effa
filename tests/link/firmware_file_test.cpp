#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "data/program_state.h"
#include "firmware_file_builder.h"
#include "link/firmware_file.h"

namespace {

namespace fs = std::filesystem;

class FirmwareFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    std::string dir = (fs::temp_directory_path() / "velmot_fwr_XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    folder = dir;
    SessionTexts.AppDir = folder.string() + "/";
  }
  void TearDown() override {
    fs::remove_all(folder);
    ResetProgramState();
  }

  void Write(const std::vector<std::uint8_t>& bytes) {
    std::ofstream(FirmwareFilePath(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  TFirmwareCheck Load(const std::vector<std::uint8_t>& bytes) {
    Write(bytes);
    return LoadFirmwareFile(FirmwareFilePath());
  }
  static bool ImageStartsWith(const std::vector<std::uint8_t>& plain) {
    return std::memcmp(MemoryImages.FirmwareImage, plain.data(), plain.size()) == 0;
  }

  fs::path folder;
};

TEST_F(FirmwareFile, GoodFileUnscramblesItsImageAndHeader) {
  // Three blocks: past the table's end and past the key's return to 0 at 4 KB.
  TFirmwareFileSpec spec;
  spec.Image = Pattern(6144, 5);
  spec.DataLength = 6136;  // rounded up to 16
  spec.End = 0x1800;
  EXPECT_EQ(Load(BuildFirmwareFile(spec)), TFirmwareCheck::Loaded);

  EXPECT_EQ(SessionState.FirmwareLoaded, 1);
  EXPECT_TRUE(ImageStartsWith(spec.Image));
  EXPECT_STREQ(SessionState.FirmwareVersion, "V2.0.7");
  EXPECT_EQ(SessionState.FirmwareStart, 0x1000);
  EXPECT_EQ(SessionState.FirmwareEnd, 0x1800);
  EXPECT_EQ(SessionState.FirmwareWord3, 0x1234);
  EXPECT_EQ(SessionState.FirmwareWord4, 0xBEEF);
  EXPECT_EQ(SessionState.FirmwareDataLength, 6136);
  EXPECT_EQ(FirmwareBlockCount(), 3);
}

TEST_F(FirmwareFile, VersionTextMustBeginWithV) {
  TFirmwareFileSpec spec;
  spec.Version = "X1.0";
  Load(BuildFirmwareFile(spec));
  EXPECT_EQ(SessionState.FirmwareLoaded, 1);
  EXPECT_EQ(std::string(SessionState.FirmwareVersion, 9), std::string(9, '\0'));

  spec.Version = "V1.2.3.4";  // all eight characters, still terminated
  Load(BuildFirmwareFile(spec));
  EXPECT_STREQ(SessionState.FirmwareVersion, "V1.2.3.4");
}

TEST_F(FirmwareFile, LongerFileIsReadOnlyAsFarAsTheImageHolds) {
  TFirmwareFileSpec spec;
  std::vector<std::uint8_t> bytes = BuildFirmwareFile(spec);
  bytes.resize(kFirmwareImageSize + 5000, 0x5A);
  Load(bytes);
  EXPECT_EQ(SessionState.FirmwareLoaded, 1);
  EXPECT_TRUE(ImageStartsWith(Pattern(4096, spec.ImageSeed)));
}

TEST_F(FirmwareFile, BlockCountFollowsTheEndAddress) {
  struct Case {
    std::uint16_t end;
    int blocks;
    bool loads;  // with one block of data
  };
  const Case cases[] = {
      {0x1000, 1, true}, {0x13FF, 1, true},
      {0x1400, 2, true},   // the second block lies past the data, inside the image
      {0x8FFF, 32, true},  // the last block the image holds
      {0x9000, 33, false},
      {0x0E00, 1, true},   // -512 div 1024 truncates to 0
      {0x0C00, 0, false},  // no block at all
      {0x0000, -3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "end 0x" << std::hex << c.end);
    TFirmwareFileSpec spec;
    spec.Image = Pattern(2048, 3);
    spec.End = c.end;
    Load(BuildFirmwareFile(spec));
    EXPECT_EQ(FirmwareBlockCount(), c.blocks);
    EXPECT_EQ(SessionState.FirmwareLoaded, c.loads ? 1 : 0);
  }
}

// 5,000 bytes of data and an end address that asks for three blocks (the
// simulator's file builder writes such files): the file loads, and the
// third block is read from the image, where the data ends inside it.
TEST_F(FirmwareFile, ALastBlockPastTheStoredDataLoads) {
  TFirmwareFileSpec spec;
  spec.Image = Pattern(5008, 9);
  spec.DataLength = 5000;
  spec.End = 0x1800;
  Load(BuildFirmwareFile(spec));
  EXPECT_EQ(SessionState.FirmwareLoaded, 1);
  EXPECT_EQ(FirmwareBlockCount(), 3);
  EXPECT_TRUE(ImageStartsWith(std::vector<std::uint8_t>(spec.Image.begin(), spec.Image.begin() + 5000)));
}

TEST_F(FirmwareFile, FailingFileKeepsThePreviousImage) {
  TFirmwareFileSpec good;
  good.ImageSeed = 11;
  const std::vector<std::uint8_t> goodImage = Pattern(4096, good.ImageSeed);

  auto spec = [](auto change) {
    TFirmwareFileSpec s;
    s.ImageSeed = 22;
    s.End = 0x13FF;
    s.Word3 = 0x4321;
    change(s);
    return BuildFirmwareFile(s);
  };
  using enum TFirmwareCheck;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    bool headerTaken;  // the header words are read before the check that fails
    TFirmwareCheck check;
  };
  std::vector<std::uint8_t> truncated = spec([](TFirmwareFileSpec&) {});
  truncated.pop_back();
  std::vector<std::uint8_t> headerOnly = spec([](TFirmwareFileSpec&) {});
  headerOnly.resize(24);
  const Case cases[] = {
      {"bad marker", spec([](TFirmwareFileSpec& s) { s.Marker = "VlmFmWR"; }), false, NoMarker},
      {"marker too short for a header", headerOnly, false, NoMarker},
      {"empty file", {}, false, NoMarker},
      {"sum one too high", spec([](TFirmwareFileSpec& s) { s.SumError = 1; }), true, SumMismatch},
      {"sum one too low", spec([](TFirmwareFileSpec& s) { s.SumError = -1; }), true, SumMismatch},
      {"sum cut short", truncated, true, CutShort},
      {"data length past the bytes read", spec([](TFirmwareFileSpec& s) { s.DataLength = 0x8000; }), true, CutShort},
      {"data length past the 64 KB read", spec([](TFirmwareFileSpec& s) { s.DataLength = 0xFFF0; }), true, CutShort},
      {"no block", spec([](TFirmwareFileSpec& s) { s.End = 0x0BFF; }), true, BadBlocks},
      {"blocks past the image", spec([](TFirmwareFileSpec& s) { s.End = 0x9000; }), true, BadBlocks},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(BuildFirmwareFile(good));
    ASSERT_EQ(SessionState.FirmwareLoaded, 1);

    EXPECT_EQ(Load(c.file), c.check);

    EXPECT_EQ(SessionState.FirmwareLoaded, 0);
    EXPECT_TRUE(ImageStartsWith(goodImage));
    EXPECT_EQ(SessionState.FirmwareWord3, c.headerTaken ? 0x4321 : 0x1234);
  }

  Load(BuildFirmwareFile(good));
  fs::remove(FirmwareFilePath());
  EXPECT_EQ(LoadFirmwareFile(FirmwareFilePath()), TFirmwareCheck::NoMarker);
  EXPECT_EQ(SessionState.FirmwareLoaded, 0);
  EXPECT_TRUE(ImageStartsWith(goodImage));
}

}  // namespace
