#include "skin/SkinContainers.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"

bool TSkinGroupBox::BeforeMessage(TMessage& message)
{
    if (!TSkinHook::BeforeMessage(message))
        return false;
    if (m_mode != 0 && message.Msg == WM_PAINT) {
        HandlePaint(message);
        return false;
    }
    return true;
}

void TSkinGroupBox::PaintSkin(HDC dc, const RECT& rect)
{
    std::string text = WindowText(m_handle);
    if (text.empty() && m_control)
        text = m_control->Caption();
    if (m_control)
        FillFace(dc, rect);
    auto font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0));
    if (m_control && m_control->Font()) {
        font = m_control->Font()->Handle();
        (void)SetTextColor(dc, ColorToRGB(m_control->Font()->Color()));
    }
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SIZE zero{};
    (void)GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int y = static_cast<int>(zero.cy) / 2 - 1;
    const TSkinColours& colours = m_data->Elements().Colours();
    if (m_mode == 0) {
        RECT cover{0, y, rect.right, rect.bottom};
        (void)FrameRect(dc, &cover, m_data->Elements().ButtonFaceBrush());
        InflateRect(&cover, -1, -1);
        (void)FrameRect(dc, &cover, m_data->Elements().ButtonFaceBrush());
    }
    const HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(colours.ButtonShadow));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    (void)RoundRect(dc, 1, y, rect.right - 1, rect.bottom - 1, 5, 5);
    (void)SelectObject(dc, oldBrush);
    (void)SelectObject(dc, oldPen);
    (void)DeleteObject(pen);
    const COLORREF oldBack = SetBkColor(dc, ColorToRGB(colours.ButtonFace));
    if (GetWindowLongA(m_handle, GWL_EXSTYLE) & WS_EX_RIGHT) {
        RECT place{rect.left, rect.top, rect.right - 8, rect.bottom};
        (void)DrawTextA(dc, text.c_str(), -1, &place, BiDiTextFlags(DT_RIGHT | DT_EXPANDTABS));
    } else {
        RECT place{rect.left + 8, rect.top, rect.right, rect.bottom};
        (void)DrawTextA(dc, text.c_str(), -1, &place, DT_EXPANDTABS);
    }
    (void)SetBkColor(dc, oldBack);
    if (oldFont)
        (void)SelectObject(dc, oldFont);
    if (auto* windowed = dynamic_cast<TWinControl*>(m_control); windowed && m_mode == 1)
        windowed->PaintControls(dc, nullptr);
}
