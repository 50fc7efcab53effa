// The text table as data: every row with its id's name and both columns,
// in the order of the ids.
#pragma once

#include <iterator>

#include "text/text_id.h"

struct TTextRow {
  const char* Name;  // the id's name
  const char* English;
  const char* Chinese;
};

inline constexpr TTextRow kTextRows[] = {
#define TEXT(id, english, chinese) {#id, english, chinese},
#include "text/text_table.inc"
#undef TEXT
};
static_assert(std::size(kTextRows) == kTextCount);

constexpr const TTextRow& TextRow(TTextId id) { return kTextRows[static_cast<std::size_t>(id)]; }
