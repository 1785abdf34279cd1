#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/FontObject.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextDraw.h"
#include "platform/winapi/kernel/WinError.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace {

POINT ToPoint(PointF p) { return {static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))}; }

} // namespace

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const int* dx)
{
    std::shared_ptr<DeviceContext> context = LookupDC(dc);
    if (!context)
        return FALSE;
    if (!text && count > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<FontInstance> font = SelectedFont(*context);
    if (!font)
        return FALSE;
    const std::string_view bytes(text ? text : "", text ? count : 0);
    RunOptions runOptions;
    if (dx)
        runOptions.dx = std::span<const int>(dx, bytes.size());
    runOptions.characterExtra = context->state.textCharacterExtra;
    const TextRun run(*font, bytes, runOptions);

    const UINT align = context->state.textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    RunPlacement placement;
    placement.reference = context->ToDevice(ClampPoint(updateCp ? context->state.currentPos : POINT{x, y}));
    placement.align = align;
    placement.opaqueCell = context->state.bkMode == OPAQUE;
    if (rect && (options & ETO_CLIPPED))
        placement.clip = context->ToDeviceRect(ClampRect(*rect));
    if (rect && (options & ETO_OPAQUE))
        placement.opaque = context->ToDeviceRect(ClampRect(*rect));
    const PointF end = DrawRun(*context, *font, run, placement);
    if (updateCp)
        context->state.currentPos = context->ToLogical(ToPoint(end));
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count)
{
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size)
{
    std::shared_ptr<DeviceContext> context = LookupDC(dc);
    if (!context || !size || count < 0 || (!text && count > 0))
        return FALSE;
    std::shared_ptr<FontInstance> font = SelectedFont(*context);
    if (!font)
        return FALSE;
    RunOptions runOptions;
    runOptions.characterExtra = context->state.textCharacterExtra;
    const TextRun run(*font, std::string_view(text ? text : "", static_cast<std::size_t>(count)), runOptions);
    size->cx = run.Width();
    size->cy = font->Metrics().text.tmHeight;
    return TRUE;
}
