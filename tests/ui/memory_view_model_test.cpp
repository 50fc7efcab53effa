#include <gtest/gtest.h>
#include <malloc.h>

#include <QSignalSpy>

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
  model.ShowRows(0x0800FFE0, bytes, 3);
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

TEST(MemoryViewModel, ShowsTheRowsAskedForButNoneWithoutBytes) {
  const std::vector<std::uint8_t> image(1000, 0xFF);  // 62 full rows and 8 bytes
  TMemoryViewModel model;
  for (const auto& [asked, shown] : {std::pair{63, 63}, {64, 63}, {10, 10}, {0, 0}, {-1, 0}}) {
    model.ShowRows(0, image, asked);
    EXPECT_EQ(model.rowCount(), shown) << asked;
  }
  model.Clear();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(Cell(model, 0, 0), "");
}

TEST(MemoryViewModel, DrawsTheBytesAsTheyAreAndRedrawsTheRowsReportedChanged) {
  std::vector<std::uint8_t> image(64, 0x11);
  TMemoryViewModel model;
  model.ShowRows(0x100, image, 2);
  image[17] = 0x41;
  EXPECT_EQ(Cell(model, 1, 2), "41");
  EXPECT_EQ(Cell(model, 1, 17), ".A..............");

  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  model.RowsChanged(1, 5);  // cut to the rows shown
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex(), model.index(1, 0));
  EXPECT_EQ(changed[0][1].toModelIndex(), model.index(1, 17));
  model.RowsChanged(2, 3);  // no row shown there
  EXPECT_EQ(changed.size(), 1);

  // More rows of the same bytes are added, the others stay where they are.
  model.ShowAtLeastRows(0x100, image, 3);
  EXPECT_EQ(model.rowCount(), 3);
  ASSERT_EQ(inserted.size(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 2);
  EXPECT_EQ(inserted[0][2].toInt(), 2);
  model.ShowAtLeastRows(0x100, image, 1);
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(reset.size(), 0);
  // Other bytes: shown anew.
  const std::vector<std::uint8_t> other(16, 0x22);
  model.ShowAtLeastRows(0x200, other, 4);
  EXPECT_EQ(reset.size(), 1);
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(Cell(model, 0, 0), "0x00000200");
}

TEST(MemoryViewModel, AFullMainImageIsShownWithoutCopyingItOrStoringCells) {
  ResetProgramState();
  InitChipViewDefaults();
  MemoryImages.MainFlashImage[kMainFlashImageSize - 1] = 0x5A;
  TMemoryViewModel model;
  const std::size_t before = HeapInUse();
  model.ShowRows(0, MemoryImages.MainFlashImage, 262'400);
  const std::size_t grown = HeapInUse() - before;
  EXPECT_EQ(model.rowCount(), 262'400);
  EXPECT_EQ(Cell(model, 262'399, 0), "0x00400FF0");
  EXPECT_EQ(Cell(model, 262'399, 16), "5A");
  EXPECT_EQ(Cell(model, 262'399, 17), "...............Z");
  // 4.7 million cells of their own, or a copy of the image, would take megabytes.
  EXPECT_LT(grown, 64u * 1024);
}

}  // namespace
