#include "grid/core/DBGridGxRoutines.h"

#include "grid/core/InvalidGridOperationGx.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

[[nodiscard]] bool FitsInt32(double value)
{
    return std::isfinite(value) && value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

int g_waitCursorDepth = 0;
TCursor g_savedCursor = crDefault;

} // namespace

int MulDivOr(int number, int numerator, int denominator, int whenZero)
{
    if (denominator == 0)
        return whenZero;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t half = std::abs(static_cast<std::int64_t>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::abs(product) + half) / std::abs(static_cast<std::int64_t>(denominator));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool IsNumberFieldType(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool IsDateTimeFieldType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

std::string FieldTextWithFormat(const TField& field, const std::string& format)
{
    if (format.empty())
        return field.DisplayText();
    if (field.IsNull())
        return {};
    if (IsNumberFieldType(field.DataType()))
        return FormatFloat(format, field.AsFloat());
    if (IsDateTimeFieldType(field.DataType()))
        return FormatDateTime(format, field.AsDateTime());
    return {};
}

void MirrorCanvasForRightToLeft(TCanvas& canvas, bool rightToLeft, int width, int height)
{
    const HDC dc = canvas.Handle();
    (void)SetMapMode(dc, MM_ANISOTROPIC);
    (void)SetWindowOrgEx(dc, rightToLeft ? width : 0, 0, nullptr);
    (void)SetViewportExtEx(dc, width, height, nullptr);
    (void)SetWindowExtEx(dc, rightToLeft ? -width : width, height, nullptr);
}

int FieldValueAsInt32(const TField& field, int defaultValue)
{
    if (field.IsNull())
        return defaultValue;
    switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
        return field.AsInteger();
    case ftLargeint: {
        const std::int64_t value = field.AsLargeInt();
        return FitsInt32(static_cast<double>(value)) ? static_cast<int>(value) : defaultValue;
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: {
        const double value = std::trunc(field.AsFloat());
        return FitsInt32(value) ? static_cast<int>(value) : defaultValue;
    }
    default:
        return defaultValue;
    }
}

bool AllFieldsModifiable(const std::vector<TField*>& fields)
{
    return std::ranges::all_of(fields, [](const TField* field) { return field->CanModify(); });
}

void RaiseGridFailure(std::string_view message)
{
    throw EInvalidGridOperationGx(std::string(message));
}

void DropPendingMessage(HWND window, UINT msg)
{
    MSG message{};
    if (PeekMessageA(&message, window, msg, msg, PM_REMOVE) && message.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(message.wParam));
}

void BeginWaitCursor()
{
    if (g_waitCursorDepth++ == 0) {
        g_savedCursor = Screen->Cursor();
        Screen->SetCursor(crHourGlass);
    }
}

void EndWaitCursor()
{
    if (g_waitCursorDepth == 0)
        return;
    if (--g_waitCursorDepth == 0)
        Screen->SetCursor(g_savedCursor);
}

void SwapRectExtent(TRect& rect)
{
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect.right = rect.left + height;
    rect.bottom = rect.top + width;
}

bool TextExceedsCell(UINT format, TCanvas& canvas, int buttonWidth, int& textWidth, int& textHeight, bool wordWrap,
                     const TRect& cellRect, const std::string& text, int margin)
{
    const int boxWidth = std::max(1, static_cast<int>(cellRect.right - cellRect.left) - buttonWidth - 2);
    RECT box{0, 0, boxWidth, 0};
    format |= DT_CALCRECT | DT_NOPREFIX;
    if (wordWrap)
        format |= DT_WORDBREAK;
    (void)DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &box, format);
    textWidth = box.right - box.left;
    textHeight = box.bottom - box.top;
    const int cellHeight = static_cast<int>(cellRect.bottom - cellRect.top);
    return textWidth > boxWidth || textHeight > cellHeight - margin + 1;
}

int MeasureTextWidth(TCanvas& canvas, const std::string& text)
{
    RECT box{0, 0, 1, 0};
    (void)DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_NOPREFIX);
    return box.right - box.left;
}
