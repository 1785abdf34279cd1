#include "controls/KvLEDDisplay.h"

#include "controls/KvCommon.h"

#include "controls/KvLEDFont.h"
#include "controls/KvOldPropReader.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Filer.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

#include <algorithm>

namespace {

constexpr unsigned char BlankCode = ' ';

const TTypeInfo& ScrollDelayTypeInfo()
{
    static const TTypeInfo info = RangeTypeInfo("Word", 0, 65535);
    return info;
}

void DescribeLEDDisplay(TClassBuilder& c)
{
    using C = TKvLEDDisplay;
    PublishFramedBorders<C>(c, {TKvFramedBorderProperty::BorderOuter}, fsStatus);
    c.String("Caption", &C::Caption, &C::SetCaption);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &C::Alignment, &C::SetAlignment).Default(taLeftJustify);
    c.Ordinal("BackColor", ColorTypeInfo(), &C::BackColor, &C::SetBackColor).Default(clBlack);
    c.Ordinal("SegOnColor", ColorTypeInfo(), &C::SegOnColor, &C::SetSegOnColor).Default(0x00FF00);
    c.Ordinal("SegOffColor", ColorTypeInfo(), &C::SegOffColor, &C::SetSegOffColor).Default(0x003300);
    c.Boolean("Scrolling", &C::Scrolling, &C::SetScrolling).Default(false);
    c.Enum("ScrollType", ScrollTypeTypeInfo(), &C::ScrollType, &C::SetScrollType).Default(stRightToLeft);
    c.Ordinal("ScrollDelay", ScrollDelayTypeInfo(), &C::ScrollDelay, &C::SetScrollDelay).Default(100);
    c.Event("OnScrollComplete", &C::OnScrollComplete, &C::SetOnScrollComplete);
}

} // namespace

const TTypeInfo& ScrollTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvScrollType", {"stNone", "stRightToLeft", "stLeftToRight"});
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TKvLEDDisplay, TKvBorder, ComponentCreator<TKvLEDDisplay>, DescribeLEDDisplay)

TKvLEDDisplay::TKvLEDDisplay(TComponent* owner) : TKvBorder(owner), m_timer(std::make_unique<TTimer>(nullptr))
{
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBounds(Left(), Top(), 100, 30);
    m_timer->SetEnabled(m_scrolling);
    m_timer->SetOnTimer(TNotifyEvent(this, &TKvLEDDisplay::TimerFired));
    m_timer->SetInterval(m_scrollDelay);
    SetBorderOuter(fsStatus);
}

TKvLEDDisplay::~TKvLEDDisplay() = default;

// ---- Properties ----------------------------------------------------------------------------------

void TKvLEDDisplay::SetCaption(const std::string& caption)
{
    if (caption == Caption())
        return;
    SetText(caption);
    Repaint();
}

void TKvLEDDisplay::SetAlignment(TAlignment alignment) { ChangeAndRepaint(m_alignment, alignment); }
void TKvLEDDisplay::SetBackColor(TColor color) { ChangeAndRepaint(m_backColor, color); }
void TKvLEDDisplay::SetSegOnColor(TColor color) { ChangeAndRepaint(m_segOnColor, color); }
void TKvLEDDisplay::SetSegOffColor(TColor color) { ChangeAndRepaint(m_segOffColor, color); }

void TKvLEDDisplay::SetScrolling(bool scrolling)
{
    if (scrolling == m_scrolling)
        return;
    m_scrolling = scrolling;
    m_timer->SetEnabled(scrolling);
    if (!scrolling)
        m_currentStep = 0;
    Invalidate();
}

void TKvLEDDisplay::SetScrollType(TKvScrollType scrollType)
{
    if (scrollType == m_scrollType)
        return;
    m_scrollType = scrollType;
    m_timer->SetEnabled(scrollType != stNone);
    Invalidate();
}

void TKvLEDDisplay::SetScrollDelay(std::uint16_t milliseconds)
{
    if (milliseconds == m_scrollDelay)
        return;
    m_scrollDelay = milliseconds;
    m_timer->SetInterval(milliseconds);
}

// ---- Geometry ------------------------------------------------------------------------------------

void TKvLEDDisplay::SetBevelWidth(int width)
{
    TKvBorder::SetBevelWidth(width);
    UpdateDotSize();
}

void TKvLEDDisplay::SetBorderInner(TFrameStyleEx style)
{
    TKvBorder::SetBorderInner(style);
    UpdateDotSize();
}

void TKvLEDDisplay::SetBorderOuter(TFrameStyleEx style)
{
    TKvBorder::SetBorderOuter(style);
    UpdateDotSize();
}

void TKvLEDDisplay::SetBorderSides(TSides sides)
{
    TKvBorder::SetBorderSides(sides);
    UpdateDotSize();
}

void TKvLEDDisplay::SetBorderWidth(int width)
{
    TKvBorder::SetBorderWidth(width);
    UpdateDotSize();
}

void TKvLEDDisplay::SetBounds(int left, int top, int width, int height)
{
    TKvBorder::SetBounds(left, top, width, height);
    UpdateDotSize();
}

void TKvLEDDisplay::FrameControllerChanged()
{
    // The controller may change the frames behind the setters' backs; the dots follow.
    TKvBorder::FrameControllerChanged();
    UpdateDotSize();
}

void TKvLEDDisplay::Loaded()
{
    TKvBorder::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TKvLEDDisplay::DefineProperties(TFiler& filer)
{
    TKvBorder::DefineProperties(filer);
    filer.DefineProperty("SegSpacing", &TKvOldPropReader::SkipIntegerValue, {}, false);
    filer.DefineProperty("DisplayCells", &TKvOldPropReader::SkipIntegerValue, {}, false);
}

void TKvLEDDisplay::UpdateDotSize()
{
    const int height = ClientHeight();
    m_dotSize = std::max(1, static_cast<int>(height / 7.6));
    m_dotGap = static_cast<int>(m_dotSize * 0.1);
    UpdateSteps();
}

void TKvLEDDisplay::UpdateSteps() { m_steps = CellWidth() * CaptionLength() + Width(); }

// ---- Painting ------------------------------------------------------------------------------------

TColor TKvLEDDisplay::GlyphDotColor(unsigned char code, int column, int row) const
{
    if (column == 5)
        return m_segOffColor;
    const std::uint8_t bits = LEDGlyph(code)[static_cast<std::size_t>(column)];
    return (bits >> (7 - row)) & 1 ? LitDotColor() : m_segOffColor;
}

// A disabled display's lit dots fade most of the way toward the unlit ones: the text stays
// readable but the display is plainly off.
TColor TKvLEDDisplay::LitDotColor() const
{
    constexpr std::uint8_t DisabledGlow = 64;
    return Enabled() ? m_segOnColor : MixColors(m_segOnColor, m_segOffColor, DisabledGlow);
}

void TKvLEDDisplay::DrawCharCell(TCanvas& canvas, const TRect& cell, unsigned char code)
{
    // Each dot is a square of DotSize + 1 pixels outlined in the back colour: the cell's dots
    // together cover its footprint in the back colour, with each dot's inside in its own colour.
    // Filling them so is the same picture as drawing every outlined square, and far cheaper.
    const int reach = m_dotSize + 1;
    canvas.Brush()->SetColor(m_backColor);
    canvas.FillRect(Rect(cell.left, cell.top, cell.left + 5 * Pitch() + reach, cell.top + 6 * Pitch() + reach));
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 6; ++column) {
            const int x = cell.left + column * Pitch();
            const int y = cell.top + row * Pitch();
            canvas.Brush()->SetColor(GlyphDotColor(code, column, row));
            canvas.FillRect(Rect(x + 1, y + 1, x + m_dotSize, y + m_dotSize));
        }
}

int TKvLEDDisplay::TextStart(int clientWidth) const
{
    if (!m_scrolling)
        return 0;
    switch (m_scrollType) {
    case stRightToLeft: return Pitch() * (clientWidth / Pitch()) - m_currentStep;
    case stLeftToRight: return -CellWidth() * CaptionLength() + m_currentStep;
    case stNone: break;
    }
    return 0;
}

void TKvLEDDisplay::DrawUnlitCells(TCanvas& canvas, int width, int top)
{
    const int cellWidth = CellWidth();
    if (m_alignment == taRightJustify && !m_scrolling) {
        for (int x = width - cellWidth; x > -cellWidth; x -= cellWidth)
            DrawCharCell(canvas, Rect(x, top, x + cellWidth, top + CellHeight()), BlankCode);
        return;
    }
    int x = 0;
    if (m_alignment == taCenter && !m_scrolling) {
        // The blank grid lines up with the centred text.
        const int freeSpace = width - CaptionLength() * cellWidth;
        x = (freeSpace / 2) % cellWidth - cellWidth;
    }
    for (; x < width; x += cellWidth)
        DrawCharCell(canvas, Rect(x, top, x + cellWidth, top + CellHeight()), BlankCode);
}

void TKvLEDDisplay::DrawText(TCanvas& canvas, int width, int top)
{
    const std::string& caption = m_codes;
    const int cellWidth = CellWidth();
    const auto drawAt = [&](int x, unsigned char code) {
        // Cells wholly outside the bitmap would be clipped away anyway.
        if (x + cellWidth > 0 && x < width)
            DrawCharCell(canvas, Rect(x, top, x + cellWidth, top + CellHeight()), code);
    };
    if (m_alignment == taRightJustify && !m_scrolling) {
        int x = width - cellWidth;
        for (auto c = caption.rbegin(); c != caption.rend(); ++c, x -= cellWidth)
            drawAt(x, static_cast<unsigned char>(*c));
        return;
    }
    int x = TextStart(width);
    if (m_alignment == taCenter && !m_scrolling)
        x = (width - CaptionLength() * cellWidth) / 2;
    for (const char c : caption) {
        drawAt(x, static_cast<unsigned char>(c));
        x += cellWidth;
    }
}

void TKvLEDDisplay::Paint()
{
    TKvBorder::Paint();
    const TRect client = ClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 7)
        return;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(m_backColor);
    canvas.FillRect(Rect(0, 0, width, height));
    const int top = (height - CellHeight()) / 2;
    DrawUnlitCells(canvas, width, top);
    DrawText(canvas, width, top);
    Canvas()->SetCopyMode(cmSrcCopy);
    Canvas()->Draw(client.left, client.top, &bitmap);
}

// ---- Messages and scrolling ----------------------------------------------------------------------

void TKvLEDDisplay::Dispatch(TMessage& message)
{
    TKvBorder::Dispatch(message);
    if (message.Msg == CM_TEXTCHANGED) {
        m_codes = LEDCodes(Caption());
        UpdateSteps();
        Invalidate();
    }
}

void TKvLEDDisplay::TimerFired(TObject*)
{
    if (!m_timer->Enabled())
        return;
    m_currentStep += Pitch();
    // Through the parent's painting, and only where it can be seen.
    if (Showing())
        Repaint();
    if (m_currentStep >= m_steps) {
        m_currentStep = 0;
        DoScrollComplete();
    }
}

void TKvLEDDisplay::DoScrollComplete() { m_onScrollComplete(this); }

void RegisterBorderClasses() { RegisterClasses({TKvBorder::StaticClass(), TKvLEDDisplay::StaticClass()}); }
