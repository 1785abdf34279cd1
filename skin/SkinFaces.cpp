#include "skin/SkinFaces.h"

#include "platform/classlib/forms/Controls.h"
#include "skin/SkinData.h"

void TSkinSizer::PaintSkin(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
}

bool TSkinTabSheet::BeforeMessage(TMessage& message)
{
    // Mode 1: the sheet's ParentBackground was switched off, and the sheet paints itself.
    if (m_mode == 1)
        return TSkinHook::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        (void)GetClientRect(m_handle, &client);
        FillFace(reinterpret_cast<HDC>(message.WParam), client);
        message.Result = 1;
        return false;
    }
    default:
        return TSkinHook::BeforeMessage(message);
    }
}

void TSkinTabSheet::PaintSkin(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
    if (auto* sheet = dynamic_cast<TWinControl*>(m_control))
        sheet->PaintControls(dc, nullptr);
}

bool TSkinBoxH::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT window{};
        (void)GetWindowRect(m_handle, &window);
        OffsetRect(&window, -window.left, -window.top);
        FillFace(reinterpret_cast<HDC>(message.WParam), window);
        message.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallOldProc(message);
        message.Result = reinterpret_cast<LRESULT>(m_data->Elements().ButtonFaceBrush());
        return false;
    default:
        return TSkinHook::BeforeMessage(message);
    }
}
