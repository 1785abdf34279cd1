#include "skin/SkinTab.h"

#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/controls/TabControl.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRoutines.h"
#include "skin/SkinTypes.h"
#include "skin/SkinUpDown.h"
#include "skin/WinSkinForm.h"

#include <array>
#include <utility>

TSkinTabPosition TabPositionOfStyle(LONG style)
{
    const bool bottom = (style & TCS_BOTTOM) != 0;
    const bool vertical = (style & TCS_VERTICAL) != 0;
    if (bottom)
        return vertical ? stpRight : stpBottom;
    return vertical ? stpLeft : stpTop;
}

RECT TabStripRect(const RECT& bounds, const RECT& pane, TSkinTabPosition position)
{
    RECT strip = bounds;
    switch (position) {
    case stpTop:
        strip.bottom = pane.top;
        break;
    case stpBottom:
        strip.top = pane.bottom;
        break;
    case stpLeft:
        strip.right = pane.left;
        break;
    case stpRight:
        strip.left = pane.right;
        break;
    }
    return strip;
}

RECT TabInStrip(const RECT& item, TSkinTabPosition position, const RECT& bounds, const RECT& pane, int stripLength)
{
    switch (position) {
    case stpTop:
        return RECT{item.left, item.top + 1, item.right, item.bottom + 1};
    case stpBottom:
        return RECT{item.left, item.top - (pane.bottom + 1), item.right, item.bottom - (pane.bottom + 1)};
    case stpLeft:
        return RECT{stripLength - item.bottom, item.left, stripLength - item.top, item.right};
    case stpRight:
        return RECT{item.top - 1, bounds.right - item.right, item.bottom - 1, bounds.right - item.left};
    }
    return item;
}

namespace {

// A 24-bit copy of the picture, flipped top to bottom when asked; null for an empty picture.
std::unique_ptr<TBitmap> OrientedCopy(TBitmap& picture, bool flip)
{
    if (picture.Empty())
        return nullptr;
    auto copy = std::make_unique<TBitmap>();
    CopyBitmap(picture, *copy);
    copy->SetPixelFormat(pf24bit);
    if (flip)
        FlipBitmap(*copy);
    return copy;
}

} // namespace

void TSkinTab::ControlAttached()
{
    auto* pages = dynamic_cast<TPageControl*>(m_control);
    // A plain tab control's windowless children stand on its pane and are painted after it.
    if (!pages)
        m_mode = 2;
    m_closeButtons = pages && pages->Tag() == TabCloseButtonsTag &&
                     TabPositionOfStyle(GetWindowLongA(m_handle, GWL_STYLE)) == stpTop;
    PrepareImages();
}

void TSkinTab::AttachWindow(TWinSkinForm& form, HWND window)
{
    TSkinHook::AttachWindow(form, window);
    if (Handle() == window)
        PrepareImages();
}

void TSkinTab::SkinChanged()
{
    PrepareImages();
    TSkinHook::SkinChanged();
}

bool TSkinTab::HasTabs() const { return m_tabImage != nullptr; }

void TSkinTab::PrepareImages()
{
    m_position = TabPositionOfStyle(m_handle ? GetWindowLongA(m_handle, GWL_STYLE) : 0);
    m_tabImage.reset();
    m_paneImage.reset();
    if (!m_data)
        return;
    TSkinElements& elements = m_data->Elements();
    TDataSkinBorder* tabs = elements.BorderElement("Tabs");
    TDataSkinObject* pane = elements.Element("Tab.Pane");
    if (!tabs)
        return;
    m_tabImage = OrientedCopy(tabs->Image, m_position == stpBottom);
    if (tabs->Style == 0)
        m_paneImage = OrientedCopy(tabs->Glyph, m_position == stpBottom);
    else if (tabs->Style == 1 && pane)
        m_paneImage = OrientedCopy(pane->Image, m_position == stpBottom);
    if (!m_paneImage)
        return;
    if (m_position == stpLeft)
        RotateLeft(*m_paneImage);
    else if (m_position == stpRight)
        RotateRight(*m_paneImage);
}

bool TSkinTab::BeforeMessage(TMessage& message)
{
    if (!HasTabs())
        return TSkinHook::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaint(message);
        return false;
    case WM_LBUTTONDOWN:
        if (m_closeButtons && HitCloseButton(message)) {
            message.Result = 0;
            return false;
        }
        break;
    default:
        break;
    }
    return TSkinHook::BeforeMessage(message);
}

bool TSkinTab::HitCloseButton(const TMessage& message)
{
    const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    for (std::size_t tab = 0; tab < m_hitRects.size(); ++tab) {
        if (!PtInRect(&m_hitRects[tab], at))
            continue;
        // The rectangles are those of the last paint: once a page goes, the others are stale.
        const HWND control = m_handle;
        const bool keep = m_form && SendMessageA(m_form->Window(), WM_SKIN_CLOSETAB, reinterpret_cast<WPARAM>(control),
                                                 static_cast<LPARAM>(tab)) != 0;
        m_hitRects.clear();
        if (auto* pages = dynamic_cast<TPageControl*>(m_control); pages && !keep)
            for (int i = 0; i < pages->PageCount(); ++i)
                if (pages->Pages(i)->TabIndex() == static_cast<int>(tab)) {
                    delete pages->Pages(i);
                    break;
                }
        if (IsWindow(control))
            (void)InvalidateRect(control, nullptr, TRUE);
        return true;
    }
    return false;
}

void TSkinTab::PaintSkin(HDC dc, const RECT& rect)
{
    if (!HasTabs())
        return;
    ReadWindowState();
    RECT pane = rect;
    (void)SendMessageA(m_handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    InflateRect(&pane, 4, 4);
    switch (m_position) {
    case stpTop:
        ++pane.top;
        break;
    case stpBottom:
        --pane.bottom;
        break;
    case stpLeft:
        ++pane.left;
        break;
    case stpRight:
        --pane.right;
        break;
    }
    PaintStrip(dc, rect, pane);
    DrawScrollArrows(dc, TabStripRect(rect, pane, m_position));
    DrawPaneBorder(dc, pane);
    if (auto* windowed = dynamic_cast<TWinControl*>(m_control); windowed && m_mode == 2)
        windowed->PaintControls(dc, nullptr);
}

void TSkinTab::PaintStrip(HDC dc, const RECT& rect, const RECT& pane)
{
    const int count = static_cast<int>(SendMessageA(m_handle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = static_cast<int>(SendMessageA(m_handle, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(m_handle, TCM_GETIMAGELIST, 0, 0));
    m_hitRects.assign(static_cast<std::size_t>(std::max(0, count)), RECT{});
    const RECT strip = TabStripRect(rect, pane, m_position);
    const bool side = m_position == stpLeft || m_position == stpRight;
    int width = strip.right - strip.left;
    int height = strip.bottom - strip.top;
    if (width <= 0 || height <= 0)
        return;
    if (side)
        std::swap(width, height);
    m_work.SetPixelFormat(pf24bit);
    m_work.SetSize(width, height);
    TCanvas& canvas = *m_work.Canvas();
    FillParentColor(canvas.Handle(), RECT{0, 0, width, height});
    if (const auto font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(font);
    const TDataSkinObject& tabs = *m_data->Elements().Element("Tabs");
    const TColor fallback = m_data->Elements().Colours().ButtonText;
    for (int i = 0; i < count; ++i) {
        std::array<char, 80> text{};
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        item.iImage = -1;
        RECT itemRect{};
        if (!SendMessageA(m_handle, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) ||
            !SendMessageA(m_handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&itemRect)))
            continue;
        const RECT place = TabInStrip(itemRect, m_position, rect, pane, side ? width : height);
        const int state = i == focus ? 2 : 1;
        DrawTab(canvas.Handle(), place, state);
        if (m_closeButtons)
            DrawCloseCross(place, i);
        const TColor colour = state == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2;
        canvas.Font()->SetColor(colour == -1 ? fallback : colour);
        text.back() = '\0';
        DrawImageText(canvas, place, 1, text.data(), item.iImage, images, m_enabled, BiDiTextFlags(0));
    }
    if (m_position == stpLeft)
        RotateLeft(m_work);
    else if (m_position == stpRight)
        RotateRight(m_work);
    (void)BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, m_work.Canvas()->Handle(),
                 0, 0, SRCCOPY);
}

void TSkinTab::DrawScrollArrows(HDC dc, const RECT& strip)
{
    std::array<RECT, 2> arrows{};
    const LRESULT flags = SendMessageA(m_handle, TCM_GETSCROLLARROWS, 0, reinterpret_cast<LPARAM>(arrows.data()));
    if ((flags & TCSA_SHOWN) == 0)
        return;
    // The row runs on under the arrows: the strip behind them is cleared across its depth.
    RECT behind{arrows[0].left, arrows[0].top, arrows[1].right, arrows[1].bottom};
    if (RECT inStrip{}; IntersectRect(&inStrip, &behind, &strip)) {
        behind.top = strip.top;
        behind.bottom = strip.bottom;
    }
    FillParentColor(dc, behind);
    const std::array<LRESULT, 2> enabledFlags{TCSA_LEFTENABLED, TCSA_RIGHTENABLED};
    for (std::size_t side = 0; side < arrows.size(); ++side)
        DrawSkinUpDownHalf(dc, arrows[side], *m_data, true, static_cast<int>(side),
                           (flags & enabledFlags[side]) != 0 ? udsNormal : udsDisabled);
}

void TSkinTab::DrawTab(HDC dc, const RECT& rect, int state) const
{
    const TDataSkinObject& tabs = *m_data->Elements().Element("Tabs");
    const TSkinMargins margins{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight};
    DrawElement(dc, rect, *m_tabImage, false, tabs.Tile == 1, tabs.Trans == 1, 5, state, margins);
}

void TSkinTab::DrawCloseCross(const RECT& rect, int index)
{
    TCanvas& canvas = *m_work.Canvas();
    const int r = rect.right;
    const int t = rect.top;
    const std::array<TPoint, 6> box{{{r - 8, t + 2}, {r - 2, t + 2}, {r - 2, t + 8}, {r - 8, t + 8}, {r - 8, t + 2},
                                     {r - 2, t + 8}}};
    canvas.Polyline(box);
    canvas.MoveTo(r - 2, t + 2);
    canvas.LineTo(r - 8, t + 8);
    m_hitRects[static_cast<std::size_t>(index)] = RECT{r - 8, t + 2, r - 2, t + 8};
}

void TSkinTab::DrawPaneBorder(HDC dc, const RECT& pane)
{
    if (!m_paneImage)
        return;
    const TDataSkinObject& tabs = *m_data->Elements().Element("Tabs");
    const TDataSkinObject* paneElement = m_data->Elements().Element("Tab.Pane");
    TSkinMargins margins{4, 5, 4, 4};
    if (tabs.Style != 0 && paneElement)
        margins = TSkinMargins{paneElement->LeftWidth, paneElement->TopHeight, paneElement->RightWidth,
                               paneElement->BottomHeight};
    try {
        DrawElement(dc, pane, *m_paneImage, false, false, false, 1, 1, margins);
    } catch (const std::exception&) {
        // The pane keeps the control's own border.
    }
}

bool TSkinTabBtn::HasPicture() const { return m_data && !m_data->Elements().Buttons().Image.Empty(); }

bool TSkinTabBtn::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_PAINT && HasPicture()) {
        HandlePaint(message);
        return false;
    }
    return TSkinHook::BeforeMessage(message);
}

void TSkinTabBtn::PaintSkin(HDC dc, const RECT& rect)
{
    if (!HasPicture())
        return;
    ReadWindowState();
    RECT display = rect;
    (void)SendMessageA(m_handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    InflateRect(&display, 4, 4);
    const RECT strip{rect.left, rect.top, rect.right, display.top + 1};
    if (strip.right <= strip.left || strip.bottom <= strip.top)
        return;
    m_work.SetPixelFormat(pf24bit);
    m_work.SetSize(strip.right - strip.left, strip.bottom - strip.top);
    TCanvas& canvas = *m_work.Canvas();
    FillRectColor(canvas.Handle(), RECT{0, 0, m_work.Width(), m_work.Height()}, m_data->Elements().Colours().ButtonFace);
    if (const auto font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(font);
    canvas.Font()->SetColor(clBlack);
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    const int count = static_cast<int>(SendMessageA(m_handle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = static_cast<int>(SendMessageA(m_handle, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(m_handle, TCM_GETIMAGELIST, 0, 0));
    const TSkinMargins margins{buttons.LeftWidth, buttons.TopHeight, buttons.RightWidth, buttons.BottomHeight};
    for (int i = 0; i < count; ++i) {
        std::array<char, 80> text{};
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        item.iImage = -1;
        RECT place{};
        if (!SendMessageA(m_handle, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) ||
            !SendMessageA(m_handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&place)))
            continue;
        OffsetRect(&place, -strip.left, 1 - strip.top);
        const int state = i == focus ? 2 : 1;
        DrawElement(canvas.Handle(), place, buttons.Image, false, buttons.Tile == 1, buttons.Trans == 1,
                    std::max(buttons.Frame, 1), state, margins);
        if (state == 1 && buttons.HasNormalColour2)
            canvas.Font()->SetColor(buttons.NormalColour2);
        else if (state == 2 && buttons.HasPressedColour2)
            canvas.Font()->SetColor(buttons.PressedColour2);
        text.back() = '\0';
        DrawImageText(canvas, place, 1, text.data(), item.iImage, images, m_enabled, BiDiTextFlags(0));
    }
    (void)BitBlt(dc, strip.left, strip.top, m_work.Width(), m_work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}
