// Our readers and writers against srec_cat, srec_info and objcopy on the
// same files: files those tools write load to the bytes of their own binary
// output, and the tools read our files back to the image's bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

#include "data/binary_file.h"
#include "data/binary_load.h"
#include "data/file_input.h"
#include "data/hex_file.h"
#include "data/program_state.h"
#include "data/srec_file.h"
#include "object_test_support.h"

namespace {

std::string Hex32(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

struct Piece {
  std::uint32_t offset;
  std::size_t size;
};

// Pieces with gaps; the wide set crosses 64 KB boundaries.
const Piece kNarrowPieces[] = {{0x0000, 1000}, {0x1F01, 0x300}, {0x8000, 0x7FFF}};
const Piece kWidePieces[] = {{0x0000, 1000}, {0xFFF0, 0x45}, {0x23456, 5000}, {0x3FFF0, 0x10020}};

// srec_info's output less the warnings that our layout brings by design: the
// writers write no S0 header record.
std::string Complaints(const std::string& info) {
  std::string rest;
  std::size_t pos = 0;
  while (pos < info.size()) {
    std::size_t end = info.find('\n', pos);
    if (end == std::string::npos) end = info.size();
    const std::string line = info.substr(pos, end - pos);
    if (line.find("warning") != std::string::npos && line.find("no header record") == std::string::npos) {
      rest += line + "\n";
    }
    pos = end + 1;
  }
  return rest;
}

class ObjectInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"srec_cat", "srec_info", "objcopy"}) ASSERT_TRUE(RequireTool(tool));
  }

  void Run(const std::string& command) {
    std::string output;
    ASSERT_EQ(RunCommand(command, output), 0) << command << "\n" << output;
  }

  // Writes the pieces at base as an S37 file; returns its name and fills
  // the span and the byte sum.
  std::string MakeSource(std::uint32_t base, bool wide) {
    const std::span<const Piece> pieces = wide ? std::span<const Piece>(kWidePieces) : kNarrowPieces;
    std::string command = "srec_cat";
    sum = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const Bytes data = RandomBytes(pieces[i].size, static_cast<std::uint32_t>(base + i));
      sum = std::accumulate(data.begin(), data.end(), sum);
      const std::string name = dir.Path("piece" + std::to_string(i) + ".bin");
      WriteFile(name, data);
      command += " " + name + " -binary -offset " + Hex32(base + pieces[i].offset);
    }
    low = base;
    high = base + pieces.back().offset + static_cast<std::uint32_t>(pieces.back().size) - 1;
    const std::string source = dir.Path("source.s37");
    Run(command + " -o " + source + " -motorola -address-length=4");
    return source;
  }

  // The main area of the chip begins at base.
  void LoadWithMainAt(std::uint32_t base, const std::string& file, bool hex) {
    TChipAreas areas;
    areas.mainStart = base, areas.mainEnd = base + 0x7FFFF;
    areas.eepStart = areas.eepEnd = areas.optionStart = areas.optionEnd = 0xFFFFFFFF;
    SelectChipAreas(areas);
    const std::string text = ReadText(file);
    const TRecordFileRead read = hex ? LoadHexFile(text, JobImages()) : LoadSRecFile(text, JobImages());
    EXPECT_EQ(read.Status, TObjectFileStatus::Read);
    EXPECT_TRUE(prompts.boxes.empty()) << prompts.boxes.front();
    EXPECT_EQ(read.Totals.Lowest, low);
    EXPECT_EQ(read.Totals.Highest, high);
    EXPECT_EQ(read.Totals.Sum, sum);
  }

  void ExpectImageIs(const std::string& binary, std::uint32_t base) {
    const Bytes reference = ReadFile(binary);
    ASSERT_EQ(reference.size(), std::size_t{high} - low + 1) << binary;
    const std::uint8_t* image = MemoryImages.MainFlashImage + (low - base);
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), image)) << binary;
  }

  TempDir dir;
  ScriptedPrompts prompts;
  std::uint32_t low = 0, high = 0, sum = 0;
};

TEST_F(ObjectInteropTest, FilesWrittenByTheToolsLoadAsTheirBinary) {
  struct Case {
    bool objcopy;        // else srec_cat
    const char* name;
    const char* format;  // the tool's name of it
    const char* options;
    std::uint32_t base;
    bool wide;
  };
  const Case cases[] = {
      {false, "linear.hex", "-intel", "", 0x08000000, true},
      {false, "segment.hex", "-intel", "-address-length=3", 0x00010000, true},
      {false, "narrow.hex", "-intel", "-address-length=2", 0x00000000, false},
      {false, "file.s19", "-motorola", "-address-length=2", 0x00000000, false},
      {false, "file.s28", "-motorola", "-address-length=3", 0x00120000, true},
      {false, "file.s37", "-motorola", "-address-length=4", 0x08000000, true},
      {true, "linear.hex", "ihex", "", 0x08000000, true},   // type 04 records
      {true, "segment.hex", "ihex", "", 0x00010000, true},  // type 02 records below 1 MB
      {true, "file.s19", "srec", "", 0x00000000, false},
      {true, "file.s28", "srec", "", 0x00120000, true},
      {true, "file.s37", "srec", "--srec-forceS3 --srec-len=64", 0x00000000, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.objcopy ? "objcopy " : "srec_cat ") + c.name);
    const std::string source = MakeSource(c.base, c.wide);
    const std::string file = dir.Path(c.name);
    const std::string binary = dir.Path("reference.bin");
    const std::string format = c.format;
    if (c.objcopy) {
      Run("objcopy -I srec -O " + format + " " + c.options + " " + source + " " + file);
      Run("objcopy -I " + format + " -O binary --gap-fill 0xFF " + file + " " + binary);
    } else {
      Run("srec_cat " + source + " -motorola -o " + file + " " + format + " " + c.options);
      Run("srec_cat " + file + " " + format + " -fill 0xFF " + Hex32(low) + " " + Hex32(high + 1ull) + " -offset -" +
          Hex32(low) + " -o " + binary + " -binary");
    }
    LoadWithMainAt(c.base, file, format == "-intel" || format == "ihex");
    ExpectImageIs(binary, c.base);
    // The tool's binary file itself, as a binary load reads and places it.
    Bytes copy(std::size_t{high} - low + 1);
    const TBinaryStore stored = StoreBinaryAt(ReadFileContent(binary, copy.size()), low, {low, high, copy});
    EXPECT_EQ(stored.Status, TBinaryLoadStatus::Read);
    EXPECT_EQ(copy, ReadFile(binary));
    EXPECT_EQ(stored.First, low);
    EXPECT_EQ(stored.Last, high);
    EXPECT_EQ(stored.Sum, std::accumulate(copy.begin(), copy.end(), 0u));
  }
}

// More than 65535 data records: srec_cat counts them in an S6 record.
TEST_F(ObjectInteropTest, LargeS37WithS6CountRecord) {
  const Bytes data = RandomBytes(0x220000, 99);
  const std::string name = dir.Path("big.bin");
  WriteFile(name, data);
  const std::string file = dir.Path("big.s37");
  Run("srec_cat " + name + " -binary -offset 0x08000000 -o " + file + " -motorola -address-length=4");
  ASSERT_NE(ReadText(file).find("\nS6"), std::string::npos);
  low = 0x08000000, high = 0x0821FFFF;
  sum = std::accumulate(data.begin(), data.end(), 0u);
  TChipAreas areas;
  areas.mainStart = 0x08000000, areas.mainEnd = 0x083FFFFF;
  areas.eepStart = areas.eepEnd = 0xFFFFFFFF;
  SelectChipAreas(areas);
  const TRecordFileRead read = LoadSRecFile(ReadText(file), JobImages());
  EXPECT_EQ(read.Status, TObjectFileStatus::Read);
  EXPECT_EQ(read.Totals.Placed, AreaBit(TRecordArea::Main));
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(read.Totals.Lowest, low);
  EXPECT_EQ(read.Totals.Highest, high);
  EXPECT_EQ(read.Totals.Sum, sum);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), MemoryImages.MainFlashImage));
}

// Type 04 then type 02: the two parts add up, as objcopy reads them.
TEST_F(ObjectInteropTest, MixedLinearAndSegmentRecordsAsObjcopy) {
  const Bytes a = RandomBytes(16, 1), b = RandomBytes(16, 2), c = RandomBytes(8, 3);
  const std::string file = dir.Path("mixed.hex");
  WriteFile(file, ":020000040001F9\n" + HexLine(0, 0x0100, a) + "\n:020000021000EC\n" + HexLine(0, 0x0100, b) +
                      "\n" + HexLine(0, 0xFFF8, c) + "\n:00000001FF\n");
  const std::string binary = dir.Path("mixed.bin");
  Run("objcopy -I ihex -O binary --gap-fill 0xFF " + file + " " + binary);
  low = 0x00010100, high = 0x0002FFFF;
  sum = std::accumulate(a.begin(), a.end(), 0u) + std::accumulate(b.begin(), b.end(), 0u) +
        std::accumulate(c.begin(), c.end(), 0u);
  LoadWithMainAt(0, file, true);
  ExpectImageIs(binary, 0);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x20100], b[0]);
}

// The tools read what our writers write back to the image's bytes.
TEST_F(ObjectInteropTest, ToolsReadOurFiles) {
  ResetProgramState();
  const Bytes random = RandomBytes(0x40000, 5);
  std::copy(random.begin(), random.end(), MemoryImages.MainFlashImage);
  const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
  enum Writer { kHex, kSRec, kBinary };
  struct Case {
    const char* name;
    Writer writer;
    std::uint32_t base, first, last;
  };
  const Case cases[] = {
      {"sixteen.hex", kHex, 0x0000, 0x0003, 0xFFFF},
      {"linear.hex", kHex, 0x0800F000, 0x0800F123, 0x08031FFF},
      {"file.s19", kSRec, 0x0000, 0x0011, 0xFFFF},
      {"file.s28", kSRec, 0x00100000, 0x00100010, 0x0013000F},
      {"file.s37", kSRec, 0x08000000, 0x08000005, 0x08020100},
      {"file.bin", kBinary, 0, 0x0100, 0x2FFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir.Path(c.name);
    const char* srecFormat = c.writer == kHex ? "-intel" : c.writer == kSRec ? "-motorola" : "-binary";
    const char* bfdFormat = c.writer == kHex ? "ihex" : c.writer == kSRec ? "srec" : "binary";
    if (c.writer == kHex) WriteHexFile(file, image, c.base, c.first, c.last);
    if (c.writer == kSRec) WriteSRecFile(file, image, c.base, c.first, c.last);
    if (c.writer == kBinary) WriteBinaryFile(file, image, c.first, c.last);
    const Bytes expected(image.begin() + (c.first - c.base), image.begin() + (c.last - c.base) + 1);

    const std::string fromSrecCat = dir.Path("srec_cat.bin");
    const std::string fromObjcopy = dir.Path("objcopy.bin");
    const std::string offset = c.writer == kBinary ? "" : " -offset -" + Hex32(c.first);
    Run("srec_cat " + file + " " + srecFormat + offset + " -o " + fromSrecCat + " -binary");
    Run("objcopy -I " + std::string(bfdFormat) + " -O binary " + file + " " + fromObjcopy);
    EXPECT_EQ(ReadFile(fromSrecCat), expected);
    EXPECT_EQ(ReadFile(fromObjcopy), expected);
    std::string info;
    EXPECT_EQ(RunCommand("srec_info " + file + " " + srecFormat, info), 0) << info;
    EXPECT_EQ(Complaints(info), "") << info;
  }
}

// Files of an empty range: srec_info reads their records without fault. It
// refuses any Intel HEX file without data, so there that is its one complaint.
TEST_F(ObjectInteropTest, SrecInfoReadsEmptyFiles) {
  const Bytes image(16, 0);
  const struct {
    const char* name;
    bool hex;
    std::uint32_t first, last;
  } cases[] = {
      {"empty16.hex", true, 1, 0},
      {"empty32.hex", true, 0x08000010, 0x0800000F},
      {"empty.s19", false, 1, 0},
      {"empty.s37", false, 0, 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir.Path(c.name);
    std::string info;
    if (c.hex) {
      WriteHexFile(file, image, 0, c.first, c.last);
      EXPECT_EQ(RunCommand("srec_info " + file + " -intel", info), 1);
      EXPECT_NE(info.find(file + ": " + (c.first > 0xFFFF ? "2" : "1") + ": file contains no data\n"),
                std::string::npos)
          << info;
      EXPECT_EQ(info.find("checksum"), std::string::npos) << info;
    } else {
      WriteSRecFile(file, image, 0, c.first, c.last);
      EXPECT_EQ(RunCommand("srec_info " + file + " -motorola", info), 0) << info;
      const std::string complaints = Complaints(info);
      EXPECT_NE(complaints.find("file contains no"), std::string::npos) << info;
      EXPECT_EQ(complaints.find("warning", complaints.find("warning") + 1), std::string::npos) << info;
    }
  }
}

}  // namespace
