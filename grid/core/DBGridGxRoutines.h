#pragma once

#include "platform/classlib/data/DB.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/user/WinUser.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCanvas;
class TField;

// The grid unit's small routines that the other parts of the grid share.

// Mirrors the canvas horizontally for right-to-left drawing (or sets the plain mapping back):
// logical x runs from the right edge of a width-wide area.
void MirrorCanvasForRightToLeft(TCanvas& canvas, bool rightToLeft, int width, int height);

// A number field's value as a 32-bit integer: integer fields as they are, a large integer or a
// float-like value (truncated) only inside the 32-bit range; null, other types and values
// outside give defaultValue.
[[nodiscard]] int FieldValueAsInt32(const TField& field, int defaultValue);
// A field's text in a display format: the field's own display text when the format is empty,
// empty for null, the format applied to numbers and dates, empty for other types.
[[nodiscard]] std::string FieldTextWithFormat(const TField& field, const std::string& format);
[[nodiscard]] bool IsNumberFieldType(TFieldType type);
[[nodiscard]] bool IsDateTimeFieldType(TFieldType type);
// Every field of the list can be modified (an empty list can).
[[nodiscard]] bool AllFieldsModifiable(const std::vector<TField*>& fields);
[[noreturn]] void RaiseGridFailure(std::string_view message);
// Removes one pending message `msg` of the window; a WM_QUIT taken is posted again with its code.
void DropPendingMessage(HWND window, UINT msg);

// number x numerator / denominator in 64 bits, rounded half away from zero; `whenZero` for a zero
// denominator (the layout's shares have no ratio to scale by then).
[[nodiscard]] int MulDivOr(int number, int numerator, int denominator, int whenZero);

[[nodiscard]] constexpr std::int32_t MaxInt32(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
[[nodiscard]] constexpr std::int32_t MinInt32(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
template <class T>
[[nodiscard]] constexpr T Choose(bool condition, T a, T b)
{
    return condition ? a : b;
}

// Nested: the first begin shows the hourglass, the last end restores the cursor it replaced; an
// end without a begin does nothing.
void BeginWaitCursor();
void EndWaitCursor();

// Swaps width and height around the top-left corner.
void SwapRectExtent(TRect& rect);

// Measures text as the cell painter breaks it, in a box as wide as the cell less buttonWidth less
// 2 (at least 1); answers whether it is wider than the box or taller than the cell less margin
// plus 1.
[[nodiscard]] bool TextExceedsCell(UINT format, TCanvas& canvas, int buttonWidth, int& textWidth, int& textHeight,
                                   bool wordWrap, const TRect& cellRect, const std::string& text, int margin);
// Width of text by the same calculation, on one line.
[[nodiscard]] int MeasureTextWidth(TCanvas& canvas, const std::string& text);
