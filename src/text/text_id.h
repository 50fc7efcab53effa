// The ids of the text table's rows, and the one lookup of a row's text in
// the language the executable was linked with (velmot_text_en or
// velmot_text_zh defines it; the core is the same for both).
#pragma once

#include <cstddef>
#include <cstdint>

enum class TTextId : std::uint16_t {
#define TEXT(id, english, chinese) id,
#include "text/text_table.inc"
#undef TEXT
};

inline constexpr std::size_t kTextCount = 0
#define TEXT(id, english, chinese) +1
#include "text/text_table.inc"
#undef TEXT
    ;

// The text of row id in this build's language (UTF-8, never null).
const char* Text(TTextId id);
