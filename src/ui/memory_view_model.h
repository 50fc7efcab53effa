// The rows of a hex viewer grid, formatted on demand from the memory image
// itself: column 0 the row's address, columns 1 to 16 the bytes, column 17
// the bytes as text. Nothing is copied or stored per cell, so a full main
// image (262,400 rows) is shown at once, and a byte written into the image
// shows as soon as its rows are reported changed.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <span>

class TMemoryViewModel : public QAbstractTableModel {
 public:
  static constexpr int kAddressColumn = 0;
  static constexpr int kTextColumn = 17;
  static constexpr int kColumnCount = 18;
  static constexpr int kBytesPerRow = 16;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows rows rows of bytes, 16 a row, row i at firstAddress + 16 i. The
  // bytes are read whenever a cell is drawn, so they must outlive the model
  // (the program-wide images do). Rows that would hold none of the bytes are
  // not shown; cells past the last byte stay empty.
  void ShowRows(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes, int rows);
  // As ShowRows when other bytes are shown; for the bytes already shown,
  // only adds rows up to rows, so the view keeps its place.
  void ShowAtLeastRows(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes, int rows);
  // The bytes of rows first .. last changed: they are drawn again.
  void RowsChanged(int first, int last);
  // Back to the header row alone.
  void Clear();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  QString CellText(int row, int column) const;

  std::uint32_t firstAddress_ = 0;
  std::span<const std::uint8_t> bytes_;
  int rows_ = 0;
};
