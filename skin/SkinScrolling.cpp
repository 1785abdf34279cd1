#include "skin/SkinScrolling.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/rtl/Strings.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProps.h"
#include "skin/WinSkinForm.h"

#include <string>

namespace {

void RefreshShown(TWScrollbar* bar)
{
    if (bar && bar->Shown())
        bar->Refresh();
}

} // namespace

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::ControlAttached()
{
    auto& control = dynamic_cast<TWinControl&>(*m_control);
    // A control without the property (a list box, a grid) has a border to replace when its window
    // has a sunken client edge.
    const std::string borderStyle = LowerCase(GetEnumPropByName(&control, "BorderStyle"));
    const bool clientEdge = (GetWindowLongA(m_handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    m_ownBorder = !m_singleBar && control.ClassName() != "TImageScrollBox" &&
                  (borderStyle.empty() ? clientEdge : borderStyle != "bsnone");
    TakeFixedColour();
    m_horizontal = std::make_unique<TWScrollbar>(*m_data);
    m_vertical = std::make_unique<TWScrollbar>(*m_data);
    m_horizontal->AttachControl(control, TWScrollbar::WindowHorizontal);
    m_vertical->AttachControl(control, TWScrollbar::WindowVertical);
    for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()}) {
        bar->SetEnabled(control.Enabled());
        if (!control.Visible())
            bar->HideBar();
    }
}

void TSkinScrollbar::AttachWindow(TWinSkinForm& form, HWND window)
{
    TSkinHook::AttachWindow(form, window);
    if (State() != Attached || m_horizontal)
        return;
    m_horizontal = std::make_unique<TWScrollbar>(*m_data);
    m_vertical = std::make_unique<TWScrollbar>(*m_data);
    m_horizontal->AttachWindow(window, TWScrollbar::WindowHorizontal);
    m_vertical->AttachWindow(window, TWScrollbar::WindowVertical);
    // A bare window (a simple combo's list) has a border to replace when it has a sunken edge.
    m_ownBorder = !m_singleBar && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

void TSkinScrollbar::TakeFixedColour()
{
    if (!m_control || !IsPublishedProp(*m_control, "FixedColor") || !PropIsType(*m_control, "FixedColor", tkInteger))
        return;
    // The colour before the first skin is kept: a new skin must not make the last skin's face
    // the colour given back.
    if (!m_fixedColourSaved) {
        m_fixedColour = static_cast<TColor>(GetOrdPropByName(m_control, "FixedColor"));
        m_fixedColourSaved = true;
    }
    SetPropByName(m_control, "FixedColor", std::to_string(m_data->Elements().Colours().ButtonFace));
}

void TSkinScrollbar::Detach()
{
    if (m_fixedColourSaved && m_control) {
        SetPropByName(m_control, "FixedColor", std::to_string(m_fixedColour));
        m_fixedColourSaved = false;
    }
    TSkinHook::Detach();
    m_horizontal.reset();
    m_vertical.reset();
}

void TSkinScrollbar::SkinChanged()
{
    TakeFixedColour();
    TSkinHook::SkinChanged();
    Reposition();
}

void TSkinScrollbar::Reposition()
{
    for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
        if (bar)
            bar->Place();
}

void TSkinScrollbar::HideBars()
{
    for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
        if (bar)
            bar->HideBar();
}

void TSkinScrollbar::ShowScrollPart(const TMessage& message)
{
    TWScrollbar* bar = message.Msg == WM_HSCROLL ? m_horizontal.get() : m_vertical.get();
    if (!bar)
        return;
    bar->SetHotPart(LOWORD(message.WParam));
    bar->Refresh();
}

void TSkinScrollbar::PaintBorder(HDC dc)
{
    RECT rect{};
    if (!dc || !GetWindowRect(m_handle, &rect))
        return;
    OffsetRect(&rect, -rect.left, -rect.top);
    FrameSkinBorder(dc, rect, m_data->Elements().Colours().ButtonShadow, m_data->Elements().Colours().ButtonFace);
}

bool TSkinScrollbar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT:
        if (!m_ownBorder)
            break;
        CallOldProc(message);
        if (const HDC dc = GetWindowDC(m_handle)) {
            PaintBorder(dc);
            (void)ReleaseDC(m_handle, dc);
        }
        return false;
    default:
        break;
    }
    return TSkinHook::BeforeMessage(message);
}

void TSkinScrollbar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        Reposition();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ShowScrollPart(message);
        break;
    case WM_MOUSEWHEEL:
        RefreshShown(m_horizontal.get());
        RefreshShown(m_vertical.get());
        break;
    case CM_VISIBLECHANGED:
        if (message.WParam)
            Reposition();
        else
            HideBars();
        break;
    case CM_ENABLEDCHANGED:
        for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
            if (bar && m_control)
                bar->SetEnabled(m_control->Enabled());
        TSkinHook::AfterMessage(message);
        break;
    case WM_SKIN_PAINTFRAMEQUERY:
        if (message.LParam != SkinQueryKey)
            break;
        if (m_ownBorder)
            PaintBorder(reinterpret_cast<HDC>(message.WParam));
        message.Result = SkinQueryKey;
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

void TSkinScrollbar::FillCorner(HDC dc)
{
    if (!m_horizontal || !m_vertical || !m_horizontal->Shown() || !m_vertical->Shown())
        return;
    const RECT vertical = m_vertical->BarRect();
    const RECT horizontal = m_horizontal->BarRect();
    RECT corner{vertical.left, horizontal.top, vertical.right, horizontal.bottom};
    // Client coordinates to the window DC's.
    RECT window{};
    POINT client{0, 0};
    (void)GetWindowRect(m_handle, &window);
    (void)ClientToScreen(m_handle, &client);
    OffsetRect(&corner, client.x - window.left, client.y - window.top);
    FillFace(dc, corner);
}

void TSkinScrollbar::PaintSkin(HDC dc, const RECT& /*rect*/)
{
    const LONG style = GetWindowLongA(m_handle, GWL_STYLE);
    for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()}) {
        if (!bar)
            continue;
        if (bar->Shown())
            bar->Refresh();
        else if (style & (bar->Vertical() ? WS_VSCROLL : WS_HSCROLL))
            bar->Place();
    }
    FillCorner(dc);
}

void TSkinScrollbarH::AfterMessage(TMessage& message)
{
    if (!IsWindowVisible(m_handle))
        HideBars();
    switch (message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        Reposition();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ShowScrollPart(message);
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::ControlAttached()
{
    auto& control = dynamic_cast<TWinControl&>(*m_control);
    m_bar = std::make_unique<TWScrollbar>(*m_data);
    m_bar->SetShowHint(control.ShowHint());
    m_bar->SetHint(control.Hint());
    m_bar->AttachControl(control, TWScrollbar::ScrollControl);
    if (!control.Visible())
        m_bar->HideBar();
}

void TSkinScControl::Detach()
{
    TSkinHook::Detach();
    m_bar.reset();
}

void TSkinScControl::TargetLost()
{
    if (m_bar)
        m_bar->HideBar();
}

void TSkinScControl::AfterMessage(TMessage& message)
{
    if (!m_bar) {
        TSkinHook::AfterMessage(message);
        return;
    }
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        m_bar->Place();
        break;
    case SBM_SETSCROLLINFO:
    case CN_HSCROLL:
    case CN_VSCROLL:
        m_bar->Refresh();
        break;
    case CM_VISIBLECHANGED:
        if (message.WParam)
            m_bar->Place();
        else
            m_bar->HideBar();
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

void TSkinScControl::PaintSkin(HDC /*dc*/, const RECT& /*rect*/)
{
    if (m_bar)
        m_bar->Refresh();
}
