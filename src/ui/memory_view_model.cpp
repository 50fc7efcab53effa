#include "ui/memory_view_model.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

QString AddressText(std::uint32_t address) {
  QChar text[10] = {u'0', u'x'};
  for (int i = 0; i < 8; ++i) text[2 + i] = QLatin1Char(kHexDigits[(address >> (28 - 4 * i)) & 0xF]);
  return QString(text, 10);
}

QString ByteText(std::uint8_t b) {
  const QChar text[2] = {QLatin1Char(kHexDigits[b >> 4]), QLatin1Char(kHexDigits[b & 0xF])};
  return QString(text, 2);
}

QChar ShownChar(std::uint8_t b) { return b >= 0x20 && b <= 0x7F ? QLatin1Char(static_cast<char>(b)) : QLatin1Char('.'); }

// rows, at most the rows that hold any of bytes.
int RowsHolding(std::span<const std::uint8_t> bytes, int rows) {
  const std::size_t bytesPerRow = TMemoryViewModel::kBytesPerRow;
  const std::size_t holding = (bytes.size() + bytesPerRow - 1) / bytesPerRow;
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(rows, 0)), holding));
}

}  // namespace

void TMemoryViewModel::ShowRows(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes, int rows) {
  beginResetModel();
  firstAddress_ = firstAddress;
  bytes_ = bytes;
  rows_ = RowsHolding(bytes, rows);
  endResetModel();
}

void TMemoryViewModel::ShowAtLeastRows(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes, int rows) {
  const bool shown = firstAddress == firstAddress_ && bytes.data() == bytes_.data() && bytes.size() == bytes_.size();
  if (!shown) {
    ShowRows(firstAddress, bytes, rows);
    return;
  }
  const int wanted = RowsHolding(bytes, rows);
  if (wanted <= rows_) return;
  beginInsertRows(QModelIndex(), rows_, wanted - 1);
  rows_ = wanted;
  endInsertRows();
}

void TMemoryViewModel::RowsChanged(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (first > last) return;
  emit dataChanged(index(first, 0), index(last, kColumnCount - 1), {Qt::DisplayRole});
}

void TMemoryViewModel::Clear() { ShowRows(0, {}, 0); }

int TMemoryViewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TMemoryViewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TMemoryViewModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return CellText(index.row(), index.column());
}

QString TMemoryViewModel::CellText(int row, int column) const {
  const std::size_t rowStart = static_cast<std::size_t>(row) * kBytesPerRow;
  if (rowStart >= bytes_.size()) return {};
  if (column == kAddressColumn) return AddressText(firstAddress_ + static_cast<std::uint32_t>(rowStart));
  const std::size_t rowEnd = std::min(rowStart + kBytesPerRow, bytes_.size());
  if (column == kTextColumn) {
    QString text(static_cast<qsizetype>(rowEnd - rowStart), Qt::Uninitialized);
    for (std::size_t i = rowStart; i < rowEnd; ++i) text[static_cast<qsizetype>(i - rowStart)] = ShownChar(bytes_[i]);
    return text;
  }
  const std::size_t i = rowStart + static_cast<std::size_t>(column - 1);
  return i < rowEnd ? ByteText(bytes_[i]) : QString();
}

QVariant TMemoryViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  // Header cells read like the grid's fixed row: left-aligned text.
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  if (section <= kAddressColumn || section >= kTextColumn) return QString();
  return QStringLiteral("  ") + QLatin1Char(kHexDigits[section - 1]);
}
