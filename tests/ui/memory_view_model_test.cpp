#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <vector>

#include "data/program_state.h"
#include "ui/memory_view_model.h"

namespace {

QString Cell(const TMemoryViewModel& model, int row, int column) {
  return model.data(model.index(row, column)).toString();
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

TEST(MemoryViewModel, HeaderRowReadsTheByteColumnsHexDigits) {
  TMemoryViewModel model;
  EXPECT_EQ(model.columnCount(), 18);
  EXPECT_EQ(model.rowCount(), 0);
  for (int column = 1; column <= 16; ++column)
    EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), QStringLiteral("  %1").arg(column - 1, 0, 16).toUpper());
  EXPECT_EQ(model.headerData(10, Qt::Horizontal).toString(), "  9");
  EXPECT_EQ(model.headerData(11, Qt::Horizontal).toString(), "  A");
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "");
  EXPECT_EQ(model.headerData(17, Qt::Horizontal).toString(), "");
}

TEST(MemoryViewModel, FormatsAddressBytesAndTextOfAKnownSnapshot) {
  std::vector<std::uint8_t> bytes(40, 0xFF);  // two full rows and 8 bytes
  const std::uint8_t row0[16] = {0x00, 0x1F, 0x20, 0x41, 0x7A, 0x7F, 0x80, 0xFF,
                                 0x5A, 0x0A, 0x30, 0x39, 0x7E, 0xC0, 0x2E, 0x61};
  std::copy(std::begin(row0), std::end(row0), bytes.begin());
  bytes[32] = 0xAB;

  TMemoryViewModel model;
  model.SetSnapshot(0x0800FFE0, bytes);
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(Cell(model, 0, 0), "0x0800FFE0");
  EXPECT_EQ(Cell(model, 1, 0), "0x0800FFF0");
  EXPECT_EQ(Cell(model, 2, 0), "0x08010000");
  EXPECT_EQ(Cell(model, 0, 1), "00");
  EXPECT_EQ(Cell(model, 0, 4), "41");
  EXPECT_EQ(Cell(model, 0, 9), "5A");
  EXPECT_EQ(Cell(model, 0, 14), "C0");
  EXPECT_EQ(Cell(model, 1, 16), "FF");  // the blank byte
  // 0x20 .. 0x7F show as themselves (0x7F too), everything else as '.'.
  EXPECT_EQ(Cell(model, 0, 17), QString::fromLatin1(".. Az\x7F" "..Z.09~..a"));
  EXPECT_EQ(Cell(model, 1, 17), "................");
  // The partial last row: its bytes, then empty cells.
  EXPECT_EQ(Cell(model, 2, 1), "AB");
  EXPECT_EQ(Cell(model, 2, 8), "FF");
  EXPECT_EQ(Cell(model, 2, 9), "");
  EXPECT_EQ(Cell(model, 2, 16), "");
  EXPECT_EQ(Cell(model, 2, 17), "........");  // 0xAB and seven 0xFF
  EXPECT_FALSE(model.data(model.index(0, 1), Qt::EditRole).isValid());
}

TEST(MemoryViewModel, RowCountIsTheLengthInRowsOfSixteenRoundedUp) {
  const std::vector<std::uint8_t> image(1024, 0xFF);
  TMemoryViewModel model;
  for (const auto& [length, rows] : {std::pair{1000, 63}, {1024, 64}, {16, 1}, {1, 1}, {0, 0}}) {
    model.SetSnapshot(0, std::span(image).first(static_cast<std::size_t>(length)));
    EXPECT_EQ(model.rowCount(), rows) << length;
  }
  model.Clear();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(MemoryViewModel, ShowsTheImageAsItWasWhenFilled) {
  std::vector<std::uint8_t> image(32, 0x11);
  TMemoryViewModel model;
  model.SetSnapshot(0, image);
  image[0] = 0x22;
  EXPECT_EQ(Cell(model, 0, 1), "11");
}

TEST(MemoryViewModel, AFullMainImageHoldsOneCopyOfTheBytesAndNothingPerCell) {
  ResetProgramState();
  InitChipViewDefaults();
  MemoryImages.MainFlashImage[kMainFlashImageSize - 1] = 0x5A;
  TMemoryViewModel model;
  const std::size_t before = HeapInUse();
  model.SetSnapshot(0, MemoryImages.MainFlashImage);
  const std::size_t grown = HeapInUse() - before;
  EXPECT_EQ(model.rowCount(), 262'400);
  EXPECT_EQ(Cell(model, 262'399, 0), "0x00400FF0");
  EXPECT_EQ(Cell(model, 262'399, 16), "5A");
  EXPECT_EQ(Cell(model, 262'399, 17), "...............Z");
  // 4.7 million cells of their own would take far more than the bytes themselves.
  EXPECT_LT(grown, 2 * kMainFlashImageSize);
}

}  // namespace
