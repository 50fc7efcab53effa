// The byte routines of the project file: every byte written or read is added
// to the running ProjectSum. The writer collects the file in memory; the
// reader walks the bytes of a file read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TProjectWriter {
 public:
  void PrjWriteByte(std::uint8_t value);
  void PrjWriteZeros(std::size_t count, std::uint8_t value);
  // count values 0..254 from the program-wide generator.
  void PrjWriteRandom(std::size_t count);
  void PrjWriteWord(std::uint16_t value);      // low byte first
  void PrjWriteLongWord(std::uint32_t value);  // low byte first
  // Each byte of text XOR key (0: plain), cut to width on a whole UTF-8
  // character and followed by plain zeros up to width; width 0 writes the text
  // as long as it is.
  void PrjWriteString(std::string_view text, std::size_t width, std::uint8_t key);

  std::uint32_t ProjectSum() const { return sum_; }
  // The file so far, handed over; the writer is empty after.
  std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
  void Reserve(std::size_t size) { bytes_.reserve(size); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t sum_ = 0;
};

class TProjectReader {
 public:
  explicit TProjectReader(std::span<const std::uint8_t> file) : file_(file) {}

  // Whether count more bytes are there. Past the end every read gives 0.
  bool Has(std::size_t count) const { return file_.size() - pos_ >= count; }
  std::size_t Size() const { return file_.size(); }

  std::uint8_t PrjReadByte();
  std::uint16_t PrjReadWord();
  std::uint32_t PrjReadLongWord();
  // count bytes, each XOR key unless it is zero (zero bytes stay zero), at
  // full width: the zeros of the padding remain.
  std::string PrjReadString(std::size_t count, std::uint8_t key);
  void PrjSkip(std::size_t count);

  std::uint32_t ProjectSum() const { return sum_; }

 private:
  std::span<const std::uint8_t> file_;
  std::size_t pos_ = 0;
  std::uint32_t sum_ = 0;
};

// Run coding of the main and EEP data: a key byte, then each data byte XOR
// pad[c] XOR the key, c counting 0..1023; after every 1024th byte a new key.
void PrjWriteRunCoded(TProjectWriter& writer, std::span<const std::uint8_t> data, std::span<const std::uint8_t> pad);
void PrjReadRunCoded(TProjectReader& reader, std::span<std::uint8_t> data, std::span<const std::uint8_t> pad);
