#include "project/project_bytes.h"

#include "data/random.h"
#include "project/project_format.h"
#include "text/format_text.h"

void TProjectWriter::PrjWriteByte(std::uint8_t value) {
  bytes_.push_back(value);
  sum_ += value;
}

void TProjectWriter::PrjWriteZeros(std::size_t count, std::uint8_t value) {
  bytes_.insert(bytes_.end(), count, value);
  sum_ += static_cast<std::uint32_t>(count * value);
}

void TProjectWriter::PrjWriteRandom(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) PrjWriteByte(RandomByte());
}

void TProjectWriter::PrjWriteWord(std::uint16_t value) {
  PrjWriteByte(static_cast<std::uint8_t>(value));
  PrjWriteByte(static_cast<std::uint8_t>(value >> 8));
}

void TProjectWriter::PrjWriteLongWord(std::uint32_t value) {
  PrjWriteWord(static_cast<std::uint16_t>(value));
  PrjWriteWord(static_cast<std::uint16_t>(value >> 16));
}

void TProjectWriter::PrjWriteString(std::string_view text, std::size_t width, std::uint8_t key) {
  if (width == 0) width = text.size();
  const std::size_t n = Utf8CutLength(text, width);
  for (std::size_t i = 0; i < n; ++i) PrjWriteByte(static_cast<std::uint8_t>(text[i]) ^ key);
  PrjWriteZeros(width - n, 0);
}

std::uint8_t TProjectReader::PrjReadByte() {
  if (!Has(1)) return 0;
  const std::uint8_t value = file_[pos_++];
  sum_ += value;
  return value;
}

std::uint16_t TProjectReader::PrjReadWord() {
  const std::uint8_t low = PrjReadByte();
  return static_cast<std::uint16_t>(low | PrjReadByte() << 8);
}

std::uint32_t TProjectReader::PrjReadLongWord() {
  const std::uint16_t low = PrjReadWord();
  return low | static_cast<std::uint32_t>(PrjReadWord()) << 16;
}

std::string TProjectReader::PrjReadString(std::size_t count, std::uint8_t key) {
  std::string text(count, '\0');
  for (char& c : text) {
    const std::uint8_t stored = PrjReadByte();
    c = static_cast<char>(stored == 0 ? 0 : stored ^ key);
  }
  return text;
}

void TProjectReader::PrjSkip(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) PrjReadByte();
}

void PrjWriteRunCoded(TProjectWriter& writer, std::span<const std::uint8_t> data, std::span<const std::uint8_t> pad) {
  std::uint8_t key = RandomByte();
  writer.PrjWriteByte(key);
  std::size_t c = 0;
  for (const std::uint8_t b : data) {
    writer.PrjWriteByte(b ^ pad[c] ^ key);
    if (++c == kRunLength) {
      c = 0;
      key = RandomByte();
      writer.PrjWriteByte(key);
    }
  }
}

void PrjReadRunCoded(TProjectReader& reader, std::span<std::uint8_t> data, std::span<const std::uint8_t> pad) {
  std::uint8_t key = reader.PrjReadByte();
  std::size_t c = 0;
  for (std::uint8_t& b : data) {
    b = reader.PrjReadByte() ^ pad[c] ^ key;
    if (++c == kRunLength) {
      c = 0;
      key = reader.PrjReadByte();
    }
  }
}
