#include "platform/classlib/forms/GraphicsCanvas.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/Text.h"

#include <climits>

namespace {

// Where the mask is set the pattern, elsewhere the destination: (P & S) | (D & ~S).
constexpr DWORD RopPatternWhereSource = 0x00E20746;

// A DC state change undone at the end of a scope.
class TTextColours {
public:
    TTextColours(HDC dc, COLORREF text, COLORREF background)
        : m_dc(dc), m_text(SetTextColor(dc, text)), m_background(SetBkColor(dc, background))
    {
    }
    ~TTextColours()
    {
        SetTextColor(m_dc, m_text);
        SetBkColor(m_dc, m_background);
    }
    TTextColours(const TTextColours&) = delete;
    TTextColours& operator=(const TTextColours&) = delete;

private:
    HDC m_dc;
    COLORREF m_text;
    COLORREF m_background;
};

} // namespace

TCanvas::TCanvas()
    : m_font(std::make_unique<TFont>()), m_pen(std::make_unique<TPen>()), m_brush(std::make_unique<TBrush>())
{
    m_font->SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
    m_pen->SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
    m_brush->SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
}

HDC TCanvas::Handle()
{
    return RequireDC();
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == m_handle)
        return;
    DeselectHandles();
    m_handle = dc;
}

HDC TCanvas::RequireDC()
{
    if (!m_handle)
        CreateHandle();
    if (!m_handle)
        throw EInvalidGraphicOperation("Canvas does not allow drawing");
    SelectObjects();
    return m_handle;
}

void TCanvas::SelectObjects()
{
    if (!(m_selected & PenSelected)) {
        Select(m_penSelection, m_pen->Handle());
        SetROP2(m_handle, static_cast<int>(m_pen->Mode()) + R2_BLACK);
        m_selected |= PenSelected;
    }
    if (!(m_selected & BrushSelected)) {
        Select(m_brushSelection, m_brush->Handle());
        // Hatches and text backgrounds take the brush colour when it is solid.
        const COLORREF colour = ColorToRGB(m_brush->Color());
        if (m_brush->Style() == bsSolid) {
            SetBkColor(m_handle, colour);
            SetBkMode(m_handle, OPAQUE);
        } else {
            SetBkColor(m_handle, ~colour & 0xFFFFFF);
            SetBkMode(m_handle, TRANSPARENT);
        }
        m_selected |= BrushSelected;
    }
    if (!(m_selected & FontSelected)) {
        Select(m_fontSelection, m_font->Handle());
        SetTextColor(m_handle, ColorToRGB(m_font->Color()));
        m_selected |= FontSelected;
    }
}

void TCanvas::Select(std::optional<SelectionGuard>& selection, HGDIOBJ object)
{
    // The first selection remembers what the DC held before the canvas took it over; later ones
    // only swap the canvas's own objects.
    if (selection && selection->Previous())
        SelectObject(m_handle, object);
    else
        selection.emplace(m_handle, object);
}

void TCanvas::DeselectHandles()
{
    m_penSelection.reset();
    m_brushSelection.reset();
    m_fontSelection.reset();
    m_selected = 0;
}

void TCanvas::PenChanged(TObject*)
{
    m_selected &= ~PenSelected;
    if (m_handle)
        SelectObjects();
}

void TCanvas::BrushChanged(TObject*)
{
    m_selected &= ~BrushSelected;
    if (m_handle)
        SelectObjects();
}

void TCanvas::FontChanged(TObject*)
{
    m_selected &= ~FontSelected;
    if (m_handle)
        SelectObjects();
}

void TCanvas::Refresh()
{
    DeselectHandles();
}

void TCanvas::Changing()
{
    m_onChanging(this);
}

void TCanvas::Changed()
{
    m_onChange(this);
}

void TCanvas::Lock()
{
    m_lock.lock();
    ++m_lockCount;
}

void TCanvas::Unlock()
{
    --m_lockCount;
    m_lock.unlock();
}

bool TCanvas::TryLock()
{
    if (!m_lock.try_lock())
        return false;
    ++m_lockCount;
    return true;
}

TColor TCanvas::Pixels(int x, int y)
{
    return static_cast<TColor>(GetPixel(RequireDC(), x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    HDC dc = RequireDC();
    Changing();
    SetPixel(dc, x, y, ColorToRGB(color));
    Changed();
}

TPoint TCanvas::PenPos()
{
    TPoint position{};
    GetCurrentPositionEx(RequireDC(), &position);
    return position;
}

void TCanvas::SetPenPos(TPoint position)
{
    MoveToEx(RequireDC(), position.x, position.y, nullptr);
}

TRect TCanvas::ClipRect()
{
    TRect rect{};
    GetClipBox(RequireDC(), &rect);
    return rect;
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(RequireDC(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    HDC dc = RequireDC();
    Changing();
    ::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    HDC dc = RequireDC();
    Changing();
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    HDC dc = RequireDC();
    Changing();
    ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    HDC dc = RequireDC();
    Changing();
    ::Rectangle(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    HDC dc = RequireDC();
    Changing();
    ::RoundRect(dc, left, top, right, bottom, cornerWidth, cornerHeight);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    HDC dc = RequireDC();
    Changing();
    ::Ellipse(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    HDC dc = RequireDC();
    Changing();
    ::FillRect(dc, &rect, m_brush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    HDC dc = RequireDC();
    Changing();
    ::FrameRect(dc, &rect, m_brush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    HDC dc = RequireDC();
    Changing();
    ::DrawFocusRect(dc, &rect);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    HDC dc = RequireDC();
    Changing();
    ExtTextOutA(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    // The pen moves to the end of the text, as the class library's TextOut did.
    MoveToEx(dc, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text)
{
    HDC dc = RequireDC();
    Changing();
    UINT options = ETO_CLIPPED;
    if (m_brush->Style() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutA(dc, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(std::string_view text)
{
    SIZE size{};
    GetTextExtentPoint32A(RequireDC(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    StretchDraw(Rect(x, y, x + graphic->Width(), y + graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    RequireDC();
    Changing();
    graphic->Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    HDC dc = RequireDC();
    HDC sourceDc = canvas->Handle();
    Changing();
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, sourceDc, source.left,
               source.top, source.right - source.left, source.bottom - source.top, m_copyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color)
{
    if (!bitmap || bitmap->Empty())
        return;
    HDC dc = RequireDC();
    const int width = dest.right - dest.left;
    const int height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0)
        return;
    HDC bitmapDc = bitmap->Canvas()->Handle();
    Changing();
    // The copy at the destination's size, then a mask of `color` in it (set where it matches).
    const GdiObject copyBitmap(CreateBitmap(width, height, 1, 32, nullptr));
    const MemoryDC copy(dc, copyBitmap.Get());
    StretchBlt(copy.Handle(), 0, 0, width, height, bitmapDc, source.left, source.top, source.right - source.left,
               source.bottom - source.top, SRCCOPY);
    const GdiObject maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    const MemoryDC mask(dc, maskBitmap.Get());
    SetBkColor(copy.Handle(), ColorToRGB(color));
    BitBlt(mask.Handle(), 0, 0, width, height, copy.Handle(), 0, 0, SRCCOPY);
    BitBlt(dc, dest.left, dest.top, width, height, copy.Handle(), 0, 0, SRCCOPY);
    {
        const TTextColours colours(dc, RGB(0, 0, 0), RGB(255, 255, 255));
        BitBlt(dc, dest.left, dest.top, width, height, mask.Handle(), 0, 0, RopPatternWhereSource);
    }
    Changed();
}

CLASSLIB_IMPLEMENT_CLASS(TCanvas, TPersistent, nullptr, nullptr)
