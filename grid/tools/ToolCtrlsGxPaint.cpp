#include "grid/tools/ToolCtrlsGx.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/SysColors.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

// The classic check-box bitmap holds 13 x 13 pixel boxes.
constexpr int ClassicCheckBoxSide = 13;

// Everything that makes two painted faces differ.
struct FaceKey {
    int Width = 0;
    int Height = 0;
    TEditButtonFaceKind Kind = ebfDropDown;
    bool Flat = false;
    bool Pressed = false;
    bool Active = false;
    bool Enabled = true;
    int Half = 0;
    TCheckBoxFaceState Check = cfsUnchecked;

    bool operator==(const FaceKey&) const = default;
};

struct CachedFace {
    FaceKey Key;
    GdiObject<HBITMAP> Bitmap;
};

// Each distinct face is painted once per process and copied from then on.
std::vector<std::unique_ptr<CachedFace>>& FaceCache()
{
    static std::vector<std::unique_ptr<CachedFace>> cache;
    return cache;
}

HBITMAP CachedFaceBitmap(const FaceKey& key)
{
    auto& cache = FaceCache();
    const auto found = std::find_if(cache.begin(), cache.end(), [&](const auto& face) { return face->Key == key; });
    if (found != cache.end())
        return (*found)->Bitmap.Get();
    auto face = std::make_unique<CachedFace>();
    face->Key = key;
    const HDC screen = GetDC(nullptr);
    face->Bitmap.Reset(CreateCompatibleBitmap(screen, std::max(key.Width, 1), std::max(key.Height, 1)));
    (void)ReleaseDC(nullptr, screen);
    {
        const MemoryDC memory(nullptr, face->Bitmap.Get());
        DrawButtonFaceDirect(memory.Handle(), key.Kind, RECT{0, 0, key.Width, key.Height}, key.Half, key.Pressed,
                             {key.Flat, key.Active, key.Enabled}, key.Check);
    }
    cache.push_back(std::move(face));
    return cache.back()->Bitmap.Get();
}

void PaintFace(HDC dc, RECT rect, TEditButtonFaceKind kind, int half, bool pressed, TButtonFaceState look,
               TCheckBoxFaceState check)
{
    const FaceKey key{std::max<int>(rect.right - rect.left, 0), std::max<int>(rect.bottom - rect.top, 0), kind, look.Flat,
                      pressed, look.Active, look.Enabled, half, check};
    if (key.Width == 0 || key.Height == 0)
        return;
    const MemoryDC memory(dc, CachedFaceBitmap(key));
    (void)StretchBlt(dc, rect.left, rect.top, key.Width, key.Height, memory.Handle(), 0, 0, key.Width, key.Height, SRCCOPY);
}

void FillWith(HDC dc, RECT rect, COLORREF color)
{
    const GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    (void)FillRect(dc, &rect, brush.Get());
}

// The longer side shrinks to the shorter one, centred; an odd difference leaves the far side.
RECT SquareIn(RECT rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width > height) {
        rect.left += (width - height) / 2;
        rect.right = rect.left + height;
    } else {
        rect.top += (height - width) / 2;
        rect.bottom = rect.top + width;
    }
    return rect;
}

UINT FrameFlags(bool pressed, TButtonFaceState look)
{
    return (pressed ? DFCS_PUSHED : 0) | (look.Flat ? DFCS_FLAT : 0) | (look.Enabled ? 0 : DFCS_INACTIVE);
}

void DrawScrollFrameFace(HDC dc, RECT rect, UINT glyph, bool pressed, TButtonFaceState look)
{
    (void)DrawFrameControl(dc, &rect, DFC_SCROLL, glyph | FrameFlags(pressed, look));
}

// The background of an ellipsis or plus/minus face; answers the rectangle its content goes into.
RECT DrawPlainBackground(HDC dc, RECT rect, bool pressed, TButtonFaceState look)
{
    if (look.Flat) {
        FillWith(dc, rect, GetSysColor(COLOR_BTNFACE));
        InflateRect(&rect, -1, -1);
        return rect;
    }
    (void)DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    InflateRect(&rect, -2, -2);
    return rect;
}

// Draws `marks` in the text colour, or embossed when disabled.
template <class Marks>
void DrawMarks(bool enabled, const Marks& marks)
{
    if (enabled) {
        marks(0, GetSysColor(COLOR_BTNTEXT));
        return;
    }
    marks(1, GetSysColor(COLOR_BTNHIGHLIGHT));
    marks(0, GetSysColor(COLOR_BTNSHADOW));
}

void DrawEllipsisFace(HDC dc, RECT rect, bool pressed, TButtonFaceState look)
{
    const RECT inner = DrawPlainBackground(dc, rect, pressed, look);
    const int width = inner.right - inner.left;
    const int size = width > 7 ? 2 : 1;
    const int gap = width < 12 ? 1 : 2;
    const int shift = pressed ? 1 : 0;
    const int x = inner.left + width / 2 + shift - size / 2;
    const int y = inner.top + (inner.bottom - inner.top) / 2 + shift - size / 2;
    DrawMarks(look.Enabled, [&](int offset, COLORREF color) {
        for (const int dx : {-(gap + size), 0, gap + size})
            FillWith(dc, RECT{x + dx + offset, y + offset, x + dx + offset + size, y + offset + size}, color);
    });
}

void DrawPlusMinusFace(HDC dc, RECT rect, bool plus, bool pressed, TButtonFaceState look)
{
    const RECT inner = DrawPlainBackground(dc, rect, pressed, look);
    const int width = inner.right - inner.left;
    const int height = inner.bottom - inner.top;
    int length = std::max(std::min(width, height) * 4 / 7, 1);
    // A bar of the face's parity centres evenly.
    if ((length % 2) != (width % 2))
        ++length;
    const int thickness = std::max(length / 3, 1);
    const int shift = pressed ? 1 : 0;
    const int left = inner.left + (width - length) / 2 + shift;
    const int top = inner.top + (height - thickness) / 2 + shift;
    const int barLeft = inner.left + (width - thickness) / 2 + shift;
    const int barTop = inner.top + (height - length) / 2 + shift;
    DrawMarks(look.Enabled, [&](int offset, COLORREF color) {
        FillWith(dc, RECT{left + offset, top + offset, left + length + offset, top + thickness + offset}, color);
        if (plus)
            FillWith(dc, RECT{barLeft + offset, barTop + offset, barLeft + thickness + offset, barTop + length + offset},
                     color);
    });
}

void DrawCheckBoxFace(HDC dc, RECT rect, TCheckBoxFaceState state, bool pressed, TButtonFaceState look)
{
    RECT box = SquareIn(rect);
    const UINT flags = DFCS_BUTTONCHECK | (state == cfsChecked ? DFCS_CHECKED : 0) |
                       (state == cfsGrayed ? DFCS_CHECKED | DFCS_BUTTON3STATE : 0) | (look.Enabled ? 0 : DFCS_INACTIVE) |
                       (pressed ? DFCS_PUSHED : 0);
    if (!look.Flat) {
        (void)DrawFrameControl(dc, &box, DFC_BUTTON, flags);
        return;
    }
    // The flat box loses the 3-D edge: it is drawn a pixel larger, clipped, and framed instead.
    {
        const SavedDC saved(dc);
        (void)IntersectClipRect(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
        RECT larger = box;
        InflateRect(&larger, 1, 1);
        (void)DrawFrameControl(dc, &larger, DFC_BUTTON, flags);
    }
    const GdiObject<HBRUSH> frame(CreateSolidBrush(GetSysColor(look.Active ? COLOR_BTNFACE : COLOR_BTNSHADOW)));
    (void)FrameRect(dc, &box, frame.Get());
}

void DrawFaceContent(HDC dc, TEditButtonFaceKind kind, RECT rect, int half, bool pressed, TButtonFaceState look,
                     TCheckBoxFaceState check)
{
    switch (kind) {
    case ebfDropDown:
        DrawScrollFrameFace(dc, rect, DFCS_SCROLLCOMBOBOX, pressed, look);
        break;
    case ebfUpDown:
        DrawScrollFrameFace(dc, rect, half == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN, pressed, look);
        break;
    case ebfEllipsis:
        DrawEllipsisFace(dc, rect, pressed, look);
        break;
    case ebfPlus:
    case ebfMinus:
        DrawPlusMinusFace(dc, rect, kind == ebfPlus, pressed, look);
        break;
    case ebfCheckBox:
        DrawCheckBoxFace(dc, rect, check, pressed, look);
        break;
    }
}

void PaintCheckBox(HDC dc, RECT rect, TPressedPart pressed, TButtonFaceState look, TCheckBoxFaceState check)
{
    RECT box = SquareIn(rect);
    if (look.Flat)
        InflateRect(&box, -1, -1);
    PaintFace(dc, box, ebfCheckBox, 0, pressed != ppNone, look, check);
    if (!look.Flat)
        return;
    InflateRect(&box, 1, 1);
    if (look.Active)
        (void)DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
}

void PaintSpinHalves(HDC dc, RECT rect, COLORREF parentColor, TPressedPart pressed, TButtonFaceState look, bool framed)
{
    const int half = (rect.bottom - rect.top) / 2;
    RECT upper{rect.left, rect.top, rect.right, rect.top + half};
    RECT lower{rect.left, rect.bottom - half, rect.right, rect.bottom};
    if (framed) {
        InflateRect(&upper, -1, -1);
        InflateRect(&lower, -1, -1);
    }
    PaintFace(dc, upper, ebfUpDown, 0, pressed == ppUpperOrWhole, look, cfsUnchecked);
    PaintFace(dc, lower, ebfUpDown, 1, pressed == ppLower, look, cfsUnchecked);
    // The band between the halves: the middle row of an odd height, widened where framed.
    RECT band{rect.left, upper.bottom, rect.right, lower.top};
    if (band.bottom > band.top || framed)
        FillWith(dc, band, parentColor);
}

} // namespace

void DrawButtonFaceDirect(HDC dc, TEditButtonFaceKind kind, RECT rect, int half, bool pressed, TButtonFaceState look,
                          TCheckBoxFaceState checkState)
{
    // A flat face is drawn larger than its rectangle so that its 3-D edge falls outside; an active
    // one gets a thin edge of its own instead.
    if (!look.Flat || kind == ebfCheckBox) {
        DrawFaceContent(dc, kind, rect, half, pressed, look, checkState);
        return;
    }
    const SavedDC saved(dc);
    RECT face = rect;
    if (look.Active) {
        (void)IntersectClipRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
        InflateRect(&face, 1, 1);
    } else {
        (void)IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        InflateRect(&face, 2, 2);
    }
    DrawFaceContent(dc, kind, face, half, pressed, look, checkState);
    if (!look.Active)
        return;
    (void)SelectClipRgn(dc, nullptr);
    (void)DrawEdge(dc, &rect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

void PaintEditButtonFace(HDC dc, RECT rect, COLORREF parentColor, TEditButtonFaceKind kind, TPressedPart pressed,
                         TButtonFaceState look, TCheckBoxFaceState checkState)
{
    if (kind == ebfCheckBox) {
        PaintCheckBox(dc, rect, pressed, look, checkState);
        return;
    }
    const bool framed = look.Flat && !look.Active;
    RECT face = rect;
    if (framed)
        InflateRect(&face, -1, -1);
    if (kind == ebfUpDown)
        PaintSpinHalves(dc, rect, parentColor, pressed, look, framed);
    else
        PaintFace(dc, face, kind, 0, pressed != ppNone, look, cfsUnchecked);
    if (!framed)
        return;
    const GdiObject<HBRUSH> frame(CreateSolidBrush(parentColor));
    (void)FrameRect(dc, &rect, frame.Get());
}

void ClearEditButtonBitmapCache() { FaceCache().clear(); }

int EditButtonBitmapCacheCount() { return static_cast<int>(FaceCache().size()); }

int CheckBoxWidth() { return ClassicCheckBoxSide; }

int CheckBoxHeight() { return ClassicCheckBoxSide; }

void PaintDropDownFrame(HWND window, bool darkOuterLine)
{
    RECT frame{};
    (void)GetWindowRect(window, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    const HDC dc = GetWindowDC(window);
    if (darkOuterLine) {
        const GdiObject<HBRUSH> dark(CreateSolidBrush(GetSysColor(COLOR_3DDKSHADOW)));
        (void)FrameRect(dc, &frame, dark.Get());
    } else {
        (void)DrawEdge(dc, &frame, BDR_RAISEDOUTER, BF_RECT);
    }
    InflateRect(&frame, -1, -1);
    (void)DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
    (void)ReleaseDC(window, dc);
}
