// The rows of a hex viewer grid, formatted on demand from one copy of the
// shown bytes: column 0 the row's address, columns 1 to 16 the bytes,
// column 17 the bytes as text. Nothing is stored per cell, so a full main
// image (262,400 rows) is shown as fast as it is copied.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <span>
#include <vector>

class TMemoryViewModel : public QAbstractTableModel {
 public:
  static constexpr int kAddressColumn = 0;
  static constexpr int kTextColumn = 17;
  static constexpr int kColumnCount = 18;
  static constexpr int kBytesPerRow = 16;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows the bytes from firstAddress on, 16 a row; a last partial row shows
  // its missing bytes as empty cells.
  void SetSnapshot(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes);
  // Back to the header row alone.
  void Clear();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  QString CellText(int row, int column) const;

  std::uint32_t firstAddress_ = 0;
  std::vector<std::uint8_t> bytes_;
};
