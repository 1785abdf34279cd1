#pragma once

#include <memory>

class TColumnGx;
class TCustomDBGridGx;

// The data grid a lookup column drops down, made on first use. The grid library has no drop-down
// grid of its own: the tools library that has one installs a maker of them at start-up, and
// without it a column's drop-down box only keeps its stored settings.
using TColumnDropDownGridMakerGx = std::unique_ptr<TCustomDBGridGx> (*)(TColumnGx& column);

void SetColumnDropDownGridMaker(TColumnDropDownGridMakerGx maker);
[[nodiscard]] TColumnDropDownGridMakerGx ColumnDropDownGridMaker();
