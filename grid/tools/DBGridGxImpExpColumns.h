#pragma once

#include "grid/tools/DBGridGxImpExp.h"

namespace grid_tools::detail {

// The grid's visible columns, in grid order.
[[nodiscard]] TColumnsListGx VisibleColumns(const IImpExpGridGx& grid);
// The visible ones among the grid's columns left..right (both inclusive, clipped to the grid).
[[nodiscard]] TColumnsListGx VisibleColumnsBetween(const IImpExpGridGx& grid, int left, int right);

} // namespace grid_tools::detail
