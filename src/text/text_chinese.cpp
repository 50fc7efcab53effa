// The Chinese build's texts: the table's Chinese column.
#include "text/text_placeholders.h"
#include "text/text_rows.h"

namespace {

constexpr bool EveryChineseTextFits() {
  for (const TTextRow& row : kTextRows)
    if (!PlaceholdersFit(row.English, row.Chinese)) return false;
  return true;
}
// Formatting passes the English text's arguments in both builds.
static_assert(EveryChineseTextFits(), "a Chinese text reads an argument its English text does not pass");

}  // namespace

const char* Text(TTextId id) { return TextRow(id).Chinese; }
