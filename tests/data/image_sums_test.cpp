#include "data/image_sums.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "object_test_support.h"

namespace {

TEST(ImageSums, SumBytesAndChecksum16Buf) {
  const Bytes ff = {0xFF};
  EXPECT_EQ(SumBytes(ff, 0, 0), 0xFFu);
  EXPECT_EQ(Checksum16Buf(ff, 0, 0), 0x00FF);
  const Bytes pair = {0x01, 0x00};
  EXPECT_EQ(Checksum16Buf(pair, 0, 1), 0x4A12);
  const Bytes abc = {0x00, 0x61, 0x62, 0x63, 0x00};
  EXPECT_EQ(Checksum16Buf(abc, 1, 3), 0x2543);
  EXPECT_EQ(SumBytes(abc, 1, 3), 0x61u + 0x62 + 0x63);

  // 0x10000 bytes of 0xFF: the sum passes 16 bits and stays exact.
  const Bytes many(0x10000, 0xFF);
  EXPECT_EQ(SumBytes(many, 0, 0xFFFF), 0xFFu * 0x10000);
}

TEST(ImageSums, RangesTheyRefuseGiveZero) {
  const Bytes buffer(0x1000010, 0x01);  // a little over 16 MB
  struct Case {
    std::uint32_t first, last;
  };
  const Case cases[] = {
      {0, 0xFFFFFFFF},          // an empty EEP area (EepSize 0)
      {5, 4},                   // last < first
      {0x1000000, 0x1000001},   // first above 0xFFFFFF
      {0, 0x1000000},           // last above 0xFFFFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SumBytes(buffer, c.first, c.last), 0u) << c.first << ".." << c.last;
    EXPECT_EQ(Checksum16Buf(buffer, c.first, c.last), 0) << c.first << ".." << c.last;
  }
  const Bytes small(16, 0x01);
  EXPECT_EQ(SumBytes(small, 0, 16), 0u);  // leaves the buffer
  EXPECT_EQ(Checksum16Buf(small, 0, 16), 0);
  EXPECT_EQ(SumBytes(small, 0, 15), 16u);
  EXPECT_EQ(Crc32Range(small, 0, 16), 0u);
  EXPECT_EQ(Crc32Range(small, 3, 2), 0u);
  // CRC-32 has no 16 MB guard.
  EXPECT_NE(Crc32Range(buffer, 0x1000000, 0x100000F), 0u);
}

TEST(ImageSums, Crc32) {
  const std::string check = "123456789";
  const Bytes digits(check.begin(), check.end());
  EXPECT_EQ(Crc32Range(digits, 0, 8), 0xCBF43926u);
  EXPECT_EQ(Crc32Table[1], 0x04C11DB7u);
  EXPECT_EQ(Crc32Table[0x80], 0x690CE0EEu);
}

TEST(ImageSums, Crc32MatchesZlib) {
  ASSERT_TRUE(RequireTool("python3"));
  TempDir dir;
  const Bytes data = RandomBytes(1 << 20, 11);
  const std::string file = dir.Path("data.bin");
  WriteFile(file, data);
  struct Case {
    std::uint32_t first, last;
  };
  const Case cases[] = {{0, 0}, {0, 255}, {1, 4102}, {12345, 1048575}, {0, 1048575}};
  std::ostringstream script;
  script << "import sys,zlib; d=open(sys.argv[1],'rb').read(); print(' '.join(str(zlib.crc32(d[a:b+1])) for a,b in [";
  for (const auto& c : cases) script << "(" << c.first << "," << c.last << "),";
  script << "]))";
  std::string output;
  ASSERT_EQ(RunCommand("python3 -c \"" + script.str() + "\" " + file, output), 0) << output;
  std::istringstream values(output);
  for (const auto& c : cases) {
    std::uint32_t expected = 0;
    ASSERT_TRUE(values >> expected) << output;
    EXPECT_EQ(Crc32Range(data, c.first, c.last), expected) << c.first << ".." << c.last;
  }
}

}  // namespace
