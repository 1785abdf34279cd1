#include "platform/winapi/gdi/ImageLists.h"

#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/kernel/HandleTable.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace detail = winapi_gdi::detail;

namespace {

constexpr std::uint32_t MaskedOut = 0xFFFFFF;
constexpr UINT ColourDepthFlags = 0x00FE;

// Which pixels of an added image are masked out: by a mask bitmap (white = out) or a key colour.
struct MaskSource {
    const Surface* mask = nullptr;
    std::optional<std::uint32_t> key;

    [[nodiscard]] bool Out(const Surface& image, int x, int y) const
    {
        if (key)
            return (image.Row(y)[x] & 0xFFFFFF) == *key;
        return mask && y < mask->Height() && x < mask->Width() && QuantiseToMonochrome(mask->Row(y)[x]) != 0;
    }
};

// A 32-bit top-down DIB section of `width` x `height`; `bits` points at its first row.
HBITMAP TopDownBitmap(int width, int height, std::uint32_t*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
}

// The destination rectangle copied into a 32-bit buffer, composed there, and copied back: every
// drawing style is then one pass over plain pixels, with the DC's mapping and clipping applied by
// the blits.
class Scratch {
public:
    Scratch(HDC dc, int x, int y, int width, int height)
        : m_dc(dc), m_x(x), m_y(y), m_width(width), m_height(height), m_bitmap(TopDownBitmap(width, height, m_bits)),
          m_memory(dc, m_bitmap.Get())
    {
        BitBlt(m_memory.Handle(), 0, 0, width, height, dc, x, y, SRCCOPY);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    [[nodiscard]] bool Valid() const { return m_bits != nullptr; }
    [[nodiscard]] std::uint32_t* Row(int y) const { return m_bits + std::ptrdiff_t(y) * m_width; }
    void WriteBack() { BitBlt(m_dc, m_x, m_y, m_width, m_height, m_memory.Handle(), 0, 0, SRCCOPY); }

private:
    HDC m_dc;
    int m_x, m_y, m_width, m_height;
    std::uint32_t* m_bits = nullptr;
    GdiObject<HBITMAP> m_bitmap;
    MemoryDC m_memory;
};

// `quarters` of `colour` mixed into `p`.
std::uint32_t Mix(std::uint32_t p, std::uint32_t colour, int quarters)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t a = (p >> shift) & 0xFF;
        const std::uint32_t b = (colour >> shift) & 0xFF;
        out |= ((a * std::uint32_t(4 - quarters) + b * std::uint32_t(quarters) + 2) / 4) << shift;
    }
    return out;
}

// A pixel with (straight) alpha over `base`.
std::uint32_t Over(std::uint32_t p, std::uint32_t base)
{
    const std::uint32_t alpha = p >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t a = (p >> shift) & 0xFF;
        const std::uint32_t b = (base >> shift) & 0xFF;
        out |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// What ImageList_DrawEx resolved its colours and style to.
struct DrawStyle {
    UINT style;
    bool useMask;
    std::optional<std::uint32_t> background; // none: leave the destination
    int blendQuarters;
    std::optional<std::uint32_t> blendColour; // none: the destination
};

class ImageList {
public:
    ImageList(int width, int height, UINT flags, int initial, int grow)
        : m_width(width), m_height(height), m_flags(flags), m_grow(std::max(grow, 1))
    {
        Reserve(std::max(initial, 1));
    }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    [[nodiscard]] bool Valid() const { return m_colours && (m_masks || !HasMask()); }
    [[nodiscard]] int Count() const { return m_count; }
    [[nodiscard]] SIZE ImageSize() const { return {m_width, m_height}; }
    [[nodiscard]] COLORREF Background() const { return m_background; }
    COLORREF SetBackground(COLORREF colour) { return std::exchange(m_background, colour); }

    int Add(BitmapObject& image, const MaskSource& mask)
    {
        const int added = image.Width() / m_width;
        if (added <= 0 || !Reserve(m_count + added))
            return -1;
        const int first = m_count;
        for (int i = 0; i < added; ++i)
            Store(first + i, image, i * m_width, mask);
        m_count += added;
        return first;
    }

    bool Replace(int index, BitmapObject& image, const MaskSource& mask)
    {
        if (index < 0 || index >= m_count || image.Width() < m_width)
            return false;
        Store(index, image, 0, mask);
        return true;
    }

    bool Remove(int index)
    {
        if (index == -1) {
            m_count = 0;
            return true;
        }
        if (index < 0 || index >= m_count)
            return false;
        for (Surface* strip : Strips())
            for (int y = 0; y < m_height; ++y) {
                std::uint32_t* row = strip->Row(y);
                std::memmove(row + index * m_width, row + (index + 1) * m_width,
                             std::size_t(m_count - index - 1) * std::size_t(m_width) * 4);
            }
        m_alpha.erase(m_alpha.begin() + index);
        --m_count;
        return true;
    }

    bool SetCount(int count)
    {
        if (count < 0 || !Reserve(count))
            return false;
        for (int i = m_count; i < count; ++i)
            Clear(i);
        m_count = count;
        return true;
    }

    bool SetImageSize(int width, int height)
    {
        if (width <= 0 || height <= 0)
            return false;
        m_colours.Reset();
        m_masks.Reset();
        m_capacity = m_count = 0;
        m_alpha.clear();
        m_width = width;
        m_height = height;
        return Reserve(1);
    }

    [[nodiscard]] IMAGEINFO Info(int index) const
    {
        return {m_colours.Get(), m_masks.Get(), 0, 0, {index * m_width, 0, (index + 1) * m_width, m_height}};
    }

    [[nodiscard]] HICON Icon(int index) const;
    void Draw(Scratch& scratch, int index, int width, int height, const DrawStyle& style) const;

private:
    [[nodiscard]] bool HasMask() const { return (m_flags & ILC_MASK) != 0; }
    [[nodiscard]] bool KeepsAlpha() const { return (m_flags & ColourDepthFlags) == ILC_COLOR32; }
    [[nodiscard]] Surface& Colours() const { return LookupBitmap(m_colours.Get())->Pixels(); }
    [[nodiscard]] Surface* Masks() const { return m_masks ? &LookupBitmap(m_masks.Get())->Pixels() : nullptr; }
    [[nodiscard]] std::vector<Surface*> Strips() const
    {
        std::vector<Surface*> strips{&Colours()};
        if (Surface* masks = Masks())
            strips.push_back(masks);
        return strips;
    }

    bool Reserve(int count);
    void Store(int index, BitmapObject& image, int sourceX, const MaskSource& mask);
    void Clear(int index);

    int m_width;
    int m_height;
    UINT m_flags;
    int m_grow;
    int m_count = 0;
    int m_capacity = 0;
    GdiObject<HBITMAP> m_colours;
    GdiObject<HBITMAP> m_masks;
    std::vector<bool> m_alpha; // per image: drawn by its alpha channel
    COLORREF m_background = CLR_NONE;
};

bool ImageList::Reserve(int count)
{
    if (count <= m_capacity)
        return true;
    const int capacity = std::max(count, m_capacity + m_grow);
    GdiObject colours(CreateBitmap(capacity * m_width, m_height, 1, 32, nullptr));
    GdiObject masks(HasMask() ? CreateBitmap(capacity * m_width, m_height, 1, 1, nullptr) : nullptr);
    if (!colours || (HasMask() && !masks))
        return false;
    const std::vector<Surface*> old = m_colours ? Strips() : std::vector<Surface*>{};
    // The old strips stay alive until their images are copied.
    const GdiObject oldColours = std::exchange(m_colours, std::move(colours));
    const GdiObject oldMasks = std::exchange(m_masks, std::move(masks));
    const std::vector<Surface*> strips = Strips();
    for (std::size_t s = 0; s < old.size(); ++s)
        for (int y = 0; y < m_height; ++y)
            std::memcpy(strips[s]->Row(y), old[s]->Row(y), std::size_t(m_capacity) * std::size_t(m_width) * 4);
    m_capacity = capacity;
    m_alpha.resize(std::size_t(capacity));
    return true;
}

void ImageList::Store(int index, BitmapObject& image, int sourceX, const MaskSource& mask)
{
    const Surface& source = image.Pixels();
    Surface& colours = Colours();
    Surface* masks = Masks();
    const bool alpha = KeepsAlpha() && image.BitsPixel() == 32;
    bool anyAlpha = false;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const int sx = sourceX + x;
            const bool inside = y < source.Height();
            std::uint32_t p = inside ? source.Row(y)[sx] : 0;
            p &= alpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
            const bool out = inside && mask.Out(source, sx, y);
            // The key colour is blackened: the image then ORs cleanly onto a masked-out background.
            if (out && mask.key)
                p = 0;
            anyAlpha = anyAlpha || (p >> 24) != 0;
            colours.Row(y)[index * m_width + x] = p;
            if (masks)
                masks->Row(y)[index * m_width + x] = out ? MaskedOut : 0;
        }
    m_alpha[std::size_t(index)] = anyAlpha;
}

void ImageList::Clear(int index)
{
    for (Surface* strip : Strips())
        for (int y = 0; y < m_height; ++y)
            std::fill_n(strip->Row(y) + index * m_width, m_width, 0u);
    m_alpha[std::size_t(index)] = false;
}

HICON ImageList::Icon(int index) const
{
    const GdiObject colour(CreateBitmap(m_width, m_height, 1, 32, nullptr));
    const GdiObject mask(CreateBitmap(m_width, m_height, 1, 1, nullptr));
    std::vector<Surface*> to{&LookupBitmap(colour.Get())->Pixels(), &LookupBitmap(mask.Get())->Pixels()};
    const std::vector<Surface*> from = Strips();
    for (std::size_t s = 0; s < from.size(); ++s)
        for (int y = 0; y < m_height; ++y)
            std::memcpy(to[s]->Row(y), from[s]->Row(y) + index * m_width, std::size_t(m_width) * 4);
    const ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return CreateIconIndirect(&info);
}

void ImageList::Draw(Scratch& scratch, int index, int width, int height, const DrawStyle& style) const
{
    const Surface& colours = Colours();
    const Surface* masks = style.useMask ? Masks() : nullptr;
    const bool alpha = m_alpha[std::size_t(index)];
    const bool maskOnly = (style.style & ILD_MASK) != 0;
    const bool transparentMask = (style.style & ILD_TRANSPARENT) != 0;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = scratch.Row(y);
        const std::uint32_t* image = colours.Row(y) + index * m_width;
        const std::uint32_t* mask = masks ? masks->Row(y) + index * m_width : nullptr;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t d = row[x];
            const std::uint32_t base = style.background.value_or(d & 0xFFFFFF);
            const bool out = mask && (mask[x] & 0xFFFFFF);
            std::uint32_t p;
            if (maskOnly) {
                p = out ? (transparentMask ? d : 0xFFFFFFu) : 0u;
            } else if (out) {
                p = base;
            } else {
                p = alpha ? Over(image[x], base) : image[x] & 0xFFFFFF;
                if (style.blendQuarters)
                    p = Mix(p, style.blendColour.value_or(d & 0xFFFFFF), style.blendQuarters);
            }
            row[x] = (p & 0xFFFFFF) | (d & 0xFF000000u);
        }
    }
}

winapi_kernel::HandleTable<ImageList, HIMAGELIST>& Lists()
{
    // The tag in the top byte keeps these handles apart from every other kind.
    static winapi_kernel::HandleTable<ImageList, HIMAGELIST> table(winapi_kernel::HandleLayout{.tag = std::uintptr_t{0x1A} << 56});
    return table;
}

std::shared_ptr<ImageList> Find(HIMAGELIST list)
{
    return Lists().Find(list);
}

DrawStyle Resolve(const ImageList& list, COLORREF background, COLORREF foreground, UINT style)
{
    DrawStyle resolved{style, (style & ILD_IMAGE) == 0, std::nullopt, 0, std::nullopt};
    const COLORREF bk = background == CLR_DEFAULT ? list.Background() : background;
    if (!(style & ILD_TRANSPARENT) && bk != CLR_NONE)
        resolved.background = PixelFromColor(bk & 0xFFFFFF);
    resolved.blendQuarters = (style & ILD_BLEND50) ? 2 : (style & ILD_BLEND25) ? 1 : 0;
    const COLORREF fg = foreground == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : foreground;
    if (fg != CLR_NONE)
        resolved.blendColour = PixelFromColor(fg & 0xFFFFFF);
    return resolved;
}

} // namespace

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    auto list = std::make_shared<ImageList>(width, height, flags, initial, grow);
    return list->Valid() ? Lists().Add(std::move(list)) : nullptr;
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    return Lists().Remove(list) != nullptr;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    auto found = Find(list);
    auto bitmap = LookupBitmap(image);
    auto maskBitmap = mask ? LookupBitmap(mask) : nullptr;
    if (!found || !bitmap || (mask && !maskBitmap))
        return -1;
    return found->Add(*bitmap, MaskSource{maskBitmap ? &maskBitmap->Pixels() : nullptr, std::nullopt});
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour)
{
    auto found = Find(list);
    auto bitmap = LookupBitmap(image);
    if (!found || !bitmap)
        return -1;
    const std::uint32_t key =
        maskColour == CLR_DEFAULT ? bitmap->Pixels().Row(0)[0] & 0xFFFFFF : PixelFromColor(maskColour & 0xFFFFFF);
    return found->Add(*bitmap, MaskSource{nullptr, key});
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask)
{
    auto found = Find(list);
    auto bitmap = LookupBitmap(image);
    auto maskBitmap = mask ? LookupBitmap(mask) : nullptr;
    if (!found || !bitmap || (mask && !maskBitmap))
        return FALSE;
    return found->Replace(index, *bitmap, MaskSource{maskBitmap ? &maskBitmap->Pixels() : nullptr, std::nullopt});
}

BOOL ImageList_Remove(HIMAGELIST list, int index)
{
    auto found = Find(list);
    return found && found->Remove(index);
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    auto found = Find(list);
    return found ? found->Count() : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count)
{
    auto found = Find(list);
    return found && count <= 0x7FFFFFFF && found->SetCount(int(count));
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height)
{
    auto found = Find(list);
    if (!found || !width || !height)
        return FALSE;
    *width = found->ImageSize().cx;
    *height = found->ImageSize().cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int width, int height)
{
    auto found = Find(list);
    return found && found->SetImageSize(width, height);
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour)
{
    auto found = Find(list);
    return found ? found->SetBackground(colour) : CLR_NONE;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list)
{
    auto found = Find(list);
    return found ? found->Background() : CLR_NONE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info)
{
    auto found = Find(list);
    if (!found || !info || index < 0 || index >= found->Count())
        return FALSE;
    *info = found->Info(index);
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT)
{
    auto found = Find(list);
    if (!found || index < 0 || index >= found->Count())
        return nullptr;
    return found->Icon(index);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int width, int height,
                      COLORREF background, COLORREF foreground, UINT style)
{
    auto found = Find(list);
    if (!found || index < 0 || index >= found->Count() || !LookupDC(dc))
        return FALSE;
    const SIZE size = found->ImageSize();
    width = width > 0 ? std::min<int>(width, size.cx) : size.cx;
    height = height > 0 ? std::min<int>(height, size.cy) : size.cy;
    Scratch scratch(dc, x, y, width, height);
    if (!scratch.Valid())
        return FALSE;
    found->Draw(scratch, index, width, height, Resolve(*found, background, foreground, style));
    scratch.WriteBack();
    return TRUE;
}
