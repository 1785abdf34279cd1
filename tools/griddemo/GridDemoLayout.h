#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the grid demo puts things, so that a test looking at the screen knows where to look.
namespace griddemo {

inline constexpr char CAPTION[] = "Data Grid";
// The main form, frame included, in screen coordinates.
inline constexpr RECT WINDOW_RECT{16, 16, 656, 436};
// The data grid, in the form's client coordinates.
inline constexpr RECT GRID{8, 8, 624, 382};
// The rows of the sample table, the height of a record's row (and of the filter row; a line
// follows each) and how the grid colours them.
inline constexpr int ROWS = 40;
inline constexpr int ROW_HEIGHT = 17;
inline constexpr COLORREF ODD_ROW_COLOR = RGB(0xF0, 0xF4, 0xFA);
inline constexpr COLORREF FOOTER_COLOR = RGB(0xFF, 0xF4, 0xD0);
// The first two columns' widths, and where the name and minutes columns start across the grid
// (after the indicator and each column's line).
inline constexpr int NAME_WIDTH = 170;
inline constexpr int NUMBER_WIDTH = 140;
inline constexpr int NAME_LEFT = 11 + 1;
inline constexpr int MINUTES_LEFT = NAME_LEFT + NAME_WIDTH + 1 + NUMBER_WIDTH + 1;

} // namespace griddemo
