#include <gtest/gtest.h>

#include <numeric>
#include <system_error>

#include "data/hex_file.h"
#include "data/srec_file.h"
#include "object_test_support.h"

namespace {

Bytes Counting(std::size_t count, std::uint8_t from = 0) {
  Bytes bytes(count);
  std::iota(bytes.begin(), bytes.end(), from);
  return bytes;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

class ObjectWritersTest : public ::testing::Test {
 protected:
  std::string Hex(std::span<const std::uint8_t> image, std::uint32_t base, std::uint32_t first, std::uint32_t last) {
    WriteHexFile(file, image, base, first, last);
    return ReadText(file);
  }
  std::string SRec(std::span<const std::uint8_t> image, std::uint32_t base, std::uint32_t first, std::uint32_t last) {
    WriteSRecFile(file, image, base, first, last);
    return ReadText(file);
  }
  TempDir dir;
  std::string file = dir.Path("out.txt");
};

TEST_F(ObjectWritersTest, HexSixteenBitForm) {
  const Bytes image = Counting(0x10001);
  EXPECT_EQ(Hex(image, 0, 0x0000, 0x0011),
            ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
            ":020010001011CD\r\n"
            ":00000001FF\r\n");
  // Up to 0xFFFF: no extended address record, and no alignment of records.
  const std::string upTo = Hex(image, 0, 0xFFEF, 0xFFFF);
  EXPECT_EQ(upTo, Lines({HexLine(0, 0xFFEF, Counting(16, 0xEF)), HexLine(0, 0xFFFF, {0xFF}), ":00000001FF"}));
}

TEST_F(ObjectWritersTest, HexLinearFormNeverCrosses64K) {
  const Bytes image = Counting(24);
  EXPECT_EQ(Hex(image, 0x0800FFF0, 0x0800FFF0, 0x08010007),
            Lines({":020000040800F2", HexLine(0, 0xFFF0, Counting(16)), ":020000040801F1",
                   HexLine(0, 0x0000, Counting(8, 16)), ":00000001FF"}));
  // Last 0x10000: the 32-bit form with 32-byte records, even from address 0.
  const Bytes wide = Counting(0x10001);
  const std::string text = Hex(wide, 0, 0, 0x10000);
  EXPECT_EQ(text.substr(0, 17), ":020000040000FA\r\n");
  EXPECT_EQ(text.substr(17, 77), HexLine(0, 0, Counting(32)) + "\r\n");
  EXPECT_NE(text.find("\r\n:020000040001F9\r\n" + HexLine(0, 0, {0x00}) + "\r\n:00000001FF\r\n"), std::string::npos);
}

TEST_F(ObjectWritersTest, SRecLayouts) {
  const Bytes image = Counting(0x21);
  EXPECT_EQ(SRec(image, 0, 0, 0x1F), Lines({SRecLine('1', 2, 0, Counting(32)), "S9030000FC"}));
  EXPECT_EQ(SRec(image, 0, 0, 0x20),
            Lines({SRecLine('1', 2, 0, Counting(32)), "S104002020BB", "S9030000FC"}));
  // The type follows the last address; the address digits with it.
  EXPECT_EQ(SRec(image, 0xFFF0, 0xFFF0, 0xFFFF), Lines({SRecLine('1', 2, 0xFFF0, Counting(16)), "S9030000FC"}));
  EXPECT_EQ(SRec(image, 0xFFF0, 0xFFF0, 0x10000), Lines({SRecLine('2', 3, 0xFFF0, Counting(17)), "S804000000FB"}));
  EXPECT_EQ(SRec(image, 0x00FFFFF0, 0x00FFFFF0, 0x01000010),
            Lines({SRecLine('3', 4, 0x00FFFFF0, Counting(32)), SRecLine('3', 4, 0x01000010, {32}),
                   "S70500000000FA"}));
}

// Empty ranges, and ranges that leave the image, write a valid file without data.
TEST_F(ObjectWritersTest, EmptyRanges) {
  const Bytes image(256, 0xAB);
  struct Case {
    bool hex;
    std::uint32_t base, first, last;
    std::string text;
  };
  const Case cases[] = {
      {true, 0, 0x10, 0x0F, ":00000001FF\r\n"},
      {true, 0, 0x08000010, 0x0800000F, ":020000040800F2\r\n:00000001FF\r\n"},
      {true, 0, 0, 0xFFFFFFFF, ":020000040000FA\r\n:00000001FF\r\n"},  // EepSize 0
      {true, 0x100, 0x00F0, 0x0110, ":00000001FF\r\n"},                   // starts below the image
      {true, 0, 0x00F0, 0x0100, ":00000001FF\r\n"},                       // ends beyond it
      {false, 0, 0x10, 0x0F, "S9030000FC\r\n"},
      {false, 0, 0x00FFFFFF, 0x00FFFFFE, "S804000000FB\r\n"},
      {false, 0, 0, 0xFFFFFFFF, "S70500000000FA\r\n"},
  };
  for (const auto& c : cases) {
    const std::string text = c.hex ? Hex(image, c.base, c.first, c.last) : SRec(image, c.base, c.first, c.last);
    EXPECT_EQ(text, c.text) << c.first << ".." << c.last;
  }
}

// A range that ends at the last address there is: the loops end there.
TEST_F(ObjectWritersTest, RangeEndingAtTheTopAddress) {
  const Bytes image = Counting(256);
  std::string hex = ":02000004FFFFFC\r\n";
  std::string srec;
  for (std::uint32_t i = 0; i < 256; i += 32) {
    const Bytes part(image.begin() + i, image.begin() + i + 32);
    hex += HexLine(0, static_cast<std::uint16_t>(0xFF00 + i), part) + "\r\n";
    srec += SRecLine('3', 4, 0xFFFFFF00 + i, part) + "\r\n";
  }
  EXPECT_EQ(Hex(image, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFFFF), hex + ":00000001FF\r\n");
  EXPECT_EQ(SRec(image, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFFFF), srec + "S70500000000FA\r\n");
}

TEST_F(ObjectWritersTest, UnwritableFileThrows) {
  const Bytes image(16, 0);
  EXPECT_THROW(WriteHexFile(dir.Path("no/such.hex"), image, 0, 0, 15), std::system_error);
  EXPECT_THROW(WriteSRecFile(dir.Path("no/such.s19"), image, 0, 0, 15), std::system_error);
}

}  // namespace
