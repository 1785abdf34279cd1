#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the gallery puts things, so that a test looking at the screen knows where to look. The
// window holds two columns (group boxes) built by the same code: every control of the left one
// is enabled, every control of the right one disabled. Control rectangles are in the column's
// coordinates; columns are in the form's client coordinates.
namespace gallery {

inline constexpr char CAPTION[] = "Control Gallery";
// The main form, frame included, in screen coordinates (a sizeable frame, a caption, no menu).
inline constexpr RECT WINDOW_RECT{12, 12, 1012, 732};

inline constexpr RECT ENABLED_COLUMN{8, 4, 492, 687};
inline constexpr RECT DISABLED_COLUMN{500, 4, 984, 687};

// Buttons and boxes.
inline constexpr RECT BUTTON{12, 22, 92, 47};
inline constexpr RECT CHECK_BOX{102, 26, 187, 43};
inline constexpr RECT RADIO_BUTTON{192, 26, 262, 43};
inline constexpr RECT BIT_BUTTON{268, 22, 368, 47};
inline constexpr RECT SPEED_BUTTON_DOWN{378, 22, 403, 47};
inline constexpr RECT SPEED_BUTTON_UP{405, 22, 430, 47};
inline constexpr RECT SPEED_BUTTON_FLAT{432, 22, 457, 47};

// One-line edits.
inline constexpr RECT EDIT{12, 58, 132, 79};
inline constexpr RECT MASK_EDIT{140, 58, 240, 79};
inline constexpr RECT COMBO_BOX{248, 58, 372, 79};
inline constexpr RECT UP_DOWN_EDIT{380, 58, 472, 79};
// The up-down keeps its own width and takes the right end of its buddy's place.
inline constexpr RECT UP_DOWN{455, 58, 472, 79};

// Lists and multi-line text.
inline constexpr RECT LIST_BOX{12, 90, 132, 200};
inline constexpr int LIST_SELECTED_INDEX = 1;
inline constexpr RECT MEMO{140, 90, 280, 142};
inline constexpr RECT RICH_EDIT{140, 148, 280, 200};
inline constexpr RECT LIST_VIEW{288, 90, 472, 200};

// Pages and the calendar.
inline constexpr RECT PAGE_CONTROL{12, 212, 252, 380};
inline constexpr RECT MONTH_CALENDAR{262, 212, 472, 380};

// Positions and ranges.
inline constexpr RECT TRACK_BAR{12, 392, 172, 422};
inline constexpr RECT PROGRESS_BAR{180, 398, 324, 416};
inline constexpr RECT SCROLL_BAR{332, 399, 472, 416};

// Dates, headers, tabs.
inline constexpr RECT DATE_PICKER{12, 432, 132, 453};
inline constexpr RECT HEADER{140, 432, 472, 452};
inline constexpr RECT TAB_CONTROL{12, 466, 252, 534};

// Plain graphics.
inline constexpr RECT LABEL{262, 468, 472, 484};
inline constexpr RECT PANEL{262, 492, 352, 534};
inline constexpr RECT BEVEL{360, 492, 410, 534};
inline constexpr RECT SHAPE{418, 492, 472, 534};
inline constexpr RECT IMAGE{12, 548, 60, 596};

inline constexpr RECT STATUS_BAR{12, 650, 472, 672};

} // namespace gallery
