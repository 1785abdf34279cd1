#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the tabs page (gallery --tabs) puts its page controls: a row for each side the tabs stand
// on and a column for each tab shape, each cell a page control of three pages with the middle
// one chosen. Rectangles are in the form's client coordinates.
namespace gallery::tabs {

inline constexpr char CAPTION[] = "Tab Gallery";
inline constexpr RECT WINDOW_RECT{12, 6, 1012, 762};

inline constexpr int SHAPES = 5;
inline constexpr int SIDES = 4;

inline constexpr int LABELS_LEFT = 12;
inline constexpr int CELLS_LEFT = 112;
inline constexpr int HEADINGS_TOP = 10;
inline constexpr int CELLS_TOP = 32;
// Square cells: the side strips have the room the top and bottom ones have, for the same tabs.
inline constexpr int CELL_WIDTH = 164;
inline constexpr int CELL_HEIGHT = CELL_WIDTH;
inline constexpr int CELL_GAP = 8;

constexpr RECT Cell(int shape, int side)
{
    const int left = CELLS_LEFT + shape * (CELL_WIDTH + CELL_GAP);
    const int top = CELLS_TOP + side * (CELL_HEIGHT + CELL_GAP);
    return RECT{left, top, left + CELL_WIDTH, top + CELL_HEIGHT};
}

constexpr RECT ShapeHeading(int shape)
{
    const RECT cell = Cell(shape, 0);
    return RECT{cell.left, HEADINGS_TOP, cell.right, HEADINGS_TOP + 16};
}

constexpr RECT SideLabel(int side)
{
    const RECT cell = Cell(0, side);
    return RECT{LABELS_LEFT, cell.top + 4, CELLS_LEFT - 8, cell.top + 20};
}

static_assert(Cell(SHAPES - 1, 0).right + 12 <= WINDOW_RECT.right - WINDOW_RECT.left, "the cells fit across");
static_assert(Cell(0, SIDES - 1).bottom + 40 <= WINDOW_RECT.bottom - WINDOW_RECT.top, "the cells fit down");

} // namespace gallery::tabs
