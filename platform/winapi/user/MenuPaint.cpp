#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Menus.h"

#include <algorithm>

// The classic look of a pop-up menu: items on COLOR_MENU, the hot one on COLOR_HIGHLIGHT, grayed
// text embossed, a check column on the left, the accelerator (the text after a tab) right-aligned
// before the submenu arrow column, separators as etched lines.

namespace winapi_user::detail {

namespace {

constexpr int TEXT_LEFT = 20;     // check column plus margins
constexpr int ARROW_COLUMN = 17;  // room for the submenu arrow on the right
constexpr int ACCEL_GAP = 12;     // between the label and the accelerator
constexpr int SEPARATOR_HEIGHT = 8;
constexpr int GLYPH_SIZE = 13;    // check mark, bullet and arrow
constexpr int BAR_BREAK_WIDTH = 4;
constexpr int BAR_ITEM_PADDING = 6; // either side of a menu bar label

// The menu font lives as long as the program, like a stock object.
HFONT MenuFont()
{
    static const HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return CreateFontIndirectA(&metrics.lfMenuFont);
    }();
    return font;
}

// The default item of a menu is written in the bold cut of the menu font.
HFONT DefaultItemFont()
{
    static const HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMenuFont.lfWeight = FW_BOLD;
        return CreateFontIndirectA(&metrics.lfMenuFont);
    }();
    return font;
}

HFONT ItemFont(const MenuItem& item) { return (item.state & MFS_DEFAULT) ? DefaultItemFont() : MenuFont(); }

struct Label {
    std::string text;
    std::string accelerator;
};

Label SplitLabel(const std::string& text)
{
    const auto tab = text.find('\t');
    if (tab == std::string::npos)
        return Label{text, {}};
    return Label{text.substr(0, tab), text.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::string& text)
{
    if (text.empty())
        return 0;
    RECT rect{0, 0, 0, 0};
    (void)DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
    return rect.right - rect.left;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// One item's size before the columns are laid out: width of the label, of the accelerator (text
// items), or of the whole item (owner-drawn and bitmap items).
struct Measure {
    int label = 0;
    int accelerator = 0;
    int whole = 0;
    int height = 0;
};

Measure MeasureItem(HDC dc, const MenuItem& item, HWND owner, int textHeight)
{
    Measure measure;
    if (item.IsSeparator()) {
        measure.height = SEPARATOR_HEIGHT;
    } else if (item.type & MFT_OWNERDRAW) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, static_cast<UINT>(textHeight), item.data};
        (void)SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        measure.whole = static_cast<int>(mis.itemWidth);
        measure.height = static_cast<int>(mis.itemHeight);
    } else if (item.type & MFT_BITMAP) {
        const SIZE size = BitmapSize(item.bitmap);
        measure.whole = TEXT_LEFT + size.cx + ARROW_COLUMN;
        measure.height = size.cy + 2;
    } else {
        const Label label = SplitLabel(item.text);
        const SelectionGuard font(dc, ItemFont(item));
        measure.label = TextWidth(dc, label.text);
        measure.accelerator = TextWidth(dc, label.accelerator);
        measure.height = std::max(textHeight + 4, GLYPH_SIZE + 4);
    }
    return measure;
}

struct Column {
    std::size_t first = 0, last = 0; // items [first, last)
    int label = 0, accelerator = 0, whole = 0;

    [[nodiscard]] int Width() const
    {
        const int text = TEXT_LEFT + label + (accelerator ? ACCEL_GAP + accelerator : 0) + ARROW_COLUMN;
        return std::max(text, whole);
    }
};

void DrawGlyph(HDC dc, const RECT& box, UINT part, COLORREF color)
{
    // DrawFrameControl(DFC_MENU) gives a black-on-white mask; its black pixels take the colour.
    const int width = box.right - box.left, height = box.bottom - box.top;
    const GdiObject bitmap(CreateCompatibleBitmap(dc, width, height));
    const MemoryDC memory(dc, bitmap.Get());
    RECT local{0, 0, width, height};
    (void)DrawFrameControl(memory.Handle(), &local, DFC_MENU, part);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((GetPixel(memory.Handle(), x, y) & 0xFFFFFF) == 0)
                (void)SetPixel(dc, box.left + x, box.top + y, color);
}

RECT GlyphBox(const RECT& item, int left)
{
    const int top = item.top + (item.bottom - item.top - GLYPH_SIZE) / 2;
    return RECT{left, top, left + GLYPH_SIZE, top + GLYPH_SIZE};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight)
{
    const SIZE size = BitmapSize(bitmap);
    if (!size.cx)
        return;
    const MemoryDC memory(dc, bitmap);
    (void)BitBlt(dc, x, y, std::min<int>(size.cx, maxWidth), std::min<int>(size.cy, maxHeight), memory.Handle(), 0, 0,
                 SRCCOPY);
}

void DrawLabel(HDC dc, const MenuItem& item, RECT rect, COLORREF color, bool embossed)
{
    const Label label = SplitLabel(item.text);
    const SelectionGuard font(dc, ItemFont(item));
    const auto draw = [&](RECT at, COLORREF ink) {
        (void)SetTextColor(dc, ink);
        RECT text{at.left + TEXT_LEFT, at.top, at.right - ARROW_COLUMN, at.bottom};
        (void)DrawTextA(dc, label.text.c_str(), static_cast<int>(label.text.size()), &text,
                        DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!label.accelerator.empty())
            (void)DrawTextA(dc, label.accelerator.c_str(), static_cast<int>(label.accelerator.size()), &text,
                            DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    if (embossed) {
        RECT shifted = rect;
        OffsetRect(&shifted, 1, 1);
        draw(shifted, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    draw(rect, color);
}

UINT OwnerDrawState(const MenuItem& item, bool hot)
{
    UINT state = 0;
    if (hot)
        state |= ODS_SELECTED;
    if (item.state & MF_GRAYED)
        state |= ODS_GRAYED;
    if (item.state & MF_DISABLED)
        state |= ODS_DISABLED;
    if (item.state & MFS_CHECKED)
        state |= ODS_CHECKED;
    if (item.state & MFS_DEFAULT)
        state |= ODS_DEFAULT;
    return state;
}

void PaintItem(HDC dc, HMENU hmenu, const MenuItem& item, const RECT& rect, bool hot, HWND owner)
{
    if (item.type & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT dis{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, OwnerDrawState(item, hot),
                           reinterpret_cast<HWND>(hmenu), dc, rect, item.data};
        (void)SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (item.IsSeparator()) {
        const int middle = rect.top + (rect.bottom - rect.top) / 2 - 1;
        RECT line{rect.left + 1, middle, rect.right - 1, middle + 2};
        (void)DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    if (hot) {
        RECT fill = rect;
        (void)FillRect(dc, &fill, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    const COLORREF ink = item.IsGrayed() ? GetSysColor(COLOR_GRAYTEXT)
                         : hot           ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                         : GetSysColor(COLOR_MENUTEXT);
    const COLORREF glyphInk = hot && !item.IsGrayed() ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink;
    if (item.state & MFS_CHECKED)
        DrawGlyph(dc, GlyphBox(rect, rect.left + 3), (item.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK,
                  glyphInk);
    else if (item.bitmap && !(item.type & MFT_BITMAP))
        DrawBitmap(dc, item.bitmap, rect.left + 2, rect.top + 1, TEXT_LEFT - 3, rect.bottom - rect.top - 2);
    if (item.type & MFT_BITMAP)
        DrawBitmap(dc, item.bitmap, rect.left + TEXT_LEFT, rect.top + 1, rect.right - rect.left, rect.bottom - rect.top);
    else
        DrawLabel(dc, item, rect, ink, item.IsGrayed() && !hot);
    if (item.subMenu)
        DrawGlyph(dc, GlyphBox(rect, rect.right - GLYPH_SIZE - 2), DFCS_MENUARROW, glyphInk);
}

} // namespace

MenuLayout LayoutMenu(HMENU hmenu, HWND owner)
{
    MenuLayout layout;
    const Menu* menu = FindMenu(hmenu);
    if (!menu)
        return layout;
    const HDC dc = GetDC(nullptr);
    std::vector<Measure> measures;
    {
        const SelectionGuard selectFont(dc, MenuFont());
        TEXTMETRICA metrics{};
        (void)GetTextMetricsA(dc, &metrics);
        for (const MenuItem& item : menu->items)
            measures.push_back(MeasureItem(dc, item, owner, metrics.tmHeight));
    }
    (void)ReleaseDC(nullptr, dc);

    // Columns start at MFT_MENUBREAK / MFT_MENUBARBREAK items; every item spans its column.
    std::vector<Column> columns(1);
    for (std::size_t i = 0; i < measures.size(); ++i) {
        if (i > 0 && (menu->items[i].type & (MFT_MENUBREAK | MFT_MENUBARBREAK)))
            columns.push_back(Column{i, i});
        Column& column = columns.back();
        column.last = i + 1;
        column.label = std::max(column.label, measures[i].label);
        column.accelerator = std::max(column.accelerator, measures[i].accelerator);
        column.whole = std::max(column.whole, measures[i].whole);
    }
    layout.items.resize(measures.size());
    int x = 0;
    for (const Column& column : columns) {
        if (column.first > 0 && (menu->items[column.first].type & MFT_MENUBARBREAK)) {
            layout.barBreaks.push_back(x + BAR_BREAK_WIDTH / 2 - 1);
            x += BAR_BREAK_WIDTH;
        }
        const int width = column.Width();
        int y = 0;
        for (std::size_t i = column.first; i < column.last; ++i) {
            layout.items[i] = RECT{x, y, x + width, y + measures[i].height};
            y += measures[i].height;
        }
        x += width;
        layout.size.cy = std::max<LONG>(layout.size.cy, y);
    }
    layout.size.cx = x;
    return layout;
}

void PaintMenuItems(HDC dc, HMENU hmenu, const MenuLayout& layout, int hot, HWND owner)
{
    const Menu* menu = FindMenu(hmenu);
    if (!menu)
        return;
    const SavedDC saved(dc);
    (void)SelectObject(dc, MenuFont());
    (void)SetBkMode(dc, TRANSPARENT);
    for (int x : layout.barBreaks) {
        RECT line{x, 0, x + 2, layout.size.cy};
        (void)DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
    // The owner may change the menu while drawing; work on a copy of the items.
    const std::vector<MenuItem> items = menu->items;
    for (std::size_t i = 0; i < items.size() && i < layout.items.size(); ++i)
        PaintItem(dc, hmenu, items[i], layout.items[i], static_cast<int>(i) == hot, owner);
}

std::vector<RECT> LayoutMenuBar(HMENU hmenu, const RECT& bar)
{
    std::vector<RECT> items;
    const Menu* menu = FindMenu(hmenu);
    if (!menu)
        return items;
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard selectFont(dc, MenuFont());
        int x = bar.left;
        for (const MenuItem& item : menu->items) {
            const int width = TextWidth(dc, SplitLabel(item.text).text) + 2 * BAR_ITEM_PADDING;
            items.push_back(RECT{x, bar.top, x + width, bar.bottom});
            x += width;
        }
    }
    (void)ReleaseDC(nullptr, dc);
    return items;
}

void PaintMenuBar(HDC dc, HMENU hmenu, const RECT& bar, int hot)
{
    const Menu* menu = FindMenu(hmenu);
    if (!menu)
        return;
    const SavedDC saved(dc);
    RECT fill = bar;
    (void)FillRect(dc, &fill, GetSysColorBrush(COLOR_MENU));
    (void)SelectObject(dc, MenuFont());
    (void)SetBkMode(dc, TRANSPARENT);
    const std::vector<RECT> rects = LayoutMenuBar(hmenu, bar);
    const std::vector<MenuItem> items = menu->items;
    for (std::size_t i = 0; i < items.size() && i < rects.size(); ++i) {
        RECT rect = rects[i];
        const bool isHot = static_cast<int>(i) == hot;
        if (isHot)
            (void)FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        (void)SetTextColor(dc, items[i].IsGrayed() ? GetSysColor(COLOR_GRAYTEXT)
                               : isHot             ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                   : GetSysColor(COLOR_MENUTEXT));
        const std::string label = SplitLabel(items[i].text).text;
        (void)DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
}

void PaintMenuFrame(HDC dc, const RECT& windowRect)
{
    RECT rect = windowRect;
    (void)DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    InflateRect(&rect, -2, -2);
    (void)FrameRect(dc, &rect, GetSysColorBrush(COLOR_MENU));
}

int MenuItemAt(const MenuLayout& layout, POINT client)
{
    for (std::size_t i = 0; i < layout.items.size(); ++i)
        if (PtInRect(&layout.items[i], client))
            return static_cast<int>(i);
    return -1;
}

} // namespace winapi_user::detail
