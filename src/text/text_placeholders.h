// The printf placeholders of a text, in order, as the kinds of argument
// they read: what makes a text's arguments checkable at compile time, and a
// Chinese text checkable against its English one.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

enum class TPlaceholderKind : char { Decimal, Unsigned, Hex, Text };

struct TPlaceholders {
  static constexpr std::size_t kMax = 8;
  std::array<TPlaceholderKind, kMax> Kinds{};
  std::size_t Count = 0;
  bool Valid = true;  // false: a placeholder this program does not use (%ld, %*d, %f, ...) or too many
};

// Flags, width and precision are taken as printf takes them; %% is no placeholder.
constexpr TPlaceholders ScanPlaceholders(std::string_view text) {
  TPlaceholders found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    ++i;
    while (i < text.size() && std::string_view("-+ #0").find(text[i]) != std::string_view::npos) ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i < text.size() && text[i] == '.') {
      ++i;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    if (i >= text.size()) return found.Valid = false, found;
    TPlaceholderKind kind;
    switch (text[i]) {
      case '%': continue;
      case 'd': case 'i': kind = TPlaceholderKind::Decimal; break;
      case 'u': kind = TPlaceholderKind::Unsigned; break;
      case 'x': case 'X': kind = TPlaceholderKind::Hex; break;
      case 's': kind = TPlaceholderKind::Text; break;
      default: return found.Valid = false, found;
    }
    if (found.Count == TPlaceholders::kMax) return found.Valid = false, found;
    found.Kinds[found.Count++] = kind;
  }
  return found;
}

// Whether the placeholders of shown are those of full or a leading part of
// them, kind by kind: shown formatted with full's arguments reads only
// arguments that are there, each as what it is.
constexpr bool PlaceholdersFit(std::string_view full, std::string_view shown) {
  const TPlaceholders a = ScanPlaceholders(full);
  const TPlaceholders b = ScanPlaceholders(shown);
  if (!a.Valid || !b.Valid || b.Count > a.Count) return false;
  for (std::size_t k = 0; k < b.Count; ++k)
    if (a.Kinds[k] != b.Kinds[k]) return false;
  return true;
}

// Whether an argument of type T is what a placeholder of this kind reads
// (after the default promotions of a variadic call).
template <typename T>
constexpr bool ArgumentFits(TPlaceholderKind kind) {
  if (kind == TPlaceholderKind::Text) return std::is_same_v<T, const char*> || std::is_same_v<T, char*>;
  const bool integer = std::is_integral_v<T> || (std::is_enum_v<T> && std::is_convertible_v<T, int>);
  return integer && !std::is_same_v<T, bool> && sizeof(T) <= sizeof(int);
}

template <typename... Args>
constexpr bool ArgumentsFit(std::string_view text) {
  const TPlaceholders found = ScanPlaceholders(text);
  if (!found.Valid || found.Count != sizeof...(Args)) return false;
  std::size_t k = 0;
  return (ArgumentFits<Args>(found.Kinds[k++]) && ...);
}
