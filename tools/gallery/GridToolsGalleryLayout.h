#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the grid tools page (gallery --grid-tools) puts its controls, in the form's client
// coordinates: a column of labelled data-aware editors, the combo box with its list dropped
// down, three check boxes, the calculator, and under it a data grid with more rows and columns
// than it shows, so that both its scroll bars stand.
namespace gallery::gridtools {

inline constexpr char CAPTION[] = "Grid Tools Gallery";
inline constexpr RECT WINDOW_RECT{12, 12, 532, 392};

inline constexpr int LABELS_LEFT = 12;
inline constexpr int CONTROLS_LEFT = 100;
inline constexpr int CONTROL_WIDTH = 160;
inline constexpr int ROW_HEIGHT = 21;
inline constexpr int ROW_STEP = 32;
inline constexpr int FIRST_TOP = 16;

constexpr RECT Row(int row)
{
    const int top = FIRST_TOP + row * ROW_STEP;
    return RECT{CONTROLS_LEFT, top, CONTROLS_LEFT + CONTROL_WIDTH, top + ROW_HEIGHT};
}

constexpr RECT Label(int row)
{
    const RECT control = Row(row);
    return RECT{LABELS_LEFT, control.top + 3, CONTROLS_LEFT - 8, control.bottom};
}

inline constexpr int EDIT_ROW = 0;
inline constexpr int SPIN_ROW = 1;
inline constexpr int DISABLED_ROW = 2;
inline constexpr int COMBO_ROW = 3;
// The combo's list drops down over the rows below it; the check boxes stand below the list.
inline constexpr int COMBO_ITEMS = 5;
inline constexpr int COMBO_SELECTED = 2;
inline constexpr int CHECK_ROW = 7;
inline constexpr int CHECKS = 3;

constexpr RECT Check(int index)
{
    const RECT row = Row(CHECK_ROW + index);
    return RECT{row.left, row.top, row.right, row.top + 17};
}

inline constexpr RECT CALCULATOR{300, 16, 300 + 184, 16 + 127};
inline constexpr RECT GRID{300, 160, 300 + 184, 160 + 170};
inline constexpr int GRID_ROWS = 40;

static_assert(Check(CHECKS - 1).bottom + 40 <= WINDOW_RECT.bottom - WINDOW_RECT.top, "the rows fit down");
static_assert(GRID.bottom + 12 <= WINDOW_RECT.bottom - WINDOW_RECT.top - 26, "the grid fits down");
static_assert(CALCULATOR.right + 12 <= WINDOW_RECT.right - WINDOW_RECT.left, "the calculator fits across");

} // namespace gallery::gridtools
