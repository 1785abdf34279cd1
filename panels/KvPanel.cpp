#include "panels/KvPanel.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <utility>

namespace {

void DescribePanel(TClassBuilder& c)
{
    using Panel = TKvCustomPanel;
    using P = TKvFramedBorderProperty;
    c.String("About", &Panel::About, &Panel::SetAbout).Stored(false);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Default(taCenter);
    c.Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    c.Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
    c.Boolean("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
    c.Enum("AlignmentVertical", AlignmentVerticalTypeInfo(), &Panel::AlignmentVertical, &Panel::SetAlignmentVertical)
        .Default(avCenter);
    c.Ordinal("BorderColor", ColorTypeInfo(), &Panel::BorderColor, &Panel::SetBorderColor).Default(clBtnFace);
    PublishFramedBorders<Panel>(c,
                                {P::BorderInner, P::BorderOuter, P::BorderSides, P::BorderHighlight, P::BorderShadow,
                                 P::FlatColor, P::FlatColorAdjustment, P::FrameController,
                                 P::FrameControllerNotifications},
                                fsRaised);
    c.Enum("GradientColorStyle", GradientColorStyleTypeInfo(), &Panel::GradientColorStyle,
           &Panel::SetGradientColorStyle)
        .Default(gcsSystem);
    c.Ordinal("GradientColorStart", ColorTypeInfo(), &Panel::GradientColorStart, &Panel::SetGradientColorStart)
        .Default(clWhite);
    c.Ordinal("GradientColorStop", ColorTypeInfo(), &Panel::GradientColorStop, &Panel::SetGradientColorStop)
        .Default(clBtnFace);
    c.Enum("GradientDirection", GradientDirectionTypeInfo(), &Panel::GradientDirection, &Panel::SetGradientDirection)
        .Default(gdHorizontalEnd);
    c.Ordinal("GridColor", ColorTypeInfo(), &Panel::GridColor, &Panel::SetGridColor).Default(clBtnShadow);
    c.Enum("GridStyle", GridStyleTypeInfo(), &Panel::GridStyle, &Panel::SetGridStyle).Default(gsDots);
    c.Integer("GridXSize", &Panel::GridXSize, &Panel::SetGridXSize).Default(8);
    c.Integer("GridYSize", &Panel::GridYSize, &Panel::SetGridYSize).Default(8);
    c.Boolean("PaintClientArea", &Panel::PaintClientArea, &Panel::SetPaintClientArea).Default(true);
    c.Boolean("ShowGrid", &Panel::ShowGrid, &Panel::SetShowGrid).Default(false);
    c.Boolean("Transparent", &Panel::Transparent, &Panel::SetTransparent).Default(false);
    c.Integer("TextMargin", &Panel::TextMargin, &Panel::SetTextMargin).Default(0);
    c.Integer("TextMarginVertical", &Panel::TextMarginVertical, &Panel::SetTextMarginVertical).Default(0);
    c.Boolean("WordWrap", &Panel::WordWrap, &Panel::SetWordWrap).Default(true);
    c.Enum("VisualStyle", VisualStyleTypeInfo(), &Panel::VisualStyle, &Panel::SetVisualStyle).Default(vsWinXP);
    c.Boolean("ShowDockClientCaptions", &Panel::ShowDockClientCaptions, &Panel::SetShowDockClientCaptions)
        .Default(true);
    c.Boolean("Locked", &Panel::Locked, &Panel::SetLocked).Default(false);
    c.Boolean("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite).Default(false);
    c.Boolean("UseDockManager", &TWinControl::UseDockManager, &TWinControl::SetUseDockManager).Default(true);
    c.Event("OnMouseEnter", &Panel::OnMouseEnter, &Panel::SetOnMouseEnter);
    c.Event("OnMouseLeave", &Panel::OnMouseLeave, &Panel::SetOnMouseLeave);
    c.Event("OnPaint", &Panel::OnPaint, &Panel::SetOnPaint);
}

constexpr UINT CaptionAlignment[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomPanel, TCustomPanel, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvPanel, TKvCustomPanel, ComponentCreator<TKvPanel>, DescribePanel)

const TTypeInfo& GradientColorStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvGradientColorStyle", {"gcsSystem", "gcsMSOffice", "gcsCustom"});
    return info;
}

const TTypeInfo& GridStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvGridStyle", {"gsDots", "gsDottedLines", "gsSolidLines"});
    return info;
}

const TTypeInfo& VisualStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvVisualStyle", {"vsClassic", "vsWinXP", "vsGradient"});
    return info;
}

void RegisterKvPanelClass() { RegisterClass(TKvPanel::StaticClass()); }

void GetGradientPanelColors(TColor& start, TColor& stop)
{
    start = clWindow;
    stop = DarkenLuminance(clBtnFace, 10);
}

TColor GetGradientPanelFrameColor() { return LightenLuminance(clBtnShadow, 30); }

void InvalidateTransparentChildren(TWinControl& container)
{
    for (int i = 0; i < container.ControlCount(); ++i) {
        TControl* child = container.Controls(i);
        if (const TPropInfo* prop = GetPropInfo(*child, "Transparent"); prop && GetOrdProp(*child, *prop) == 1)
            child->Invalidate();
    }
}

// ---- The panel ----------------------------------------------------------------------------------

TKvCustomPanel::TKvCustomPanel(TComponent* owner) : TCustomPanel(owner), TKvFramedBorders(*this, fsRaised)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csSetCaption);
    style.Exclude(csParentBackground);
    style.Include(csOpaque);
    SetControlStyle(style);
    SetBevelOuter(bvNone);
    SetUseDockManager(true);
}

TKvCustomPanel::~TKvCustomPanel() = default;

template <class T>
void TKvCustomPanel::Update(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

template <class T>
void TKvCustomPanel::UpdateGradient(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
    InvalidateTransparentChildren(*this);
}

void TKvCustomPanel::SetAlignmentVertical(TAlignmentVertical alignment) { Update(m_alignmentVertical, alignment); }
void TKvCustomPanel::SetBorderColor(TColor color) { Update(m_borderColor, color); }
void TKvCustomPanel::SetGradientColorStyle(TKvGradientColorStyle style) { Update(m_gradientColorStyle, style); }
void TKvCustomPanel::SetGradientColorStart(TColor color) { UpdateGradient(m_gradientColorStart, color); }
void TKvCustomPanel::SetGradientColorStop(TColor color) { UpdateGradient(m_gradientColorStop, color); }
void TKvCustomPanel::SetGradientDirection(TGradientDirection direction) { UpdateGradient(m_gradientDirection, direction); }
void TKvCustomPanel::SetGridColor(TColor color) { Update(m_gridColor, color); }
void TKvCustomPanel::SetGridStyle(TKvGridStyle style) { Update(m_gridStyle, style); }
void TKvCustomPanel::SetGridXSize(int size) { Update(m_gridXSize, std::clamp(size, 0, 0xFFFF)); }
void TKvCustomPanel::SetGridYSize(int size) { Update(m_gridYSize, std::clamp(size, 0, 0xFFFF)); }
void TKvCustomPanel::SetPaintClientArea(bool paint) { Update(m_paintClientArea, paint); }
void TKvCustomPanel::SetShowGrid(bool show) { Update(m_showGrid, show); }
void TKvCustomPanel::SetTextMargin(int margin) { Update(m_textMargin, margin); }
void TKvCustomPanel::SetTextMarginVertical(int margin) { Update(m_textMarginVertical, margin); }
void TKvCustomPanel::SetWordWrap(bool wrap) { Update(m_wordWrap, wrap); }
void TKvCustomPanel::SetVisualStyle(TKvVisualStyle style) { Update(m_visualStyle, style); }

void TKvCustomPanel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    TControlStyle style = ControlStyle();
    if (transparent)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

TPoint TKvCustomPanel::ClientCursorPosition() const
{
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    return ScreenToClient(cursor);
}

void TKvCustomPanel::ShrinkRectByBorders(TRect& rect, bool includeBorderWidth) const
{
    if (includeBorderWidth)
        InflateRect(&rect, -BorderWidth(), -BorderWidth());
    ShrinkSides(rect, BorderSides(), FrameStyleWidth(BorderOuter(), BevelWidth()));
    ShrinkSides(rect, BorderSides(), FrameStyleWidth(BorderInner(), BevelWidth()));
}

TRect TKvCustomPanel::FullPanelRect() const { return Rect(0, 0, Width(), Height()); }

TPoint TKvCustomPanel::EdgeRepaintMargins() const { return TPoint{1, 1}; }

void TKvCustomPanel::GradientColorPair(TColor& start, TColor& stop) const
{
    if (m_gradientColorStyle == gcsCustom) {
        start = m_gradientColorStart;
        stop = m_gradientColorStop;
    } else {
        GetGradientPanelColors(start, stop);
    }
}

void TKvCustomPanel::FrameFlatColorPair(TColor& color, int& adjustment) const
{
    if (m_visualStyle == vsGradient && m_gradientColorStyle != gcsCustom) {
        color = GetGradientPanelFrameColor();
        adjustment = 0;
    } else {
        color = FlatColor();
        adjustment = FlatColorAdjustment();
    }
}

void TKvCustomPanel::AlignControls(TControl* control, TRect& rect)
{
    ShrinkRectByBorders(rect, false);
    TCustomPanel::AlignControls(control, rect);
}

void TKvCustomPanel::AdjustClientRect(TRect& rect) const
{
    TCustomPanel::AdjustClientRect(rect);
    if (DockSite())
        ShrinkRectByBorders(rect, false);
}

void TKvCustomPanel::SetBounds(int left, int top, int width, int height)
{
    if (Align() == alBottom && height != Height())
        top = Top() + Height() - height;
    if (Align() == alRight && width != Width())
        left = Left() + Width() - width;
    TCustomPanel::SetBounds(left, top, width, height);
}

std::unique_ptr<TDockTree> TKvCustomPanel::CreateDockManager()
{
    return std::make_unique<TKvPanelDockManager>(*this);
}

// ---- Painting -----------------------------------------------------------------------------------

void TKvCustomPanel::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect rect = FullPanelRect();
    TFramedBorders borders;
    borders.BorderOuter = BorderOuter();
    borders.BorderInner = BorderInner();
    borders.BorderWidth = BorderWidth();
    borders.BorderSides = BorderSides();
    borders.BevelWidth = BevelWidth();
    borders.BorderColor = m_borderColor;
    borders.BorderHighlight = BorderHighlight();
    borders.BorderShadow = BorderShadow();
    FrameFlatColorPair(borders.FlatColor, borders.FlatColorAdjustment);
    borders.Color = Color();
    borders.ParentColor = Parent() ? Parent()->Color() : Color();
    borders.Transparent = m_transparent;
    DrawFramedBorders(canvas, rect, borders);

    if (!m_transparent && m_paintClientArea) {
        if (m_visualStyle == vsGradient) {
            TColor start = clNone;
            TColor stop = clNone;
            GradientColorPair(start, stop);
            if (!IsRectEmpty(&rect))
                DrawGradientRect(canvas, rect, m_gradientDirection, start, stop, 1);
        } else {
            canvas.Brush()->SetColor(Color());
            canvas.FillRect(rect);
        }
    }
    if (m_showGrid)
        DrawBackgroundGrid(rect);
    canvas.Brush()->SetStyle(bsClear);
    DrawCaptionText(rect);
    canvas.Brush()->SetStyle(bsSolid);
    if (m_onPaint)
        m_onPaint(this);
}

void TKvCustomPanel::DrawGridLines(TCanvas& canvas, const TRect& rect, bool dotted)
{
    const int columns = m_gridXSize == 0 ? 0 : (rect.right - rect.left) / m_gridXSize;
    const int rows = m_gridYSize == 0 ? 0 : (rect.bottom - rect.top) / m_gridYSize;
    const TColor color = m_gridColor;
    for (int i = 1; i <= columns; ++i) {
        const int x = rect.left + i * m_gridXSize - 1;
        if (dotted) {
            for (int y = rect.top + 1; y < rect.bottom; y += 2)
                canvas.SetPixels(x, y, color);
        } else {
            canvas.MoveTo(x, rect.top);
            canvas.LineTo(x, rect.bottom);
        }
    }
    for (int j = 1; j <= rows; ++j) {
        const int y = rect.top + j * m_gridYSize - 1;
        if (dotted) {
            for (int x = rect.left + 1; x < rect.right; x += 2)
                canvas.SetPixels(x, y, color);
        } else {
            canvas.MoveTo(rect.left, y);
            canvas.LineTo(rect.right, y);
        }
    }
}

void TKvCustomPanel::DrawBackgroundGrid(const TRect& rect)
{
    TCanvas& canvas = *Canvas();
    canvas.Pen()->SetColor(m_gridColor);
    if (m_gridStyle != gsDots) {
        DrawGridLines(canvas, rect, m_gridStyle == gsDottedLines);
        return;
    }
    if (m_gridXSize == 0 || m_gridYSize == 0)
        return;
    const int columns = (rect.right - rect.left) / m_gridXSize;
    const int rows = (rect.bottom - rect.top) / m_gridYSize;
    for (int i = 1; i <= columns; ++i)
        for (int j = 1; j <= rows; ++j)
            canvas.SetPixels(rect.left + i * m_gridXSize - 1, rect.top + j * m_gridYSize - 1, m_gridColor);
}

void TKvCustomPanel::DrawCaptionText(TRect rect)
{
    const std::string caption = Caption();
    if (caption.empty())
        return;
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    InflateRect(&rect, -m_textMargin, -m_textMarginVertical);
    UINT flags = DT_EXPANDTABS | DT_VCENTER | CaptionAlignment[Alignment()];
    if (m_wordWrap)
        flags |= DT_WORDBREAK;

    HDC dc = canvas.Handle();
    RECT measured = rect;
    const int height =
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, flags | DT_CALCRECT);
    switch (m_alignmentVertical) {
    case avTop:
        if (rect.top + height < rect.bottom)
            rect.bottom = rect.top + height;
        break;
    case avCenter:
        rect.top = (rect.bottom + rect.top - height) / 2;
        if (rect.top + height < rect.bottom)
            rect.bottom = rect.top + height;
        break;
    case avBottom:
        if (rect.top < rect.bottom - height - 1)
            rect.top = rect.bottom - height - 1;
        break;
    }
    canvas.Brush()->SetStyle(bsClear);
    if (!Enabled())
        canvas.Font()->SetColor(clGrayText);
    dc = canvas.Handle();
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(canvas.Font()->Color()));
    (void)DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, flags);
}

// ---- Messages -----------------------------------------------------------------------------------

void TKvCustomPanel::DefineProperties(TFiler& filer)
{
    TCustomPanel::DefineProperties(filer);
    // Older forms carry these; they are read and never written.
    filer.DefineProperty("FrameSides", [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
    filer.DefineProperty("ThemeAware", [](TReader& reader) { (void)reader.ReadBoolean(); }, nullptr, false);
    filer.DefineProperty(
        "UseGradients",
        [this](TReader& reader) {
            if (reader.ReadBoolean())
                SetVisualStyle(vsGradient);
        },
        nullptr, false);
}

void TKvCustomPanel::Notification(TComponent* component, TOperation operation)
{
    TCustomPanel::Notification(component, operation);
    // A child freed while the panel is disabled must not leave an entry behind that a new child
    // at the same address would be taken for.
    if (operation == opRemove)
        if (const int index = m_enabledStates.IndexOfObject(component); index >= 0)
            m_enabledStates.Delete(index);
    FrameControllerNotification(component, operation);
}

bool TKvCustomPanel::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TCustomPanel::GetInterface(iid, object);
}

void TKvCustomPanel::FramedBordersChanged(TKvFramedBorderChange change)
{
    // The frames' extent moves the client area the children are aligned in.
    if (change == TKvFramedBorderChange::Frames)
        Realign();
    Invalidate();
}

void TKvCustomPanel::Resized(const WINDOWPOS& position)
{
    const SIZE old = std::exchange(m_windowSize, SIZE{position.cx, position.cy});
    if (FullRepaint() || !Caption().empty()) {
        Invalidate();
        return;
    }
    // Only the frames along the old right and bottom edges move.
    TRect inside = Rect(0, 0, old.cx, old.cy);
    ShrinkRectByBorders(inside, true);
    const TPoint margins = EdgeRepaintMargins();
    if (position.cx != old.cx) {
        const RECT strip{inside.right - margins.x, 0, old.cx, old.cy};
        (void)InvalidateRect(Handle(), &strip, TRUE);
    }
    if (position.cy != old.cy) {
        const RECT strip{0, inside.bottom - margins.y, old.cx, old.cy};
        (void)InvalidateRect(Handle(), &strip, TRUE);
    }
}

void TKvCustomPanel::EnabledChanged()
{
    if (!Enabled()) {
        m_enabledStates.Clear();
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            (void)m_enabledStates.AddObject(child->Enabled() ? "1" : "0", child);
            child->FreeNotification(this);
        }
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->SetEnabled(false);
    } else {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            const int index = m_enabledStates.IndexOfObject(child);
            child->SetEnabled(index < 0 || m_enabledStates.Strings(index) == "1");
        }
    }
    Invalidate();
}

void TKvCustomPanel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
        Resized(*reinterpret_cast<const WINDOWPOS*>(message.LParam));
        TCustomControl::Dispatch(message);
        return;
    case WM_ERASEBKGND:
        if (m_transparent && m_paintClientArea) {
            PaintParentBackground(*this, reinterpret_cast<HDC>(message.WParam), true);
            message.Result = 1;
            return;
        }
        break;
    case WM_THEMECHANGED:
        TCustomPanel::Dispatch(message);
        XPColorScheme = CurrentXPColorScheme();
        return;
    case CM_MOUSEENTER:
        TCustomPanel::Dispatch(message);
        if (m_onMouseEnter)
            m_onMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TCustomPanel::Dispatch(message);
        if (m_onMouseLeave)
            m_onMouseLeave(this);
        return;
    case CM_ENABLEDCHANGED:
        TCustomPanel::Dispatch(message);
        EnabledChanged();
        return;
    default:
        break;
    }
    TCustomPanel::Dispatch(message);
}

// ---- The dock manager ---------------------------------------------------------------------------

TKvPanelDockManager::TKvPanelDockManager(TKvCustomPanel& panel)
    : TDockTree(panel), m_panel(panel),
      // Clicks on docked clients leave their caption bars to be repainted in the new focus colours;
      // a click released on a close glyph closes its client.
      m_captionRepaints(panel, [this, &panel](TMessage& message) {
          if (message.Msg == WM_COMMAND || message.Msg == WM_MOUSEACTIVATE)
              panel.Invalidate();
          if (message.Msg == WM_LBUTTONUP)
              CloseClientAt(TPoint{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
          return false;
      })
{
    m_captionFont.SetName("Verdana");
    m_captionFont.SetSize(8);
    m_closeFont.SetName("Marlett");
    m_closeFont.SetSize(8);
}

bool TKvPanelDockManager::GrabberAtSide() const { return SiteAlignedTopOrBottom(); }

void TKvPanelDockManager::AdjustDockRect(TControl* /*control*/, TRect& rect)
{
    if (GrabberAtSide())
        rect.left += GrabberSize;
    else
        rect.top += GrabberSize;
}

void TKvPanelDockManager::PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& rect)
{
    if (!m_panel.ShowDockClientCaptions()) {
        TDockTree::PaintDockFrame(canvas, control, rect);
        return;
    }
    canvas.Font()->Assign(&m_captionFont);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    const bool active = !windowed || windowed->Focused();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
    canvas.Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    if (GrabberAtSide())
        PaintGrabber(canvas, control, rect);
    else
        PaintCaptionBar(canvas, control, rect);
}

void TKvPanelDockManager::PaintCaptionBar(TCanvas& canvas, TControl* control, const TRect& rect)
{
    const TRect bar = Rect(rect.left, rect.top, rect.right, rect.top + GrabberSize);
    canvas.TextRect(bar, bar.left + 2, bar.top, control->Text());
    PaintCloseGlyph(canvas, CloseBox(rect));
}

void TKvPanelDockManager::PaintGrabber(TCanvas& canvas, TControl* control, const TRect& rect)
{
    const TRect strip = Rect(rect.left, rect.top, rect.left + GrabberSize, rect.bottom);
    const GdiObject<HFONT> turned(CreateRotatedFont(m_captionFont, 90));
    const HDC dc = canvas.Handle();
    const SelectionGuard font(dc, turned.Get());
    (void)SetTextColor(dc, ColorToRGB(clCaptionText));
    const UINT alignment = SetTextAlign(dc, TA_BASELINE);
    const std::string text = control->Text();
    (void)ExtTextOutA(dc, strip.right - 2, strip.bottom - 3, ETO_CLIPPED | ETO_OPAQUE, &strip, text.c_str(),
                      static_cast<UINT>(text.size()), nullptr);
    (void)SetTextAlign(dc, alignment);
    PaintCloseGlyph(canvas, CloseBox(rect));
}

void TKvPanelDockManager::PaintCloseGlyph(TCanvas& canvas, const TRect& box)
{
    canvas.Font()->Assign(&m_closeFont);
    canvas.TextRect(box, box.left, box.top, "r");
}

// The close box of a client's zone: at the right end of a caption bar, at the top of a grabber.
TRect TKvPanelDockManager::CloseBox(const TRect& zone) const
{
    if (GrabberAtSide())
        return Rect(zone.left + 1, zone.top + 1, zone.left + 12, zone.top + 12);
    return Rect(zone.right - 15, zone.top + 1, zone.right - 2, zone.top + 12);
}

// A client's zone is its own rectangle with the caption bar or grabber given back.
TRect TKvPanelDockManager::ZoneOf(const TControl& client) const
{
    TRect zone = client.BoundsRect();
    if (GrabberAtSide())
        zone.left -= GrabberSize;
    else
        zone.top -= GrabberSize;
    return zone;
}

void TKvPanelDockManager::CloseClientAt(TPoint point)
{
    if (!m_panel.ShowDockClientCaptions())
        return;
    for (TControl* client : Clients()) {
        const TRect box = CloseBox(ZoneOf(*client));
        if (client->Visible() && PtInRect(&box, point)) {
            Close(*client);
            return;
        }
    }
}

// A form is asked to close; any other client is hidden.
void TKvPanelDockManager::Close(TControl& client)
{
    if (auto* form = dynamic_cast<TCustomForm*>(&client))
        form->Close();
    else
        client.SetVisible(false);
}
