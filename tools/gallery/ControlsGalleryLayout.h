#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the controls page (gallery --controls) puts the control library's own controls, in the
// same scheme as the standard page (GalleryLayout.h): two group boxes built by the same code, the
// left one enabled, the right one disabled; control rectangles in the column's coordinates. Each
// section is a heading over a row or grid of cells.
namespace gallery::library {

inline constexpr char CAPTION[] = "Control Library Gallery";
inline constexpr RECT WINDOW_RECT{12, 12, 1012, 708};

inline constexpr RECT ENABLED_COLUMN{8, 4, 492, 662};
inline constexpr RECT DISABLED_COLUMN{500, 4, 984, 662};

inline constexpr int LEFT = 12;
inline constexpr int RIGHT = 472;
inline constexpr int HEADING_HEIGHT = 14;
// Below a heading, before its first row.
inline constexpr int HEADING_GAP = 4;
// From the bottom of a section to the next heading.
inline constexpr int SECTION_GAP = 16;

constexpr RECT Heading(int top) { return RECT{LEFT, top, RIGHT, top + HEADING_HEIGHT}; }

// The cell at `column`, `row` of a grid starting at (LEFT, top) whose cells are `width` x `height`
// apart by `gap` pixels.
constexpr RECT GridCell(int top, int width, int height, int gap, int column, int row)
{
    const int left = LEFT + column * (width + gap);
    const int y = top + row * (height + gap);
    return RECT{left, y, left + width, y + height};
}

// Edits: one per frame style, four to a row.
inline constexpr int EDITS_HEADING = 20;
inline constexpr int EDITS_TOP = EDITS_HEADING + HEADING_HEIGHT + HEADING_GAP;
inline constexpr int EDIT_WIDTH = 109;
inline constexpr int EDIT_HEIGHT = 21;
inline constexpr int EDIT_GAP = 8;
inline constexpr int EDITS_PER_ROW = 4;
constexpr RECT EditCell(int index)
{
    return GridCell(EDITS_TOP, EDIT_WIDTH, EDIT_HEIGHT, EDIT_GAP, index % EDITS_PER_ROW, index / EDITS_PER_ROW);
}

// Labels: three text styles stacked on the left, a turned caption and one on an arc beside them.
inline constexpr int LABELS_HEADING = EditCell(10).bottom + SECTION_GAP;
inline constexpr int LABELS_TOP = LABELS_HEADING + HEADING_HEIGHT + HEADING_GAP;
constexpr RECT StyledLabel(int index) { return GridCell(LABELS_TOP, 150, 24, 4, 0, index); }
inline constexpr RECT ROTATED_LABEL{170, LABELS_TOP, 270, LABELS_TOP + 80};
inline constexpr RECT ARC_LABEL{282, LABELS_TOP, RIGHT, LABELS_TOP + 80};

// Buttons: the push buttons then the stock bit buttons, five to a row.
inline constexpr int BUTTONS_HEADING = ARC_LABEL.bottom + SECTION_GAP;
inline constexpr int BUTTONS_TOP = BUTTONS_HEADING + HEADING_HEIGHT + HEADING_GAP;
inline constexpr int BUTTONS_PER_ROW = 5;
constexpr RECT ButtonCell(int index)
{
    return GridCell(BUTTONS_TOP, 86, 27, 7, index % BUTTONS_PER_ROW, index / BUTTONS_PER_ROW);
}
inline constexpr RECT BUTTON = ButtonCell(0);
inline constexpr RECT DEFAULT_BUTTON = ButtonCell(1);

// Check boxes: two states, and the third (grayed) of one that allows it.
inline constexpr int CHECKS_HEADING = ButtonCell(9).bottom + SECTION_GAP;
inline constexpr int CHECKS_TOP = CHECKS_HEADING + HEADING_HEIGHT + HEADING_GAP;
constexpr RECT CheckCell(int index) { return GridCell(CHECKS_TOP, 148, 17, 8, index, 0); }

// Progress bars: a row per bar style, a column per percent.
inline constexpr int BARS_HEADING = CheckCell(0).bottom + SECTION_GAP;
inline constexpr int BARS_TOP = BARS_HEADING + HEADING_HEIGHT + HEADING_GAP;
inline constexpr int BAR_PERCENTS[] = {25, 60, 100};
constexpr RECT BarCell(int style, int percent) { return GridCell(BARS_TOP, 148, 18, 8, percent, style); }

// Two LED displays, one still and one scrolling, and two border controls beside them.
inline constexpr int LED_HEADING = BarCell(2, 0).bottom + SECTION_GAP;
inline constexpr int LED_TOP = LED_HEADING + HEADING_HEIGHT + HEADING_GAP;
// As high as the installer's, which gives dots of 2 pixels.
inline constexpr int LED_HEIGHT = 23;
inline constexpr RECT LED_STILL{LEFT, LED_TOP, 172, LED_TOP + LED_HEIGHT};
inline constexpr RECT LED_SCROLLING{180, LED_TOP, 340, LED_TOP + LED_HEIGHT};
inline constexpr RECT BORDER{348, LED_TOP, 406, LED_TOP + LED_HEIGHT};
inline constexpr RECT BORDER_WIDE{414, LED_TOP, RIGHT, LED_TOP + LED_HEIGHT};

// Panels: four bevels, each with its caption.
inline constexpr int PANELS_HEADING = LED_STILL.bottom + SECTION_GAP;
inline constexpr int PANELS_TOP = PANELS_HEADING + HEADING_HEIGHT + HEADING_GAP;
constexpr RECT PanelCell(int index) { return GridCell(PANELS_TOP, 109, 64, 8, index, 0); }

static_assert(PanelCell(3).bottom + 12 <= ENABLED_COLUMN.bottom - ENABLED_COLUMN.top, "the panels fit the column");

} // namespace gallery::library
