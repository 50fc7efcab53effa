// The English build's texts: the table's English column.
#include "text/text_rows.h"

const char* Text(TTextId id) { return TextRow(id).English; }
