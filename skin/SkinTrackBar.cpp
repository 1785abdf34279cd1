#include "skin/SkinTrackBar.h"

#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/controls/TrackBar.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"

#include <algorithm>

namespace {

// The channel picture: both end pieces at their own length, the middle stretched between them
// (left out when the ends fill the channel); across the channel the picture keeps its size and is
// centred when it is narrower.
void DrawChannelPicture(HDC dc, const RECT& channel, TDataSkinObject& element, bool vertical)
{
    TBitmap& image = element.Image;
    const HDC source = image.Canvas()->Handle();
    const int imageWidth = image.Width();
    const int imageHeight = image.Height();
    if (vertical) {
        const int width = channel.right - channel.left;
        const int x = channel.left + (imageWidth < width ? (width - imageWidth) / 2 : 0);
        const int first = element.TopHeight;
        const int last = element.BottomHeight;
        (void)StretchBlt(dc, x, channel.top, imageWidth, first, source, 0, 0, imageWidth, first, SRCCOPY);
        const int middle = std::max(channel.bottom - channel.top - first - last, 0);
        (void)StretchBlt(dc, x, channel.top + first, imageWidth, middle, source, 0, first, imageWidth,
                         imageHeight - first - last, SRCCOPY);
        (void)StretchBlt(dc, x, channel.bottom - last, imageWidth, last, source, 0, imageHeight - last, imageWidth,
                         last, SRCCOPY);
        return;
    }
    const int height = channel.bottom - channel.top;
    const int y = channel.top + (imageHeight < height ? (height - imageHeight) / 2 : 0);
    const int first = element.LeftWidth;
    const int last = element.RightWidth;
    (void)StretchBlt(dc, channel.left, y, first, imageHeight, source, 0, 0, first, imageHeight, SRCCOPY);
    const int middle = std::max(channel.right - channel.left - first - last, 0);
    (void)StretchBlt(dc, channel.left + first, y, middle, imageHeight, source, first, 0, imageWidth - first - last,
                     imageHeight, SRCCOPY);
    (void)StretchBlt(dc, channel.right - last, y, last, imageHeight, source, imageWidth - last, 0, last, imageHeight,
                     SRCCOPY);
}

bool HasImage(const TDataSkinObject* element)
{
    return element && !element->Image.Empty();
}

} // namespace

bool TSkinTrackBar::BeforeMessage(TMessage& message)
{
    if (message.Msg == CN_CTLCOLORSTATIC) {
        // The track bar asks for its background: the skin's face, as around it.
        message.Result = reinterpret_cast<LRESULT>(m_data->Elements().ButtonFaceBrush());
        return message.Result == 0;
    }
    if (message.Msg != WM_NOTIFY && message.Msg != CN_NOTIFY)
        return TSkinHook::BeforeMessage(message);
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (!header || header->code != NM_CUSTOMDRAW)
        return true;
    message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
    return false;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw)
{
    if (draw.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    switch (draw.dwItemSpec) {
    case TBCD_THUMB:
        DrawThumb(draw.hdc);
        return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
        DrawChannel(draw.hdc);
        return CDRF_SKIPDEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

bool TSkinTrackBar::Vertical() const
{
    return (GetWindowLongA(m_handle, GWL_STYLE) & TBS_VERT) != 0;
}

void TSkinTrackBar::DrawChannel(HDC dc)
{
    RECT channel{};
    (void)SendMessageA(m_handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    TSkinElements& elements = m_data->Elements();
    if (TDataSkinObject* vertical = elements.Element("TRACKVERT"); Vertical() && HasImage(vertical)) {
        // The control answers a vertical channel as if the bar lay horizontally.
        DrawChannelPicture(dc, RECT{channel.top, channel.left, channel.bottom, channel.right}, *vertical, true);
        return;
    }
    if (TDataSkinObject* horizontal = elements.Element("Track"); HasImage(horizontal))
        DrawChannelPicture(dc, channel, *horizontal, false);
}

void TSkinTrackBar::DrawThumb(HDC dc)
{
    if (!IsWindow(m_handle))
        return;
    RECT thumb{};
    (void)SendMessageA(m_handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    TSkinElements& elements = m_data->Elements();
    TDataSkinObject* element = Vertical() ? elements.Element("Trackbar.ThumbVert") : nullptr;
    if (!HasImage(element))
        element = elements.Element("Trackbar.ThumbHorz");
    if (HasImage(element)) {
        BlitStripFrame(dc, thumb, 5, 2, element->Image);
        return;
    }
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(elements.Colours().ButtonShadow)));
    const SelectionGuard selected(dc, pen.Get());
    (void)Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}

void TSkinTrackBar::SkinChanged()
{
    m_handle = Handle();
    if (!m_handle)
        return;
    const HWND previous = GetFocus();
    (void)SetFocus(m_handle);
    if (previous && previous != m_handle)
        (void)SetFocus(previous);
}
