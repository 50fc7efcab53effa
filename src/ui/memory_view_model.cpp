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

}  // namespace

void TMemoryViewModel::SetSnapshot(std::uint32_t firstAddress, std::span<const std::uint8_t> bytes) {
  beginResetModel();
  firstAddress_ = firstAddress;
  bytes_.assign(bytes.begin(), bytes.end());
  endResetModel();
}

void TMemoryViewModel::Clear() { SetSnapshot(0, {}); }

int TMemoryViewModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>((bytes_.size() + kBytesPerRow - 1) / kBytesPerRow);
}

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
