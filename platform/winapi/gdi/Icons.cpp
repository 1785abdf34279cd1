#include "platform/winapi/gdi/Icons.h"

#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/kernel/HandleTable.h"

#include <algorithm>

namespace detail = winapi_gdi::detail;

namespace {

// A device bitmap of `bitsPixel` (1 or 32) holding `from`'s pixels: one-bit copies quantise, and
// only a 32-bit source brings its alpha.
HBITMAP CopyToDeviceBitmap(BitmapObject& from, int bitsPixel)
{
    HBITMAP copy = CreateBitmap(from.Width(), from.Height(), 1, UINT(bitsPixel), nullptr);
    auto to = LookupBitmap(copy);
    if (!to)
        return nullptr;
    const Surface& source = from.Pixels();
    Surface& target = to->Pixels();
    const std::uint32_t keep = from.BitsPixel() == 32 ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int y = 0; y < from.Height(); ++y)
        for (int x = 0; x < from.Width(); ++x) {
            const std::uint32_t p = source.Row(y)[x] & keep;
            target.Row(y)[x] = bitsPixel == 1 ? QuantiseToMonochrome(p) : p;
        }
    to->Commit();
    return copy;
}

// The colour image premultiplied by its alpha, for AlphaBlend; nothing when it has no alpha.
HBITMAP PremultipliedCopy(HBITMAP colour)
{
    auto from = LookupBitmap(colour);
    const Surface& source = from->Pixels();
    bool anyAlpha = false;
    for (int y = 0; y < source.Height() && !anyAlpha; ++y)
        anyAlpha = std::any_of(source.Row(y), source.Row(y) + source.Width(), [](std::uint32_t p) { return p >> 24; });
    if (!anyAlpha)
        return nullptr;
    HBITMAP copy = CreateBitmap(source.Width(), source.Height(), 1, 32, nullptr);
    Surface& target = LookupBitmap(copy)->Pixels();
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t p = source.Row(y)[x];
            const std::uint32_t a = p >> 24;
            std::uint32_t out = a << 24;
            for (int shift = 0; shift < 24; shift += 8)
                out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
            target.Row(y)[x] = out;
        }
    return copy;
}

class IconObject {
public:
    // Takes over the bitmaps (colour may be null: a monochrome icon).
    IconObject(GdiObject<HBITMAP> colour, GdiObject<HBITMAP> mask, bool isIcon, POINT hotspot)
        : m_colour(std::move(colour)), m_mask(std::move(mask)),
          m_premultiplied(m_colour ? PremultipliedCopy(m_colour.Get()) : nullptr), m_isIcon(isIcon), m_hotspot(hotspot)
    {
        auto sized = LookupBitmap(m_colour ? m_colour.Get() : m_mask.Get());
        m_size = {sized->Width(), m_colour ? sized->Height() : sized->Height() / 2};
        if (m_isIcon)
            m_hotspot = {m_size.cx / 2, m_size.cy / 2};
    }
    IconObject(const IconObject&) = delete;
    IconObject& operator=(const IconObject&) = delete;

    [[nodiscard]] std::shared_ptr<IconObject> Copy() const
    {
        return std::make_shared<IconObject>(
            GdiObject(m_colour ? CopyToDeviceBitmap(*LookupBitmap(m_colour.Get()), 32) : nullptr),
            GdiObject(CopyToDeviceBitmap(*LookupBitmap(m_mask.Get()), 1)), m_isIcon, m_hotspot);
    }
    void Describe(ICONINFO& info) const
    {
        info.fIcon = m_isIcon;
        info.xHotspot = DWORD(m_hotspot.x);
        info.yHotspot = DWORD(m_hotspot.y);
        info.hbmMask = CopyToDeviceBitmap(*LookupBitmap(m_mask.Get()), 1);
        info.hbmColor = m_colour ? CopyToDeviceBitmap(*LookupBitmap(m_colour.Get()), 32) : nullptr;
    }

    [[nodiscard]] SIZE Size() const { return m_size; }
    void Draw(HDC dc, const RECT& dest, UINT flags) const;

private:
    void Blit(HDC dc, const RECT& dest, HBITMAP bitmap, int sourceTop, DWORD rop) const;

    GdiObject<HBITMAP> m_colour;
    GdiObject<HBITMAP> m_mask;
    GdiObject<HBITMAP> m_premultiplied;
    bool m_isIcon;
    POINT m_hotspot;
    SIZE m_size{};
};

winapi_kernel::HandleTable<IconObject, HICON>& Icons()
{
    // The tag in the top byte keeps these handles apart from every other kind.
    static winapi_kernel::HandleTable<IconObject, HICON> table(winapi_kernel::HandleLayout{.tag = std::uintptr_t{0x1C} << 56});
    return table;
}

void IconObject::Blit(HDC dc, const RECT& dest, HBITMAP bitmap, int sourceTop, DWORD rop) const
{
    const MemoryDC source(dc, bitmap);
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.Handle(), 0, sourceTop,
               m_size.cx, m_size.cy, rop);
}

void IconObject::Draw(HDC dc, const RECT& dest, UINT flags) const
{
    if ((flags & DI_NORMAL) == DI_NORMAL && m_premultiplied) {
        const MemoryDC source(dc, m_premultiplied.Get());
        AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.Handle(), 0, 0,
                   m_size.cx, m_size.cy, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
        return;
    }
    // One-bit bitmaps become black (0) and white (1) on a colour destination.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const bool both = (flags & DI_NORMAL) == DI_NORMAL;
    if (flags & DI_MASK)
        Blit(dc, dest, m_mask.Get(), 0, both ? SRCAND : SRCCOPY);
    if (flags & DI_IMAGE)
        Blit(dc, dest, m_colour ? m_colour.Get() : m_mask.Get(), m_colour ? 0 : m_size.cy, both ? SRCINVERT : SRCCOPY);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

} // namespace

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info)
        return nullptr;
    auto mask = LookupBitmap(info->hbmMask);
    auto colour = info->hbmColor ? LookupBitmap(info->hbmColor) : nullptr;
    if (!mask || (info->hbmColor && !colour) || (!colour && mask->Height() < 2))
        return nullptr;
    GdiObject maskCopy(CopyToDeviceBitmap(*mask, 1));
    GdiObject colourCopy(colour ? CopyToDeviceBitmap(*colour, 32) : nullptr);
    if (!maskCopy || (colour && !colourCopy))
        return nullptr;
    const POINT hotspot{LONG(info->xHotspot), LONG(info->yHotspot)};
    return Icons().Add(
        std::make_shared<IconObject>(std::move(colourCopy), std::move(maskCopy), info->fIcon != FALSE, hotspot));
}

HICON CopyIcon(HICON icon)
{
    auto found = Icons().Find(icon);
    return found ? Icons().Add(found->Copy()) : nullptr;
}

BOOL DestroyIcon(HICON icon)
{
    return Icons().Remove(icon) != nullptr;
}

BOOL GetIconInfo(HICON icon, PICONINFO info)
{
    auto found = Icons().Find(icon);
    if (!found || !info)
        return FALSE;
    found->Describe(*info);
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flickerFree, UINT flags)
{
    auto found = Icons().Find(icon);
    if (!found || !LookupDC(dc) || !(flags & DI_NORMAL))
        return FALSE;
    const bool systemSize = (flags & DI_DEFAULTSIZE) != 0;
    const SIZE own = found->Size();
    const int w = width ? width : systemSize ? SystemIconSize : own.cx;
    const int h = height ? height : systemSize ? SystemIconSize : own.cy;
    const RECT dest{x, y, x + w, y + h};
    if (flickerFree)
        FillRect(dc, &dest, flickerFree);
    found->Draw(dc, dest, flags);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
