// The format's edges: key bytes at the 1024-byte boundary, EEP data lengths
// around the 64 KB a file keeps, and text fields at and past their width.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "data/program_state.h"
#include "project/project_file.h"
#include "project_job.h"

namespace {

constexpr std::size_t kPadAt = 354;

TEST_F(ProjectTest, KeyByteFollowsEvery1024thMainByte) {
  for (const std::uint32_t n : {1024u, 1025u}) {
    ObjectState.MainDataLength = n;
    const Bytes f = ReadFile(Save());
    const TFileLayout l = LayoutFor(n, ObjectState.EepDataLength);
    ASSERT_EQ(f.size(), l.Size) << n;
    // 1024 stores key, 1024 bytes, key; 1025 one byte more after that key.
    const std::size_t eepTag = l.MfmTag + 3 + 1 + 1024 + 1 + (n - 1024);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(f[eepTag + i] ^ 0x9A, "EEP"[i]) << n;
    const std::uint8_t firstKey = f[l.MfmTag + 3], secondKey = f[l.MfmTag + 3 + 1 + 1024];
    EXPECT_EQ(f[l.MfmTag + 4] ^ f[kPadAt] ^ firstKey, MemoryImages.MainFlashImage[0]) << n;
    if (n == 1025) {
      EXPECT_EQ(f[l.MfmTag + 4 + 1025] ^ f[kPadAt] ^ secondKey, MemoryImages.MainFlashImage[1024]);
    }
  }
}

// The largest job a file holds, the whole main image and 64 KB of EEP data,
// opens whole.
TEST_F(ProjectTest, LargestJobOpensWhole) {
  SelectedChip.MainSize = kMainFlashImageSize;
  SelectedChip.EepSize = 0x10000;
  ObjectState.MainDataLength = kMainFlashImageSize;
  ObjectState.EepDataLength = 0x10000;
  const TJob job = CurrentJob();
  const std::string path = Save();
  EXPECT_EQ(ReadFile(path).size(), LayoutFor(kMainFlashImageSize, 0x10000).Size);
  SetPreviousJob();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  EXPECT_TRUE(std::equal(job.Main.begin(), job.Main.end(), MemoryImages.MainFlashImage)) << "main data";
  EXPECT_TRUE(std::equal(job.Eep.begin(), job.Eep.end(), MemoryImages.EepImage)) << "EEP data";
}

// EEP Data Length is stored whole, its bytes modulo 64 KB. A job whose EEP
// data reaches past what the file keeps is not saved; one whose bytes there
// are blank is, and opens with them blank again.
struct TEepCase {
  std::uint32_t eepDataLength;
  std::uint32_t dataEnd;  // bytes 0 .. dataEnd-1 hold data, the rest is blank
  bool blankIsZero;
  bool saved;
  std::uint32_t stored;
};

void PrintTo(const TEepCase& t, std::ostream* os) {
  *os << "EEP data length 0x" << std::hex << t.eepDataLength << ", data up to 0x" << t.dataEnd;
}

class ProjectEepTest : public ProjectTest, public ::testing::WithParamInterface<TEepCase> {};

TEST_P(ProjectEepTest, SavesWhatTheFileKeepsAndBlanksTheRest) {
  const TEepCase& t = GetParam();
  const std::uint8_t blank = t.blankIsZero ? 0x00 : 0xFF;
  SelectedChip.EepSize = std::max<std::uint32_t>(t.eepDataLength, 0x800);
  SelectedChip.EepEnd = SelectedChip.EepStart + SelectedChip.EepSize - 1;
  SelectedChip.ControlBytes.VoltageFlags = t.blankIsZero ? 0x91 : 0x81;
  ObjectState.EepDataLength = t.eepDataLength;
  std::uint8_t* eep = MemoryImages.EepImage;
  std::fill(eep + t.dataEnd, eep + kEepImageSize, blank);
  const Bytes data(eep, eep + t.dataEnd);

  const std::string path = dir.Path("eep.pqx");
  WriteFile(path, Bytes{'o', 'l', 'd'});
  prompts.boxes.clear();
  ASSERT_EQ(WriteProjectFile(path, 0x55), t.saved);
  if (!t.saved) {
    EXPECT_EQ(ReadFile(path), (Bytes{'o', 'l', 'd'})) << "the old file is kept";
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].rfind("info: Project File Not Saved: EEP byte 0x", 0), 0u) << prompts.boxes[0];
    EXPECT_EQ(memo.Lines.back().substr(11), prompts.boxes[0].substr(6));
    return;
  }
  // The tag, the length, then a key byte and the stored bytes with a key after every 1024th.
  const TFileLayout l = LayoutFor(ObjectState.MainDataLength, 0);
  const std::size_t eepSection = 3 + 4 + (t.stored == 0 ? 0 : 1 + t.stored + t.stored / 1024);
  EXPECT_EQ(ReadFile(path).size(), l.EepTag + eepSection + 4 + 256);
  SetPreviousJob();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  EXPECT_EQ(ObjectState.EepDataLength, t.eepDataLength);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), eep));
  const std::uint8_t* firstNotBlank =
      std::find_if(eep + t.dataEnd, eep + kEepImageSize, [blank](std::uint8_t b) { return b != blank; });
  EXPECT_EQ(firstNotBlank - eep, static_cast<std::ptrdiff_t>(kEepImageSize)) << "EEP bytes past the stored ones";
}

INSTANTIATE_TEST_SUITE_P(Lengths, ProjectEepTest,
                         ::testing::Values(TEepCase{0, 0, false, true, 0}, TEepCase{0, 0, true, true, 0},
                                           TEepCase{0x800, 0x800, false, true, 0x800},
                                           TEepCase{0x10000, 0x10000, true, true, 0x10000},
                                           TEepCase{0x18000, 0x8000, false, true, 0x8000},
                                           TEepCase{0x18000, 0x8001, false, false, 0},
                                           TEepCase{0x18000, 0x18000, true, false, 0},
                                           TEepCase{0x20000, 0x10000, true, true, 0x10000},
                                           TEepCase{0x20000, 0x10001, false, false, 0}));

// A file from the field that cut its EEP data: the bytes it lost come back
// blank, never as the previous job's.
TEST_F(ProjectTest, FieldFileWithCutEepDataBlanksTheLostBytes) {
  SelectedChip.EepSize = 0x18000;
  ObjectState.EepDataLength = 0x18000;
  std::fill(MemoryImages.EepImage + 0x8000, MemoryImages.EepImage + kEepImageSize, 0xFF);
  const std::string path = Save();
  SetPreviousJob();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  EXPECT_TRUE(std::all_of(MemoryImages.EepImage + 0x8000, MemoryImages.EepImage + kEepImageSize,
                          [](std::uint8_t b) { return b == 0xFF; }));
}

struct TTextCase {
  const char* name;
  std::string chipName, chipText2;
  std::string chipNameStored;  // the bytes of the field before the key
  std::string chipNameBack, chipText2Back;
};

void PrintTo(const TTextCase& t, std::ostream* os) { *os << t.name; }

class ProjectTextTest : public ProjectTest, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(ProjectTextTest, TextFieldsAreCutAndEndAtTheirFirstZero) {
  const TTextCase& t = GetParam();
  SessionTexts.ChipName = t.chipName;
  SessionTexts.ChipText2 = t.chipText2;
  const std::string path = Save();
  const Bytes f = ReadFile(path);
  // Stored XOR 0x9E, padded with plain zeros.
  for (std::size_t i = 0; i < 20; ++i)
    EXPECT_EQ(f[24 + i], i < t.chipNameStored.size() ? static_cast<std::uint8_t>(t.chipNameStored[i] ^ 0x9E) : 0)
        << i;
  SetPreviousJob();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  EXPECT_EQ(SessionTexts.ChipName, t.chipNameBack);
  EXPECT_EQ(SessionTexts.ChipText2, t.chipText2Back);
  EXPECT_EQ(SessionTexts.ModelName, "Velmot200IND");
}

INSTANTIATE_TEST_SUITE_P(
    Widths, ProjectTextTest,
    ::testing::Values(
        TTextCase{"exact_width", "ABCDEFGHIJKLMNOPQRST", std::string(44, 'x') + ".hex", "ABCDEFGHIJKLMNOPQRST",
                  "ABCDEFGHIJKLMNOPQRST", std::string(44, 'x') + ".hex"},
        TTextCase{"longer", "ABCDEFGHIJKLMNOPQRSTUVWXY", std::string(60, 'y'), "ABCDEFGHIJKLMNOPQRST",
                  "ABCDEFGHIJKLMNOPQRST", std::string(48, 'y')},
        TTextCase{"key_character", "AB\x9E" "CD", "n\x9Eme.hex", "AB\x9E" "CD", "AB", "n"},
        TTextCase{"utf8_not_split", std::string(19, 'A') + "\xC3\xA9", "empty", std::string(19, 'A'),
                  std::string(19, 'A'), "empty"},
        TTextCase{"empty", "", "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
