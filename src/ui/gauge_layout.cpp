#include "ui/gauge_layout.h"

namespace {

struct TLayoutRow {
  int UpToCount;
  TGaugeLayout Layout;
};

// The rows are spaced unevenly on purpose: they keep the last gauge at 466
// under memos of heights that fill the column.
constexpr TLayoutRow kLayoutRows[] = {
    {1, {1, {466}, 436}},
    {4, {4, {408, 427, 446, 466}, 376}},
    {8, {8, {331, 350, 369, 389, 408, 427, 446, 466}, 300}},
    {10, {10, {292, 312, 331, 350, 369, 389, 408, 427, 446, 466}, 262}},
};

}  // namespace

TGaugeLayout GaugeLayoutFor(int programmerCount) {
  for (const TLayoutRow& row : kLayoutRows)
    if (programmerCount <= row.UpToCount) return row.Layout;
  return kLayoutRows[std::size(kLayoutRows) - 1].Layout;
}
