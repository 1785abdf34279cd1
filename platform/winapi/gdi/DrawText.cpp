#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/gdi/FontObject.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextDraw.h"
#include "platform/winapi/gdi/TextLayout.h"
#include "platform/winapi/gdi/TextUtf8.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int DefaultTabCharacters = 8;
constexpr int MaxTabCharacters = 4096;

// DT_INTERNAL measures and draws with the system font.
std::shared_ptr<FontInstance> FontFor(const DeviceContext& dc, UINT format)
{
    if (!(format & DT_INTERNAL))
        return SelectedFont(dc);
    LOGFONTA system{};
    (void)StockLogFont(SYSTEM_FONT, system);
    return RealizeFont(system);
}

struct Margins {
    int left = 0;
    int right = 0;
    int tabCharacters = DefaultTabCharacters;
};

// With DT_TABSTOP the format's second byte is the tab length, not flags.
UINT SplitTabStop(UINT format, Margins& margins)
{
    if (!(format & DT_TABSTOP))
        return format;
    margins.tabCharacters = static_cast<int>((format >> 8) & 0xFF);
    return format & ~0xFF00u;
}

int LineX(const RECT& rect, const Margins& margins, int lineWidth, UINT format)
{
    const int left = rect.left + margins.left;
    const int room = rect.right - margins.right - left;
    if (format & DT_CENTER)
        return left + (room - lineWidth) / 2;
    if (format & DT_RIGHT)
        return rect.right - margins.right - lineWidth;
    return left;
}

// Writes the shortened text back into the caller's buffer, never past what was given.
void ModifyString(LPSTR text, std::size_t available, bool terminated, const std::string& shown)
{
    const std::size_t copied = std::min(shown.size(), available);
    std::memcpy(text, shown.data(), copied);
    if (terminated)
        text[copied] = '\0';
}

void DrawLines(DeviceContext& dc, FontInstance& font, const TextLayout& layout, const RECT& rect, int top,
               const Margins& margins, const TextLayoutRules& rules, UINT format)
{
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const TextLayoutLine& line = layout.lines[i];
        const TextRun run(font, line.text, RunOptions{{}, 0, rules.tabWidth});
        RunPlacement placement;
        placement.reference = dc.ToDevice(
            ClampPoint(POINT{LineX(rect, margins, run.Width(), format),
                             ClampCoordinate(top + static_cast<long long>(i) * rules.lineHeight)}));
        placement.align = TA_LEFT | TA_TOP;
        if (!(format & DT_NOCLIP))
            placement.clip = dc.ToDeviceRect(rect);
        placement.opaqueCell = dc.state.bkMode == OPAQUE && !(format & DT_PREFIXONLY);
        placement.drawGlyphs = !(format & DT_PREFIXONLY);
        for (const auto& [from, to] : line.underlines)
            placement.underlines.emplace_back(run.XAt(from), run.XAt(to));
        (void)DrawRun(dc, font, run, placement);
    }
}

// What DrawText did besides drawing: the bytes of the source it covered, and the shortened text
// DT_MODIFYSTRING writes back (when an ellipsis went in).
struct DrawTextResult {
    int height = 0;
    std::size_t lengthDrawn = 0;
    std::optional<std::string> modified;
};

Margins MarginsFor(UINT& format, const DRAWTEXTPARAMS* params)
{
    Margins margins;
    format = SplitTabStop(format, margins);
    if (params) {
        margins.left = ClampCoordinate(params->iLeftMargin);
        margins.right = ClampCoordinate(params->iRightMargin);
        if (params->iTabLength > 0)
            margins.tabCharacters = std::min(params->iTabLength, MaxTabCharacters);
    }
    return margins;
}

TextLayoutRules RulesFor(const TEXTMETRICA& tm, const RECT& rect, const Margins& margins, UINT format)
{
    TextLayoutRules rules;
    rules.format = format;
    rules.width = rect.right - rect.left - margins.left - margins.right;
    rules.tabWidth = (format & DT_EXPANDTABS) ? margins.tabCharacters * tm.tmAveCharWidth : 0;
    rules.lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    rules.height = rect.bottom - rect.top;
    return rules;
}

// Vertical placement applies to single lines only, as in Win32.
int TopOf(const RECT& rect, int textHeight, UINT format)
{
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        return rect.top + (rect.bottom - rect.top - textHeight) / 2;
    if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        return rect.bottom - textHeight;
    return rect.top;
}

DrawTextResult DrawUtf8(DeviceContext& context, std::string_view source, RECT& given, UINT format,
                        const DRAWTEXTPARAMS* params)
{
    DrawTextResult result;
    const RECT rect = ClampRect(given);
    std::shared_ptr<FontInstance> font = FontFor(context, format);
    if (!font)
        return result;
    const Margins margins = MarginsFor(format, params);
    const TextLayoutRules rules = RulesFor(font->Metrics().text, rect, margins, format);
    const TextLayout layout = LayOutText(*font, source, rules);
    result.lengthDrawn = layout.lengthDrawn;
    if ((format & DT_MODIFYSTRING) && layout.shortened && layout.lines.size() == 1)
        result.modified = layout.lines.front().text;

    const int textHeight = ClampCoordinate(static_cast<long long>(layout.lines.size()) * rules.lineHeight);
    result.height = textHeight;
    if (format & DT_CALCRECT) {
        given.right = ClampCoordinate(static_cast<long long>(rect.left) + margins.left + layout.width + margins.right);
        given.bottom = ClampCoordinate(static_cast<long long>(rect.top) + textHeight);
        return result;
    }
    const int top = TopOf(rect, textHeight, format);
    DrawLines(context, *font, layout, rect, top, margins, rules, format);
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)))
        result.height = top - rect.top + textHeight;
    return result;
}

// The checks both forms share; the DC when the call can go ahead.
std::shared_ptr<DeviceContext> CheckCall(HDC dc, const void* text, int count, LPRECT rect,
                                         const DRAWTEXTPARAMS* params)
{
    std::shared_ptr<DeviceContext> context = LookupDC(dc);
    if (!context || !rect || count < -1 || (!text && count != 0) ||
        (params && params->cbSize != sizeof(DRAWTEXTPARAMS))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return context;
}

} // namespace

int DrawTextExA(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params)
{
    std::shared_ptr<DeviceContext> context = CheckCall(dc, text, count, rect, params);
    if (!context)
        return 0;
    const bool terminated = count == -1;
    const std::string_view source(text ? text : "", terminated ? std::strlen(text) : static_cast<std::size_t>(count));
    const DrawTextResult result = DrawUtf8(*context, source, *rect, format, params);
    if (params)
        params->uiLengthDrawn = static_cast<UINT>(result.lengthDrawn);
    if (result.modified)
        ModifyString(text, source.size(), terminated, *result.modified);
    return result.height;
}

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    // Win32 writes into the "constant" text only with DT_MODIFYSTRING, whose callers pass a
    // buffer they own.
    return DrawTextExA(dc, const_cast<LPSTR>(text), count, rect, format, nullptr);
}

int DrawTextExW(HDC dc, WCHAR* text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params)
{
    std::shared_ptr<DeviceContext> context = CheckCall(dc, text, count, rect, params);
    if (!context)
        return 0;
    const bool terminated = count == -1;
    const std::u16string_view wide =
        !text ? std::u16string_view()
              : terminated ? std::u16string_view(text) : std::u16string_view(text, static_cast<std::size_t>(count));
    const WideAsUtf8 converted = ToUtf8(wide);
    const DrawTextResult result = DrawUtf8(*context, converted.text, *rect, format, params);
    if (params)
        params->uiLengthDrawn = static_cast<UINT>(converted.wideIndex[result.lengthDrawn]);
    if (result.modified) {
        // Written back never past the text given, as in the narrow form.
        const std::u16string shown = ToUtf16(*result.modified);
        const std::size_t copied = std::min(shown.size(), wide.size());
        std::copy_n(shown.begin(), copied, text);
        if (terminated)
            text[copied] = u'\0';
    }
    return result.height;
}

int DrawTextW(HDC dc, const WCHAR* text, int count, LPRECT rect, UINT format)
{
    return DrawTextExW(dc, const_cast<WCHAR*>(text), count, rect, format, nullptr);
}
