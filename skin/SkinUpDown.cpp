#include "skin/SkinUpDown.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/controls/UpDown.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRoutines.h"

namespace {

// An edit's spin buddy keeps this far inside the edit's window rectangle.
constexpr int BuddyInset = 3;

} // namespace

TUpDownHalfState UpDownHalfState(bool enabled, bool underCursor, int mouseState)
{
    if (!enabled)
        return udsDisabled;
    if (!underCursor)
        return udsNormal;
    if (mouseState & TSkinHook::MousePressed)
        return udsPressed;
    return (mouseState & TSkinHook::MouseHot) ? udsHot : udsNormal;
}

void DrawSkinUpDownHalf(HDC dc, const RECT& half, TSkinData& data, bool horizontal, int direction,
                        TUpDownHalfState state)
{
    TDataSkinBorder* element = data.Elements().BorderElement(horizontal ? "UpDown.Horz" : "UpDown.Vert");
    if (element && !element->Image.Empty()) {
        const int frame = 4 * direction + state;
        DrawElementFrame(dc, half, element->Image, true, element->Frame, frame);
        if (!element->Glyph.Empty())
            DrawElementFrameCentred(dc, half, element->Glyph, true, element->Frame, frame);
        return;
    }
    const TSkinColours& colours = data.Elements().Colours();
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(colours.ButtonDkShadow)));
    const bool down = state == udsPressed || state == udsHot;
    const GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(down ? colours.ButtonShadow : colours.ButtonFace)));
    const SelectionGuard penSelected(dc, pen.Get());
    const SelectionGuard brushSelected(dc, brush.Get());
    (void)Rectangle(dc, half.left, half.top, half.right, half.bottom);
    // The arrow: centred across; left and right arrows centred, up and down 2 pixels higher.
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Pen()->SetColor(colours.ButtonText);
    const int x = (half.left + half.right) / 2;
    const int y = (half.top + half.bottom) / 2;
    const int kind = horizontal ? 2 + direction : direction;
    DrawArrowGlyph(canvas, x, horizontal ? y : y - 2, kind);
    canvas.SetHandle(nullptr);
}

bool TSkinUpDown::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        if (!m_control) {
            RECT client{};
            (void)GetClientRect(m_handle, &client);
            FillRectColor(reinterpret_cast<HDC>(message.WParam), client, clWhite);
        }
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldProc(message);
        m_mouseState |= MousePressed;
        DrawWindow(nullptr);
        return false;
    case WM_LBUTTONUP:
        m_mouseState &= ~MousePressed;
        CallOldProc(message);
        DrawWindow(nullptr);
        return false;
    default:
        return TSkinHook::BeforeMessage(message);
    }
}

void TSkinUpDown::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        // Hover shows on the half under the cursor, so moving between halves repaints too.
        if (const int half = HalfUnderCursor(); !(m_mouseState & MouseHot) || half != m_hotHalf) {
            m_mouseState |= MouseHot;
            m_hotHalf = half;
            DrawWindow(nullptr);
        }
        TrackMouseLeave(m_handle);
        break;
    case WM_MOUSELEAVE:
        m_mouseState &= ~MouseHot;
        m_hotHalf = -1;
        DrawWindow(nullptr);
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

bool TSkinUpDown::Horizontal() const
{
    return m_horizontal || (GetWindowLongA(m_handle, GWL_STYLE) & UDS_HORZ) != 0;
}

int TSkinUpDown::HalfUnderCursor() const
{
    POINT cursor{};
    RECT client{};
    if (!GetCursorPos(&cursor) || !ScreenToClient(m_handle, &cursor) || !GetClientRect(m_handle, &client) ||
        !PtInRect(&client, cursor))
        return -1;
    if (Horizontal())
        return cursor.x < client.right / 2 ? 0 : 1;
    return cursor.y < client.bottom / 2 ? 0 : 1;
}

void TSkinUpDown::PaintSkin(HDC dc, const RECT& rect)
{
    RECT area = rect;
    if (m_editBuddy) {
        RECT client{};
        (void)GetClientRect(m_handle, &client);
        FillRectColor(dc, client, clWhite);
        RECT own{};
        RECT parent{};
        (void)GetWindowRect(m_handle, &own);
        (void)GetWindowRect(GetParent(m_handle), &parent);
        if (own.top - parent.top < BuddyInset)
            area.top += BuddyInset - (own.top - parent.top);
        if (parent.bottom - own.bottom < BuddyInset)
            area.bottom -= BuddyInset - (parent.bottom - own.bottom);
        if (parent.right - own.right < BuddyInset)
            area.right -= BuddyInset - (parent.right - own.right);
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(width, height);
    const HDC work = buffer.Canvas()->Handle();
    FillRectColor(work, RECT{0, 0, width, height}, m_data->Elements().Colours().ButtonFace);
    ReadWindowState();
    const int underCursor = HalfUnderCursor();
    const bool horizontal = Horizontal();
    const RECT first = horizontal ? RECT{0, 0, width / 2, height} : RECT{0, 0, width, height / 2};
    const RECT second = horizontal ? RECT{width / 2, 0, width, height} : RECT{0, height / 2, width, height};
    DrawSkinUpDownHalf(work, first, *m_data, horizontal, 0,
                       UpDownHalfState(m_enabled, underCursor == 0, m_mouseState));
    DrawSkinUpDownHalf(work, second, *m_data, horizontal, 1,
                       UpDownHalfState(m_enabled, underCursor == 1, m_mouseState));
    (void)BitBlt(dc, area.left, area.top, width, height, work, 0, 0, SRCCOPY);
}
