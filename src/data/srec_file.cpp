#include "data/srec_file.h"

#include <algorithm>
#include <cstddef>

#include "data/object_output.h"
#include "data/object_records.h"

namespace {

constexpr std::size_t kAddressPos = 4;  // after 'S', the type and the count

// Address bytes of a data record by its type digit; 0: not a data record.
constexpr std::uint8_t kAddressBytes[10] = {0, 2, 3, 4, 0, 0, 0, 0, 0, 0};

bool IsSkippedSRecLine(std::string_view line) { return line.size() < 3; }

// The record type that the writer uses for a range ending at a given address.
struct TSRecForm {
  std::uint32_t lastAddress;  // the highest address this form holds
  char dataType;
  char endType;
  std::uint8_t addressBytes;
};

constexpr TSRecForm kForms[] = {
    {0xFFFF, '1', '9', 2},
    {0xFFFFFF, '2', '8', 3},
    {0xFFFFFFFF, '3', '7', 4},
};

void AppendRecord(std::string& out, char type, std::uint8_t addressBytes, std::uint32_t address,
                  std::span<const std::uint8_t> data) {
  const auto count = static_cast<std::uint8_t>(data.size() + addressBytes + 1);
  std::uint8_t sum = count;
  out += 'S';
  out += type;
  AppendHex(out, count, 2);
  AppendHex(out, address, 2 * addressBytes);
  for (int i = 0; i < addressBytes; ++i) sum = static_cast<std::uint8_t>(sum + (address >> (8 * i)));
  sum = static_cast<std::uint8_t>(sum + AppendHexBytes(out, data));
  AppendHex(out, static_cast<std::uint8_t>(~sum), 2);
  out += "\r\n";
}

}  // namespace

std::uint8_t ParseSRecLine(std::string_view line, std::uint32_t& address, TRecordTotals& totals,
                           const TAreaImages& images) {
  if (line.empty() || line[0] != 'S') return kLineBadStart;
  if (line.size() < 2) return kLineBadChecksum;
  const int type = line[1] - '0';
  if (type < 0 || type > 9 || type == 4) return kLineBadType;
  const std::uint8_t addressBytes = kAddressBytes[type];
  if (addressBytes == 0) return kLineOk;  // header, record counts, terminators

  // The count covers address, data and checksum.
  if (line.size() < kAddressPos) return kLineBadChecksum;
  const std::uint8_t count = HexByteAt(line, 2);
  if (count < addressBytes + 1 || line.size() < kAddressPos + 2u * count) return kLineBadChecksum;
  const std::uint32_t n = count - (addressBytes + 1u);
  std::uint8_t recordSum = count;
  address = 0;
  for (std::size_t i = 0; i < addressBytes; ++i) {
    const std::uint8_t b = HexByteAt(line, kAddressPos + 2 * i);
    address = address << 8 | b;
    recordSum = static_cast<std::uint8_t>(recordSum + b);
  }
  const std::size_t dataPos = kAddressPos + 2u * addressBytes;
  std::uint8_t code = kLineOk;
  if (n > 0) {  // a record without data stores nothing and changes no bounds
    WidenBounds(address, n, totals);
    if (StoreDataRecord(address, line.substr(dataPos, 2 * n), n, recordSum, totals, images) == TRecordArea::None) {
      code = kLineOutOfChip;
    }
  }
  recordSum = static_cast<std::uint8_t>(recordSum + HexByteAt(line, dataPos + 2 * n));
  if (recordSum != 0xFF) return kLineBadChecksum;
  return code;
}

TRecordFileRead LoadSRecFile(std::string_view text, const TAreaImages& images) {
  std::uint32_t address = 0;
  return LoadRecordLines(text, IsSkippedSRecLine, [&](std::string_view line, TRecordTotals& totals) {
    return ParseSRecLine(line, address, totals, images);
  });
}

void WriteSRecFile(const std::string& fileName, std::span<const std::uint8_t> image, std::uint32_t base,
                   std::uint32_t first, std::uint32_t last) {
  const TSRecForm& form = *std::find_if(std::begin(kForms), std::end(kForms),
                                        [last](const TSRecForm& f) { return last <= f.lastAddress; });
  TOutputFile file(fileName);
  std::string out;
  if (RangeInImage(image.size(), base, first, last)) {
    for (std::uint64_t a = first; a <= last;) {
      const std::uint64_t n = std::min<std::uint64_t>(32, std::uint64_t{last} - a + 1);
      AppendRecord(out, form.dataType, form.addressBytes, static_cast<std::uint32_t>(a), image.subspan(a - base, n));
      a += n;
      file.WriteWhenFull(out);
    }
  }
  AppendRecord(out, form.endType, form.addressBytes, 0, {});
  file.Write(out);
  file.Close();
}
