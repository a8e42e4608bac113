#include <algorithm>

#include "data/extended_float.h"
#include "data/picture.h"

namespace quillon {

namespace {

// floor(position * ratio) + 1, kept inside the cell.
int32_t blockEdge(Extended64 ratio, int64_t position, int32_t cellSize) {
  if (position <= 0) return 1;  // the product is 0 or negative: below the cell
  const int64_t edge = extendedFloor(extendedMultiply(ratio, static_cast<uint64_t>(position)));
  return static_cast<int32_t>(std::clamp<int64_t>(edge, 0, cellSize - 1) + 1);
}

}  // namespace

BlockSpan thumbnailBlock(int32_t index, int32_t size) {
  // The cell is square, so one span serves columns (AA) and rows (DD).
  static_assert(AA == DD);
  if (size <= 0) return BlockSpan{};
  const Extended64 ratio = extendedRatio(static_cast<uint64_t>(AA), static_cast<uint64_t>(size));
  return BlockSpan{blockEdge(ratio, int64_t{index} - 1, AA), blockEdge(ratio, int64_t{index}, AA)};
}

}  // namespace quillon
