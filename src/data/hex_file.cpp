#include "data/hex_file.h"

#include <algorithm>
#include <cstddef>

#include "data/object_output.h"
#include "data/object_records.h"

namespace {

enum : std::uint8_t {
  kDataRecord = 0x00,
  kEndRecord = 0x01,
  kSegmentRecord = 0x02,
  kStartSegmentRecord = 0x03,
  kLinearRecord = 0x04,
  kStartLinearRecord = 0x05,
};

constexpr std::size_t kHeaderLength = 9;           // ':', count, address, type
constexpr std::size_t kExtendedRecordLength = 15;  // header, 2 data bytes, checksum

// Types 02 and 04: the two bytes at 9..12, whatever the count says, times scale.
std::uint8_t ParseExtendedAddress(std::string_view line, bool addressIsZero, std::uint8_t recordSum,
                                  std::uint32_t& part, std::uint32_t scale) {
  if (!addressIsZero) return kLineBadExtAddress;
  if (line.size() < kExtendedRecordLength) return kLineBadChecksum;
  const std::uint8_t high = HexByteAt(line, 9);
  const std::uint8_t low = HexByteAt(line, 11);
  part = static_cast<std::uint32_t>(high << 8 | low) * scale;
  recordSum = static_cast<std::uint8_t>(recordSum + high + low + HexByteAt(line, 13));
  return recordSum == 0 ? kLineOk : kLineBadChecksum;
}

bool IsSkippedHexLine(std::string_view line) {
  return line.empty() || line == ":00000001FF" || line == ":00FFFF0101";
}

void AppendRecord(std::string& out, std::uint8_t type, std::uint32_t address, std::span<const std::uint8_t> data) {
  const auto count = static_cast<std::uint8_t>(data.size());
  std::uint8_t sum = static_cast<std::uint8_t>(count + (address >> 8) + address + type);
  out += ':';
  AppendHex(out, count, 2);
  AppendHex(out, address, 4);
  AppendHex(out, type, 2);
  sum = static_cast<std::uint8_t>(sum + AppendHexBytes(out, data));
  AppendHex(out, static_cast<std::uint8_t>(-sum), 2);
  out += "\r\n";
}

void AppendLinearRecord(std::string& out, std::uint64_t address) {
  const std::uint8_t upper[] = {static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16)};
  AppendRecord(out, kLinearRecord, 0, upper);
}

}  // namespace

std::uint8_t ParseHexLine(std::string_view line, std::uint32_t& linear, std::uint32_t& segment,
                          TRecordTotals& totals, const TAreaImages& images) {
  if (line.empty() || line[0] != ':') return kLineBadStart;
  if (line.size() < kHeaderLength) return kLineBadChecksum;
  const std::uint8_t count = HexByteAt(line, 1);
  const std::uint8_t addressHigh = HexByteAt(line, 3);
  const std::uint8_t addressLow = HexByteAt(line, 5);
  const std::uint8_t type = HexByteAt(line, 7);
  std::uint8_t recordSum = static_cast<std::uint8_t>(count + addressHigh + addressLow + type);
  if (count == 0) return kLineOk;  // the end-of-file record among them

  const bool addressIsZero = (addressHigh | addressLow) == 0;
  switch (type) {
    case kDataRecord:
      break;
    case kSegmentRecord:
      return ParseExtendedAddress(line, addressIsZero, recordSum, segment, 16);
    case kLinearRecord:
      return ParseExtendedAddress(line, addressIsZero, recordSum, linear, 65536);
    case kEndRecord:
    case kStartSegmentRecord:
    case kStartLinearRecord:
      return kLineOk;
    default:
      return kLineUnknownType;
  }

  if (line.size() < kHeaderLength + 2u * count + 2) return kLineBadChecksum;
  const std::uint32_t address = linear + segment + static_cast<std::uint32_t>(addressHigh << 8 | addressLow);
  const TRecordArea area = StoreDataRecord(address, line.substr(kHeaderLength, 2u * count), count, recordSum, totals, images);
  if (area != TRecordArea::Option && area != TRecordArea::None) WidenBounds(address, count, totals);
  recordSum = static_cast<std::uint8_t>(recordSum + HexByteAt(line, kHeaderLength + 2u * count));
  if (recordSum != 0) return kLineBadChecksum;
  return area == TRecordArea::None ? kLineOutOfChip : kLineOk;
}

TRecordFileRead LoadHexFile(std::string_view text, const TAreaImages& images) {
  std::uint32_t linear = 0;
  std::uint32_t segment = 0;
  return LoadRecordLines(text, IsSkippedHexLine, [&](std::string_view line, TRecordTotals& totals) {
    return ParseHexLine(line, linear, segment, totals, images);
  });
}

void WriteHexFile(const std::string& fileName, std::span<const std::uint8_t> image, std::uint32_t base,
                  std::uint32_t first, std::uint32_t last) {
  TOutputFile file(fileName);
  std::string out;
  const bool linearForm = last > 0xFFFF;
  const std::uint64_t recordSize = linearForm ? 32 : 16;
  if (linearForm) AppendLinearRecord(out, first);
  if (RangeInImage(image.size(), base, first, last)) {
    for (std::uint64_t a = first; a <= last;) {
      std::uint64_t n = std::min(recordSize, std::uint64_t{last} - a + 1);
      if (linearForm) n = std::min(n, 0x10000 - (a & 0xFFFF));
      AppendRecord(out, kDataRecord, a & 0xFFFF, image.subspan(a - base, n));
      a += n;
      if (linearForm && (a & 0xFFFF) == 0 && a <= last) AppendLinearRecord(out, a);
      file.WriteWhenFull(out);
    }
  }
  AppendRecord(out, kEndRecord, 0, {});
  file.Write(out);
  file.Close();
}
