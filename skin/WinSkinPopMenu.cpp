#include "skin/WinSkinPopMenu.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinManage.h"

namespace {

// Items are clipped to the window inset by the frame's width.
constexpr int MenuFrame = 3;

} // namespace

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Detach();
}

void TWinSkinPopMenu::Attach(HWND window, TSkinData& data, int tag)
{
    m_window = window;
    m_data = &data;
    m_tag = tag;
    m_menuBar = false;
    (void)SetWindowSubclass(window, &TWinSkinPopMenu::PopupProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void TWinSkinPopMenu::Detach()
{
    if (!m_window)
        return;
    (void)RemoveWindowSubclass(m_window, &TWinSkinPopMenu::PopupProc, 0);
    m_window = nullptr;
    m_background.SetSize(0, 0);
}

LRESULT TWinSkinPopMenu::PopupProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR skinner)
{
    return reinterpret_cast<TWinSkinPopMenu*>(skinner)->WndProc(msg, wParam, lParam);
}

LRESULT TWinSkinPopMenu::CallOld(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_window, msg, wParam, lParam);
}

HMENU TWinSkinPopMenu::Menu() const
{
    return m_window ? reinterpret_cast<HMENU>(SendMessageA(m_window, MN_GETHMENU, 0, 0)) : nullptr;
}

TBitmap& TWinSkinPopMenu::Background()
{
    RECT window{};
    if (m_window && GetWindowRect(m_window, &window) &&
        (m_background.Width() != window.right - window.left || m_background.Height() != window.bottom - window.top) &&
        !RenderBackground())
        m_background.SetSize(0, 0);
    return m_background;
}

bool TWinSkinPopMenu::RenderBackground()
{
    if (!m_data || m_data->Pending())
        return false;
    TDataSkinObject* element = m_data->Elements().Element("MenuBackground");
    if (!element || element->Image.Empty())
        return false;
    RECT window{};
    (void)GetWindowRect(m_window, &window);
    const RECT size{0, 0, window.right - window.left, window.bottom - window.top};
    if (size.right <= 0 || size.bottom <= 0)
        return false;
    const TSkinMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    const auto picture = BuildElementBitmap(size, element->Image, margins, false, element->Tile == 1,
                                            element->Frame, 1);
    m_background.SetPixelFormat(pf24bit);
    m_background.SetSize(size.right, size.bottom);
    (void)BitBlt(m_background.Canvas()->Handle(), 0, 0, size.right, size.bottom, picture->Canvas()->Handle(), 0, 0,
                 SRCCOPY);
    return true;
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SKIN_QUERYSKINNED)
        return 1;
    const TSkinManage* manager = SkinManager();
    if (!manager || !manager->On())
        return CallOld(msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY: {
        const HWND window = m_window;
        Detach();
        return DefSubclassProc(window, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
        if (!m_data || !m_data->Options().Contains(xoMenuBG))
            (void)CallOld(msg, wParam, lParam);
        return 1;
    case WM_NCPAINT: {
        if (!RenderBackground())
            return CallOld(msg, wParam, lParam);
        const HDC dc = GetWindowDC(m_window);
        (void)BitBlt(dc, 0, 0, m_background.Width(), m_background.Height(), m_background.Canvas()->Handle(), 0, 0,
                     SRCCOPY);
        (void)ReleaseDC(m_window, dc);
        return 0;
    }
    case WM_PRINT: {
        if (!RenderBackground())
            return CallOld(msg, wParam, lParam);
        const auto dc = reinterpret_cast<HDC>(wParam);
        (void)BitBlt(dc, 0, 0, m_background.Width(), m_background.Height(), m_background.Canvas()->Handle(), 0, 0,
                     SRCCOPY);
        const SavedDC saved(dc);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        (void)IntersectClipRect(dc, MenuFrame, MenuFrame, m_background.Width() - MenuFrame,
                                m_background.Height() - MenuFrame);
        // The frame is ours: the menu prints only its items.
        const LRESULT result = CallOld(msg, wParam, lParam & ~static_cast<LPARAM>(PRF_NONCLIENT));
        (void)SetBkMode(dc, oldMode);
        return result;
    }
    default:
        return CallOld(msg, wParam, lParam);
    }
}
