#include "skin/SkinHeader.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListView.h"
#include "platform/winapi/gdi/TextUtf8.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRoutines.h"
#include "skin/WinSkinForm.h"

#include <algorithm>
#include <array>

namespace {

// How far in from either side an item counts as under the mouse.
constexpr int HotInset = 3;
// The longest item text read, in wide characters.
constexpr int ItemTextLength = 100;

int TextAlign(int format)
{
    if (format & HDF_RIGHT)
        return 2;
    return (format & HDF_CENTER) ? 1 : 0;
}

} // namespace

void TSkinHeader::AttachControl(TWinSkinForm& form, TControl& control, int boxFlag)
{
    TSkinHook::AttachControl(form, control, boxFlag);
    m_hot = -1;
}

void TSkinHeader::AttachWindow(TWinSkinForm& form, HWND window)
{
    TSkinHook::AttachWindow(form, window);
    m_hot = -1;
}

TDataSkinObject* TSkinHeader::Headerbar() const
{
    TDataSkinObject* bar = m_data ? m_data->Elements().Element("Headerbar") : nullptr;
    return bar && !bar->Image.Empty() ? bar : nullptr;
}

bool TSkinHeader::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        // Without the picture the header paints itself rather than staying blank.
        if (!Headerbar())
            break;
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        if (!Headerbar())
            break;
        message.Result = 1;
        return false;
    default:
        break;
    }
    return TSkinHook::BeforeMessage(message);
}

void TSkinHeader::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        const auto found =
            std::find_if(m_items.begin(), m_items.end(), [&](const RECT& item) { return PtInRect(&item, at); });
        // Between two items the last one stays hot.
        if (found != m_items.end() && found - m_items.begin() != m_hot) {
            m_hot = static_cast<int>(found - m_items.begin());
            Repaint();
        }
        TrackMouseLeave(m_handle);
        break;
    }
    case WM_MOUSELEAVE:
        m_hot = -1;
        Repaint();
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

void TSkinHeader::DrawBar(HDC dc, const RECT& rect, int frame) const
{
    TDataSkinObject& bar = *Headerbar();
    const TSkinMargins margins{bar.LeftWidth, bar.TopHeight, bar.RightWidth, bar.BottomHeight};
    const auto picture = BuildElementBitmap(RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, bar.Image,
                                            margins, false, bar.Tile == 1, bar.Frame, frame);
    if (picture)
        (void)BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     picture->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(int index, const RECT& rect, HIMAGELIST images, HFONT font)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    std::array<WCHAR, ItemTextLength + 1> text{};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(m_handle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        text[0] = 0;
    text.back() = 0;
    m_item.SetPixelFormat(pf24bit);
    m_item.SetSize(width, height);
    const HDC dc = m_item.Canvas()->Handle();
    DrawBar(dc, RECT{0, 0, width, height}, index == m_hot ? 2 : 1);
    const std::string caption = ToUtf8(WideTextPart(text.data(), -1)).text;
    if (!caption.empty()) {
        TCanvas& canvas = *m_item.Canvas();
        if (font)
            canvas.Font()->SetHandle(font);
        const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
        DrawImageText(canvas, RECT{0, 0, width, height}, TextAlign(item.fmt), caption, image, images, true,
                      BiDiTextFlags(0));
    }
    (void)BitBlt(m_buffer.Canvas()->Handle(), rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
}

void TSkinHeader::PaintSkin(HDC dc, const RECT& rect)
{
    if (!Headerbar() || rect.right <= 0 || rect.bottom <= 0)
        return;
    // Captions are never greyed.
    m_enabled = true;
    m_buffer.SetPixelFormat(pf24bit);
    m_buffer.SetSize(rect.right, rect.bottom);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(m_handle, HDM_GETIMAGELIST, 0, 0));
    const int count = std::max(0, static_cast<int>(SendMessageA(m_handle, HDM_GETITEMCOUNT, 0, 0)));
    m_items.assign(static_cast<std::size_t>(count), RECT{});
    int right = 0;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageA(m_handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        DrawItem(i, item, images, font);
        m_items[static_cast<std::size_t>(i)] = RECT{item.left + HotInset, item.top, item.right - HotInset, item.bottom};
        right = std::max(right, static_cast<int>(item.right));
    }
    if (right < rect.right)
        DrawBar(m_buffer.Canvas()->Handle(), RECT{right, 0, rect.right, rect.bottom}, 1);
    (void)BitBlt(dc, 0, 0, rect.right, rect.bottom, m_buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}

TSkinHeader* TSkinListView::Header() const
{
    const HWND header = m_handle ? reinterpret_cast<HWND>(SendMessageA(m_handle, LVM_GETHEADER, 0, 0)) : nullptr;
    return header && m_form ? dynamic_cast<TSkinHeader*>(m_form->FindSkinner(header)) : nullptr;
}

void TSkinListView::SkinHeader()
{
    const HWND header = m_handle ? reinterpret_cast<HWND>(SendMessageA(m_handle, LVM_GETHEADER, 0, 0)) : nullptr;
    if (!header || !m_form || m_form->FindSkinner(header))
        return;
    auto skinner = std::make_unique<TSkinHeader>();
    TSkinHeader& attached = *skinner;
    (void)m_form->AddSkinner(std::move(skinner));
    attached.AttachWindow(*m_form, header);
}

void TSkinListView::ControlAttached()
{
    TSkinScrollbar::ControlAttached();
    SkinHeader();
}

void TSkinListView::PaintSkin(HDC dc, const RECT& rect)
{
    TSkinScrollbar::PaintSkin(dc, rect);
    SkinHeader();
}
