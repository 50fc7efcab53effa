// The file commands' loads without the window: which reader a file goes to,
// where a binary file lands and what it may not touch, EEP data files in
// every format, and what a load logs and shows.
#include "data/object_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <span>

#include "data/object_file_kind.h"
#include "data/program_state.h"
#include "object_test_support.h"
#include "text/format_text.h"
#include "window_state_fixture.h"

namespace {

TEST(ObjectFileKind, TheExtensionChoosesTheReaderInAnyLetterCase) {
  using K = TObjectFileKind;
  struct Case {
    const char* name;
    K object, eep;
  };
  const Case cases[] = {
      {"/data/board.hex", K::IntelHex, K::IntelHex}, {"board.HEX", K::IntelHex, K::IntelHex},
      {"board.Hex", K::IntelHex, K::IntelHex},       {"a.b/board.s19", K::SRecord, K::SRecord},
      {"board.S37", K::SRecord, K::Unknown},         {"board.s37", K::SRecord, K::Unknown},
      {"board.mot", K::SRecord, K::SRecord},         {"board.Bin", K::Binary, K::Binary},
      {"board.txt", K::Unknown, K::Unknown},         {"board", K::Unknown, K::Unknown},
      {"old.hex/board", K::Unknown, K::Unknown},     {"board.hex.bak", K::Unknown, K::Unknown},
      {"board.s1", K::Unknown, K::Unknown},          {".hex", K::IntelHex, K::IntelHex},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ObjectFileKindOf(c.name), c.object) << c.name;
    EXPECT_EQ(EepFileKindOf(c.name), c.eep) << c.name;
  }
}

constexpr std::uint32_t kMainStart = 0x08000000;
constexpr std::uint32_t kMainSize = 0x20000;
constexpr std::uint32_t kMainEnd = kMainStart + kMainSize - 1;
constexpr std::uint32_t kEepStart = 0x08100000;
constexpr std::uint32_t kEepSize = 0x20000;  // more than 64 KB
constexpr std::uint32_t kEepEnd = kEepStart + kEepSize - 1;

class ObjectLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectChipAreas({.mainStart = kMainStart, .mainEnd = kMainEnd, .eepStart = kEepStart, .eepEnd = kEepEnd});
    SelectedChip.MainSize = kMainSize;
    SelectedChip.EepSize = kEepSize;
    ObjectState.ChipSelected = 1;
    memo.Lines.clear();
    SessionTexts.InfoMemoRef = &memo;
    SetClock(&clock);
  }
  void TearDown() override {
    SessionTexts.InfoMemoRef = nullptr;
    SetClock(nullptr);
    ResetProgramState();
  }

  // The offset dialog offers address; typed, when given, replaces it.
  TAskBinaryOffset Offset(std::optional<std::uint32_t> typed) {
    return [this, typed] {
      offered = static_cast<std::uint32_t>(ObjectState.BinOffsetAddress);
      if (typed) ObjectState.BinOffsetAddress = static_cast<std::int32_t>(*typed);
    };
  }
  // No programmer starts here: every load may change the job at its end.
  static bool Place() { return true; }
  bool Logged(const std::string& line) const {
    return std::ranges::find(memo.Lines, "> 10:21:07 " + line) != memo.Lines.end();
  }
  static std::span<const std::uint8_t> MainImage() { return MemoryImages.MainFlashImage; }
  static std::span<const std::uint8_t> EepImage() { return MemoryImages.EepImage; }
  // Whether image holds file at index and blank (0xFF) everywhere else.
  static bool HoldsOnly(std::span<const std::uint8_t> image, std::size_t index, std::span<const std::uint8_t> file) {
    const auto blank = [](std::span<const std::uint8_t> part) {
      return std::ranges::all_of(part, [](std::uint8_t b) { return b == 0xFF; });
    };
    return std::ranges::equal(image.subspan(index, file.size()), file) && blank(image.first(index)) &&
           blank(image.subspan(index + file.size()));
  }

  TempDir dir;
  TMemoLines memo;
  TStoppedClock clock;
  ScriptedPrompts prompts;
  std::uint32_t offered = 0;
};

// A binary object file lands at the address typed into the offset dialog and
// never beyond the area's end; an address outside the area reads nothing.
TEST_F(ObjectLoadTest, ABinaryObjectFileFillsTheRoomFromItsAddressToTheAreasEnd) {
  enum Outcome { Fits, TooLong, Refused };
  struct Case {
    const char* what;
    std::size_t size;
    std::optional<std::uint32_t> typed;  // empty: the offered MainStart
    Outcome outcome;
    std::size_t kept;  // bytes of the file in the image
  };
  const Case cases[] = {
      {"exactly MainSize at the start", kMainSize, std::nullopt, Fits, kMainSize},
      {"one byte more", kMainSize + 1, std::nullopt, TooLong, kMainSize},
      {"at an offset", 0x100, kMainStart + 0x1000, Fits, 0x100},
      {"running past the end from an offset", 0x100, kMainEnd - 0x7F, TooLong, 0x80},
      {"one byte at the last address", 1, kMainEnd, Fits, 1},
      {"below the start", 0x10, kMainStart - 1, Refused, 0},
      {"past the end", 0x10, kMainEnd + 1, Refused, 0},
      {"address 0", 0x10, 0, Refused, 0},
      {"the top address", 0x10, 0xFFFFFFFF, Refused, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    prompts.boxes.clear();
    const std::string path = dir.Path("board.bin");
    const Bytes file = RandomBytes(c.size, static_cast<std::uint32_t>(c.size));
    WriteFile(path, file);
    const std::uint32_t address = c.typed.value_or(kMainStart);

    EXPECT_EQ(LoadObjectData(path, TObjectLoadMode::Fresh, Offset(c.typed), Place), c.outcome != Refused);
    EXPECT_EQ(offered, kMainStart);
    EXPECT_EQ(ObjectState.ObjectLoaded, c.outcome != Refused);
    const std::span<const std::uint8_t> kept(file.data(), c.kept);
    EXPECT_TRUE(HoldsOnly(MainImage(), c.outcome == Refused ? 0 : address - kMainStart, kept));
    EXPECT_TRUE(std::ranges::all_of(EepImage(), [](std::uint8_t b) { return b == 0xFF; }));
    if (c.outcome == Refused) {
      const std::string refusal = FormatText(TTextId::OffsetOutOfFlashFormat, address, kMainStart, kMainEnd);
      EXPECT_EQ(prompts.boxes, std::vector<std::string>{"info: " + refusal});
      EXPECT_EQ(memo.Lines.back(), "> 10:21:07 " + refusal);
      EXPECT_EQ(ObjectState.LoadedDataEnd, 0u) << "the file was not even read";
      continue;
    }
    EXPECT_EQ(prompts.boxes, c.outcome == TooLong ? std::vector<std::string>{std::string("info: ") + Text(TTextId::OutOfFlashText)}
                                                  : std::vector<std::string>{});
    EXPECT_EQ(ObjectState.ObjectStart, address);
    EXPECT_EQ(ObjectState.ObjectEnd, address + c.kept - 1);
    EXPECT_EQ(ObjectState.FileChecksum, std::accumulate(kept.begin(), kept.end(), 0u));
    EXPECT_TRUE(Logged(FormatText("Object File Start Address  = 0x%08X.", address)));
    EXPECT_TRUE(Logged(FormatText("Object File End Address    = 0x%08X.", address + std::uint32_t(c.kept) - 1)));
  }
}

// Whatever the area says, a read stops at the end of its image: the next
// image in memory is never written.
TEST_F(ObjectLoadTest, AReadStopsAtTheEndOfTheImageWhateverTheAreaSays) {
  const Bytes file = RandomBytes(64, 3);
  const std::string path = dir.Path("wide.bin");
  WriteFile(path, file);

  SelectedChip.MainStart = 0;
  SelectedChip.MainEnd = 0x7FFFFFFF;
  SelectedChip.MainSize = kMainFlashImageSize;
  ASSERT_TRUE(LoadObjectData(path, TObjectLoadMode::Fresh, Offset(kMainFlashImageSize - 16), Place));
  EXPECT_TRUE(std::ranges::equal(MainImage().last(16), std::span(file).first(16)));
  EXPECT_TRUE(std::ranges::all_of(EepImage(), [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{std::string("info: ") + Text(TTextId::OutOfFlashText)});
  prompts.boxes.clear();
  EXPECT_FALSE(LoadObjectData(path, TObjectLoadMode::Fresh, Offset(kMainFlashImageSize), Place));
  EXPECT_EQ(prompts.boxes.size(), 1u);

  prompts.boxes.clear();
  SelectedChip.EepEnd = kEepStart + 0x7FFFF;
  SelectedChip.EepSize = kEepImageSize;
  ASSERT_TRUE(LoadEepData(path, Offset(kEepStart + kEepImageSize - 16), Place));
  EXPECT_TRUE(std::ranges::equal(EepImage().last(16), std::span(file).first(16)));
  EXPECT_TRUE(std::ranges::all_of(MemoryImages.AuxAreaImage, [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{std::string("info: ") + Text(TTextId::OutOfEepText)});
}

// EEP data files in every format the command takes: HEX and S-records made
// by srec_cat from the same bytes, and binary files at the typed address.
TEST_F(ObjectLoadTest, EepDataFilesLandAtTheirAddressesInEveryFormat) {
  ASSERT_TRUE(RequireTool("srec_cat"));
  const Bytes data = RandomBytes(0x300, 11);
  const std::string blob = dir.Path("blob.bin");
  WriteFile(blob, data);
  const auto make = [&](const std::string& name, const std::string& format) {
    std::string output;
    const std::string command = "srec_cat '" + blob + "' -binary -offset 0x08110000 -o '" + dir.Path(name) + "' " +
                                format;
    EXPECT_EQ(RunCommand(command, output), 0) << command << "\n" << output;
  };
  make("eep.hex", "-intel");
  make("eep.s19", "-motorola -address-length=4");
  make("eep.MOT", "-motorola -address-length=4");
  make("eep.s37", "-motorola -address-length=4");
  WriteFile(dir.Path("eep.bin"), data);
  WriteFile(dir.Path("full.bin"), RandomBytes(kEepSize, 12));
  WriteFile(dir.Path("long.bin"), RandomBytes(kEepSize + 1, 13));

  struct Case {
    const char* name;
    std::optional<std::uint32_t> typed;  // binary files: typed over the offered EepStart
    bool loaded;
    const char* bytesOf;  // the file whose bytes land in EepImage
    std::uint32_t index;  // where they land
    std::size_t kept;
    const char* box;  // nullptr: none
  };
  const Case cases[] = {
      {"eep.hex", std::nullopt, true, "blob.bin", 0x10000, data.size(), nullptr},
      {"eep.s19", std::nullopt, true, "blob.bin", 0x10000, data.size(), nullptr},
      {"eep.MOT", std::nullopt, true, "blob.bin", 0x10000, data.size(), nullptr},
      {"eep.s37", std::nullopt, false, "blob.bin", 0, 0, Text(TTextId::FormatErrorText)},
      {"eep.bin", kEepStart + 0x10010, true, "blob.bin", 0x10010, data.size(), nullptr},  // not modulo 64 KB
      {"full.bin", std::nullopt, true, "full.bin", 0, kEepSize, nullptr},
      {"long.bin", std::nullopt, true, "long.bin", 0, kEepSize, Text(TTextId::OutOfEepText)},
      {"eep.bin", kEepEnd + 1, false, "blob.bin", 0, 0, nullptr},
      {"eep.bin", kEepStart - 0x10, false, "blob.bin", 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + std::string(c.typed ? " typed" : ""));
    SetUp();
    prompts.boxes.clear();
    offered = 0;
    const bool binary = std::string_view(c.name).ends_with(".bin");
    EXPECT_EQ(LoadEepData(dir.Path(c.name), Offset(c.typed), Place).has_value(), c.loaded);
    EXPECT_EQ(offered, binary ? kEepStart : 0u);
    const Bytes file = ReadFile(dir.Path(c.bytesOf));
    EXPECT_TRUE(HoldsOnly(EepImage(), c.index, std::span(file).first(c.kept)));
    EXPECT_TRUE(std::ranges::all_of(MainImage(), [](std::uint8_t b) { return b == 0xFF; }));
    std::vector<std::string> boxes;
    if (c.box) boxes.push_back(std::string("info: ") + c.box);
    if (binary && !c.loaded) boxes.push_back("info: " + FormatText(TTextId::OffsetOutOfEepFormat, *c.typed, kEepStart, kEepEnd));
    EXPECT_EQ(prompts.boxes, boxes);
    const std::uint32_t first = kEepStart + c.index;
    EXPECT_EQ(Logged(FormatText("Load EEP File Start Address  = 0x%08X.", first)), c.loaded);
    if (!c.loaded) continue;
    EXPECT_TRUE(Logged(FormatText("Load EEP File End Address    = 0x%08X.", first + std::uint32_t(c.kept) - 1)));
    const std::uint32_t sum = std::accumulate(file.begin(), file.begin() + c.kept, 0u);
    EXPECT_EQ(ObjectState.EepFileSum, sum);
    EXPECT_TRUE(Logged(FormatText("Load EEP File ACC32 Checksum = 0x%08X.", sum)));
  }
}

// A file no reader takes is refused before anything changes: the AU30x
// family logs no CRC-32 either, and the job loaded before stays loaded.
TEST_F(ObjectLoadTest, AnUnknownExtensionIsRefusedBeforeAnythingChanges) {
  for (const std::uint8_t family : {std::uint8_t{3}, std::uint8_t{1}}) {
    SCOPED_TRACE(family);
    SetUp();
    prompts.boxes.clear();
    SelectedChip.ChipFamilyIndex = family;
    ObjectState.ObjectLoaded = 1;
    ObjectState.ObjectStart = kMainStart;
    ObjectState.ObjectEnd = kMainStart + 8;
    MemoryImages.MainFlashImage[0] = 0x12;
    const std::string path = dir.Path("board.txt");
    WriteFile(path, Bytes(16, 0x12));
    for (const TObjectLoadMode mode : {TObjectLoadMode::Fresh, TObjectLoadMode::More})
      EXPECT_FALSE(LoadObjectData(path, mode, [] { ADD_FAILURE() << "no offset dialog"; }, Place));
    EXPECT_EQ(ObjectState.ObjectLoaded, 1);
    EXPECT_EQ(MemoryImages.MainFlashImage[0], 0x12);
    EXPECT_EQ(ObjectState.ObjectCrc32, 0u);
    const std::string refusal = Text(TTextId::FormatErrorText);
    EXPECT_EQ(prompts.boxes, std::vector<std::string>(2, "info: " + refusal));
    EXPECT_EQ(memo.Lines, std::vector<std::string>(2, "> 10:21:07 " + refusal));
  }
}

}  // namespace
