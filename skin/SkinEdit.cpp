#include "skin/SkinEdit.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinUpDown.h"
#include "skin/WinSkinForm.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSpinClass(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "msctls_updown32" || name.find("spin") != std::string::npos ||
           name.find("updown") != std::string::npos;
}

void FrameColour(HDC dc, const RECT& rect, TColor colour)
{
    const GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(colour)));
    (void)FrameRect(dc, &rect, brush.Get());
}

// Whether a window of this size and client size has a border to draw on: `slack` more pixels of
// client in either direction than there are means none.
bool HasBorder(HWND window, const RECT& rect, int slack)
{
    RECT client{};
    (void)GetClientRect(window, &client);
    return client.right + slack < rect.right && client.bottom + slack < rect.bottom;
}

// A control that frames itself in a style of its own (it publishes FrameVisible, and it is on)
// keeps that frame: the skin stands in only for the system's sunken edge.
bool FramesItself(const TControl* control)
{
    return control && IsPublishedProp(*control, "FrameVisible") && GetOrdProp(*control, "FrameVisible") != 0;
}

} // namespace

TSkinEdit::TSkinEdit() = default;
TSkinEdit::~TSkinEdit() = default;

void TSkinEdit::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PRINT:
        PrintFrame(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_SKIN_PAINTFRAMEQUERY:
        if (message.LParam != SkinQueryKey) {
            TSkinHook::AfterMessage(message);
            break;
        }
        if (message.WParam) {
            TMessage paint{WM_PAINT, message.WParam, 0, 0};
            CallOldProc(paint);
        }
        message.Result = SkinQueryKey;
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

void TSkinEdit::PaintSkin(HDC dc, const RECT& rect)
{
    if (m_data->SkinControls().Contains(xcSpin) && !m_upDown)
        FindSpinBuddy();
    if (!HasBorder(m_handle, rect, 0) || FramesItself(m_control))
        return;
    const TSkinColours& colours = m_data->Elements().Colours();
    FrameColour(dc, rect, colours.ButtonShadow);
    for (int inset = 1; inset <= 2; ++inset) {
        RECT inner = rect;
        InflateRect(&inner, -inset, -inset);
        FrameColour(dc, inner, clWhite);
    }
}

void TSkinEdit::FindSpinBuddy()
{
    for (HWND child = GetTopWindow(m_handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsSpinClass(GetWindowClassName(child)))
            continue;
        auto upDown = std::make_unique<TSkinUpDown>();
        upDown->AttachWindow(*m_form, child);
        upDown->SetEditBuddy(true);
        m_upDown = std::move(upDown);
        return;
    }
}

void TSkinEdit::PrintFrame(HDC dc)
{
    const HDC target = dc ? dc : GetWindowDC(m_handle);
    RECT rect{};
    (void)GetWindowRect(m_handle, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    if (HasBorder(m_handle, rect, 2) && !FramesItself(m_control)) {
        RECT inner = rect;
        InflateRect(&inner, -1, -1);
        (void)FrameRect(target, &inner, static_cast<HBRUSH>(GetCurrentObject(target, OBJ_BRUSH)));
        FrameColour(target, rect, m_data->Elements().Colours().ButtonShadow);
    }
    if (!dc)
        (void)ReleaseDC(m_handle, target);
}
