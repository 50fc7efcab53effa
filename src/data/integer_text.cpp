#include "data/integer_text.h"

#include <optional>
#include <string_view>

#include "text/format_text.h"

namespace {

constexpr std::uint64_t kUnsignedLimit = 0xFFFFFFFFull;
constexpr std::uint64_t kNegativeLimit = 0x80000000ull;

std::optional<unsigned> DigitValue(char c, unsigned radix) {
  unsigned value = 0;
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A' + 10);
  } else if (c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a' + 10);
  } else {
    return std::nullopt;
  }
  if (value >= radix) return std::nullopt;
  return value;
}

// The digits' value, or nothing when there are none, one is not a digit of
// the radix or the value passes limit.
std::optional<std::uint64_t> DigitsValue(std::string_view digits, unsigned radix, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const std::optional<unsigned> digit = DigitValue(c, radix);
    if (!digit) return std::nullopt;
    value = value * radix + *digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

EConvertError::EConvertError(const std::string& text)
    : std::runtime_error(FormatText(TTextId::NotAnIntegerFormat, text.c_str())) {}

std::uint32_t StrToInt32(const std::string& text) {
  std::string_view rest = Trimmed(text);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (negative || (!rest.empty() && rest.front() == '+')) rest.remove_prefix(1);
  unsigned radix = 10;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    radix = 16;
    rest.remove_prefix(2);
  } else if (rest.starts_with('$')) {
    radix = 16;
    rest.remove_prefix(1);
  }
  const std::optional<std::uint64_t> value = DigitsValue(rest, radix, negative ? kNegativeLimit : kUnsignedLimit);
  if (!value) throw EConvertError(text);
  return static_cast<std::uint32_t>(negative ? 0 - *value : *value);
}
