#include "data/binary_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <system_error>

#include "data/object_file.h"
#include "data/program_state.h"
#include "object_test_support.h"

namespace {

class BinaryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ObjectState.LoadedDataEnd = 0xAAAA;
  }
  TempDir dir;
};

TEST_F(BinaryFileTest, LimitInAndOut) {
  const std::string file = dir.Path("ten.bin");
  const Bytes ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  WriteFile(file, ten);
  struct Case {
    std::uint32_t limitIn;
    std::size_t capacity;
    std::size_t copied;
    std::uint32_t limitOut;
  };
  const Case cases[] = {
      {0x0001FFFF, 64, 10, 9},  // whole file: limit becomes its last index
      {10, 64, 10, 9},
      {9, 64, 9, 9},            // shorter limit: limit bytes, limit kept
      {4, 64, 4, 4},
      {0x0001FFFF, 6, 6, 9},    // the destination is smaller than the file
      {0, 64, 0, 0},
  };
  for (const auto& c : cases) {
    Bytes destination(c.capacity, 0xEE);
    std::uint32_t limit = c.limitIn;
    EXPECT_EQ(ReadBinaryFile(file, destination, limit), c.copied) << c.limitIn << " " << c.capacity;
    EXPECT_EQ(limit, c.limitOut);
    EXPECT_EQ(ObjectState.LoadedDataEnd, 9u);
    EXPECT_TRUE(std::equal(ten.begin(), ten.begin() + c.copied, destination.begin()));
    EXPECT_TRUE(std::all_of(destination.begin() + c.copied, destination.end(), [](auto b) { return b == 0xEE; }));
  }
}

TEST_F(BinaryFileTest, CopiesAcrossBlocks) {
  const std::string file = dir.Path("blocks.bin");
  const Bytes data = RandomBytes(3 * 4096 + 123, 7);
  WriteFile(file, data);
  Bytes destination(data.size() + 10, 0);
  std::uint32_t limit = 0xFFFFFFFF;
  EXPECT_EQ(ReadBinaryFile(file, destination, limit), data.size());
  EXPECT_EQ(limit, data.size() - 1);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), destination.begin()));

  limit = 5000;  // part of the file, ending inside a block
  std::ranges::fill(destination, 0);
  EXPECT_EQ(ReadBinaryFile(file, destination, limit), 5000u);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 5000, destination.begin()));
  EXPECT_EQ(destination[5000], 0);
  EXPECT_EQ(limit, 5000u);
}

TEST_F(BinaryFileTest, MissingOrEmptyFileChangesNothing) {
  WriteFile(dir.Path("empty.bin"), std::string());
  for (const std::string& name : {dir.Path("missing.bin"), dir.Path("empty.bin"), dir.Path("")}) {
    Bytes destination(16, 0xEE);
    std::uint32_t limit = 0x1234;
    EXPECT_EQ(ReadBinaryFile(name, destination, limit), 0u) << name;
    EXPECT_EQ(limit, 0x1234u);
    EXPECT_EQ(ObjectState.LoadedDataEnd, 0xAAAAu);
    EXPECT_EQ(destination, Bytes(16, 0xEE));
  }
}

TEST_F(BinaryFileTest, WritesTheRangeOrAnEmptyFile) {
  const Bytes buffer = RandomBytes(300, 3);
  struct Case {
    std::uint32_t first, last;
    std::size_t offset, size;
  };
  const Case cases[] = {
      {0, 299, 0, 300},
      {17, 17, 17, 1},
      {100, 250, 100, 151},
      {5, 4, 0, 0},            // last < first
      {0, 0xFFFFFFFF, 0, 0},   // EepSize 0 gives last 0xFFFFFFFF
      {200, 300, 0, 0},        // leaves the buffer
  };
  const std::string file = dir.Path("out.bin");
  for (const auto& c : cases) {
    WriteBinaryFile(file, buffer, c.first, c.last);
    EXPECT_EQ(ReadFile(file), Bytes(buffer.begin() + c.offset, buffer.begin() + c.offset + c.size))
        << c.first << ".." << c.last;
  }
  EXPECT_THROW(WriteBinaryFile(dir.Path("no/such/folder.bin"), buffer, 0, 9), std::system_error);
}

TEST(FillBytes, CountsAndBounds) {
  Bytes buffer(8, 0);
  FillBytes(buffer, 0, 0xFF);
  EXPECT_EQ(buffer, Bytes(8, 0));
  FillBytes(buffer, 3, 0xFF);
  EXPECT_EQ(buffer, (Bytes{0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}));
  FillBytes(std::span(buffer).subspan(6), 0xFFFFFFFF, 0x11);
  EXPECT_EQ(buffer, (Bytes{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x11, 0x11}));
}

}  // namespace
