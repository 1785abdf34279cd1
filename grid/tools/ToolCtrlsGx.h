#pragma once

#include "grid/core/DropDownAlignGx.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/rtl/Variant.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <functional>
#include <string>

// The faces of the small buttons at an editor's right edge, the check box the grid and the
// data-aware check box share, and the placement of drop-down windows under their editors.

enum TEditButtonFaceKind : std::uint8_t {
    ebfDropDown = 0,
    ebfEllipsis = 1,
    ebfUpDown = 2,
    ebfCheckBox = 3,
    ebfPlus = 4,
    ebfMinus = 5,
};

enum TCheckBoxFaceState : std::uint8_t { cfsUnchecked = 0, cfsChecked = 1, cfsGrayed = 2 };

// Which part of a button the mouse holds: none, the upper half (or the whole button), the lower half.
enum TPressedPart : int { ppNone = 0, ppUpperOrWhole = 1, ppLower = 2 };

struct TButtonFaceState {
    bool Flat = false;
    bool Active = false;
    bool Enabled = true;
};

// One complete button in `rect`: a spin button paints both halves and the band between them, a
// flat inactive button gets a frame in the parent's colour. Faces come from the process-wide cache.
void PaintEditButtonFace(HDC dc, RECT rect, COLORREF parentColor, TEditButtonFaceKind kind, TPressedPart pressed,
                         TButtonFaceState look, TCheckBoxFaceState checkState = cfsUnchecked);

// One face without the cache; `half` is 0 (upper) or 1 (lower) for a spin button.
void DrawButtonFaceDirect(HDC dc, TEditButtonFaceKind kind, RECT rect, int half, bool pressed, TButtonFaceState look,
                          TCheckBoxFaceState checkState = cfsUnchecked);

// Forgets every painted face (after the system colours changed).
void ClearEditButtonBitmapCache();
// How many faces the cache holds.
[[nodiscard]] int EditButtonBitmapCacheCount();

// The side of the classic check box.
[[nodiscard]] int CheckBoxWidth();
[[nodiscard]] int CheckBoxHeight();

enum TCheckBoxHorzPlace : int { cbhLeft = 0, cbhRight = 1, cbhCenter = 2 };
enum TCheckBoxVertPlace : int { cbvTop = 0, cbvCenter = 1, cbvBottom = 2 };
// A box of check-box size, each side clamped to the cell, placed in the cell.
[[nodiscard]] RECT PlaceCheckBoxRect(RECT cell, TCheckBoxHorzPlace horz, TCheckBoxVertPlace vert);

// A flat button is half as high again as it is wide.
[[nodiscard]] int EditButtonHeightForWidth(int width, bool flat);
// Two thirds of the screen font's height, odd, at most a scroll bar's width.
[[nodiscard]] int DefaultFlatButtonWidth();

class TCanvas;

// One-pixel dots every two pen widths from `start` along `length` pixels, in the canvas's pen;
// the dots of neighbouring lines line up: the first dot moves on a pixel when the parity of
// x + y differs from `phase`.
void DrawDottedLine(TCanvas& canvas, TPoint start, int length, bool phase, bool horizontal);

// The tree lines of a grid cell. Kinds 0..5 draw the expand box (0..2 a minus: expanded,
// 3..5 a plus: collapsed) with its connectors: up and down (0, 3), up only (1, 4), down only
// (2, 5); kinds 6..9 draw connectors only: 6 a tee, 7 an elbow from above, 8 an elbow going
// down, 9 a vertical line.
void DrawTreeLines(TCanvas& canvas, TRect rect, int kind, bool shift, double verticalScale, double horizontalScale,
                   bool phase);

// Messages a drop-down understands: where its size grip goes (wParam: a TDropDownSide), and the
// close-up request (wParam: accept).
constexpr UINT WM_DROPDOWN_GRIPSIDE = WM_USER + 100;
constexpr UINT WM_DROPDOWN_CLOSEUP = WM_USER + 101;

// What a drop-down that closes up on Enter (accepting) and Escape answers alike: it never takes
// activation, wants the keys its editor would otherwise keep, and closes up when its owner asks.
// True when `message` was one of those.
bool AnswerClosingDropDownMessage(TMessage& message, const std::function<void(bool accept)>& closeUp);

enum TDropDownSide : int { ddsLeft = 0, ddsRight = 1, ddsTop = 2, ddsBottom = 3 };

// Where a drop-down opens under (or, without room, over) an editor whose screen rectangle is
// given: the drop-down's Height and Width may shrink to the work area, and it is told on which
// sides its size grip belongs. Returns the drop-down's screen position.
TPoint PlaceDropDownRect(RECT editorScreenRect, TWinControl& dropDown, TDropDownAlign align);
TPoint PlaceDropDownUnderEdit(TControl& editor, TWinControl& dropDown, TDropDownAlign align);

// Two values compare equal: arrays of the same bounds element by element; an array never equals
// a single value, nor Empty anything else; a comparison that fails counts as unequal.
[[nodiscard]] bool VariantsEqual(const Variant& a, const Variant& b);

// An image-list colour: none and default become CLR_NONE and CLR_DEFAULT, others RGB.
[[nodiscard]] COLORREF ColorToImageListColor(TColor color);

class TCustomImageList;
// Draws image `index` of the list centred in the rectangle, on the list's background colour, and
// blended half with the highlight colour when selected. An image larger than the rectangle is
// clipped to it.
void DrawImageListImage(HDC dc, const RECT& rect, const TCustomImageList& images, int index, bool selected);

// Takes a waiting left click (or double click) out of the queue when it is the next mouse
// message for the grid and falls inside the grid's client area; answers whether it did.
bool GridTakeMouseClick(TControl& grid);
// The same for a click aimed at the control itself.
bool ControlTakeMouseClick(TControl& control);

// Whether a second button press makes a double click with the first.
[[nodiscard]] bool IsDoubleClickPair(POINT first, POINT second, DWORD milliseconds);

// A drop-down closed up: sender, Accept.
using TCloseUpEventGx = TEvent<TObject*, bool>;

// What a drop-down asks of the editor that opened it.
class IPopupOwnerGx {
public:
    virtual void ClosePopup(bool accept) = 0;

protected:
    ~IPopupOwnerGx() = default;
};

// The raised frame of a drop-down window, FrameWidth pixels wide, round its client area: an
// outer line (dark shadow, or a raised edge) and a raised inner edge.
void PaintDropDownFrame(HWND window, bool darkOuterLine);
