#include "platform/classlib/forms/StdCtrlsLabel.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

namespace {

void DescribeLabel(TClassBuilder& c)
{
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Default(taLeftJustify);
    c.Enum("Layout", TextLayoutTypeInfo(), &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
    c.Boolean("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
    c.Boolean("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    c.Boolean("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
    c.Boolean("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
    c.Object("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
}

constexpr UINT ALIGNMENT_FLAGS[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomLabel, TGraphicControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TLabel, TCustomLabel, ComponentCreator<TLabel>, DescribeLabel)

const TTypeInfo& ControlAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

const TTypeInfo& TextLayoutTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
    return info;
}

void RegisterLabelClasses() { RegisterClass(TLabel::StaticClass()); }

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
    SetBounds(0, 0, 65, 17);
}

TCustomLabel::~TCustomLabel() = default;

void TCustomLabel::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool transparent)
{
    if (transparent == Transparent())
        return;
    TControlStyle style = ControlStyle();
    if (transparent)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool showAccelChar)
{
    if (showAccelChar == m_showAccelChar)
        return;
    m_showAccelChar = showAccelChar;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control)
{
    if (m_focusControl)
        m_focusControl->RemoveFreeNotification(this);
    m_focusControl = control;
    if (m_focusControl)
        m_focusControl->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == m_focusControl)
        m_focusControl = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TCustomLabel::DrawFlags() const
{
    return DT_EXPANDTABS | (m_wordWrap ? DT_WORDBREAK : 0) | ALIGNMENT_FLAGS[m_alignment];
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags)
{
    std::string text = GetLabelText();
    // An empty caption (or a lone '&') still measures one line high.
    if ((flags & DT_CALCRECT) != 0 && (text.empty() || (m_showAccelChar && text == "&")))
        text += ' ';
    if (!m_showAccelChar)
        flags |= DT_NOPREFIX;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const HDC dc = canvas->Handle();
    (void)SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(text.size());
    if (Enabled() || (flags & DT_CALCRECT) != 0) {
        (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
        (void)DrawTextA(dc, text.c_str(), length, &rect, flags);
        return;
    }
    OffsetRect(&rect, 1, 1);
    (void)SetTextColor(dc, ColorToRGB(clBtnHighlight));
    (void)DrawTextA(dc, text.c_str(), length, &rect, flags);
    OffsetRect(&rect, -1, -1);
    (void)SetTextColor(dc, ColorToRGB(clBtnShadow));
    (void)DrawTextA(dc, text.c_str(), length, &rect, flags);
}

void TCustomLabel::Paint()
{
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    const UINT flags = DrawFlags();
    if (m_layout != tlTop) {
        TRect measured = rect;
        DoDrawText(measured, flags | DT_CALCRECT);
        const int spare = Height() - measured.bottom;
        OffsetRect(&rect, 0, m_layout == tlBottom ? spare : spare / 2);
    }
    DoDrawText(rect, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (IsLoading() || !m_autoSize)
        return;
    // Measured on a screen DC: the label may have no parent window yet.
    TCanvas* canvas = Canvas();
    if (auto* own = dynamic_cast<TControlCanvas*>(canvas))
        own->FreeHandle();
    const HDC screen = GetDC(nullptr);
    canvas->SetHandle(screen);
    TRect rect = ClientRect();
    DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0));
    canvas->SetHandle(nullptr);
    (void)ReleaseDC(nullptr, screen);
    const int left = m_alignment == taRightJustify ? Left() + Width() - rect.right : Left();
    SetBounds(left, Top(), rect.right, rect.bottom);
}

void TCustomLabel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        if (m_focusControl && Enabled() && m_showAccelChar && IsAccel(MessageKey(message), Caption()) &&
            m_focusControl->CanFocus()) {
            m_focusControl->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}
