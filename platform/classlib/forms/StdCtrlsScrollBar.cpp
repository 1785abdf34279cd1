#include "platform/classlib/forms/StdCtrlsScrollBar.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/user/ScrollBarControl.h"

#include <algorithm>

namespace {

void DescribeScrollBar(TClassBuilder& c)
{
    c.Enum("Kind", ScrollBarKindTypeInfo(), &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
    c.Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100);
    c.Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0);
    c.Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0);
    c.Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0);
    c.Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1);
    c.Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1);
    c.Event("OnChange", &TScrollBar::OnChange, &TScrollBar::SetOnChange);
    c.Event("OnScroll", &TScrollBar::OnScroll, &TScrollBar::SetOnScroll);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TScrollBar, TWinControl, ComponentCreator<TScrollBar>, DescribeScrollBar)

const TTypeInfo& ScrollBarKindTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TScrollBarKind", {"sbHorizontal", "sbVertical"});
    return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    if (!IsLoading())
        SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated())
        RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min || max < m_pageSize)
        throw EInvalidOperation("Scrollbar property out of range");
    position = std::clamp(position, min, max);
    const bool moved = position != m_position;
    m_min = min;
    m_max = max;
    m_position = position;
    ApplyToWindow();
    if (moved)
        Change();
}

void TScrollBar::SetPageSize(int pageSize)
{
    if (pageSize == m_pageSize || pageSize < 0 || pageSize > m_max - m_min + 1)
        return;
    m_pageSize = pageSize;
    ApplyToWindow();
}

void TScrollBar::ApplyToWindow()
{
    if (!HandleAllocated())
        return;
    const SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, m_min, m_max,
                          static_cast<UINT>(m_pageSize), m_position, 0};
    (void)SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& params)
{
    RegisterScrollBarClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_SCROLLBARA);
    params.Style |= m_kind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyToWindow();
}

void TScrollBar::Dispatch(TMessage& message)
{
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        DoScroll(message);
        return;
    }
    TWinControl::Dispatch(message);
}

void TScrollBar::Change() { m_onChange(this); }

void TScrollBar::Scroll(TScrollCode code, int& position) { m_onScroll(this, code, position); }

// The thumb's position comes in 16 bits; a range reaching below zero reads it signed.
void TScrollBar::DoScroll(const TMessage& message)
{
    const auto code = static_cast<TScrollCode>(LOWORD(message.WParam));
    const int thumb = m_min < 0 ? static_cast<SHORT>(HIWORD(message.WParam)) : HIWORD(message.WParam);
    int position = m_position;
    switch (code) {
    case scLineUp: position -= m_smallChange; break;
    case scLineDown: position += m_smallChange; break;
    case scPageUp: position -= m_largeChange; break;
    case scPageDown: position += m_largeChange; break;
    case scPosition: case scTrack: position = thumb; break;
    case scTop: position = m_min; break;
    case scBottom: position = m_max; break;
    case scEndScroll: break;
    }
    position = std::clamp(position, m_min, m_max);
    if (Outlives([&] { Scroll(code, position); }))
        SetPosition(position);
}
