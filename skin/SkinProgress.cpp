#include "skin/SkinProgress.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/controls/ProgressBar.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinRoutines.h"

#include <algorithm>

namespace {

TSkinMargins MarginsOf(const TDataSkinObject& element)
{
    return TSkinMargins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

bool HasImage(const TDataSkinObject* element)
{
    return element && !element->Image.Empty();
}

} // namespace

int ProgressFillLength(int length, int position, int low, int high)
{
    if (high <= low || position <= low || length <= 0)
        return 0;
    return std::clamp(MulDiv(length, position - low, high - low), 0, length);
}

TDataSkinObject* TSkinProgress::Body() const
{
    TDataSkinObject* body = m_data ? m_data->Elements().Element("Progress") : nullptr;
    return HasImage(body) ? body : nullptr;
}

bool TSkinProgress::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (!Body())
            break;
        HandlePaint(message);
        message.Result = 0;
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        break;
    }
    return TSkinHook::BeforeMessage(message);
}

int TSkinProgress::FillLength(int length) const
{
    PBRANGE range{};
    (void)SendMessageA(m_handle, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    const auto position = static_cast<int>(SendMessageA(m_handle, PBM_GETPOS, 0, 0));
    return ProgressFillLength(length, position, range.iLow, range.iHigh);
}

void TSkinProgress::PaintSkin(HDC dc, const RECT& rect)
{
    TDataSkinObject* body = Body();
    if (!body || rect.right <= 0 || rect.bottom <= 0)
        return;
    const bool vertical = (GetWindowLongA(m_handle, GWL_STYLE) & PBS_VERTICAL) != 0;
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(vertical ? rect.bottom : rect.right, vertical ? rect.right : rect.bottom);
    const GdiObject<HBRUSH> face(CreateSolidBrush(ColorToRGB(m_data->Elements().Colours().ButtonFace)));
    const RECT whole{0, 0, work.Width(), work.Height()};
    (void)FillRect(work.Canvas()->Handle(), &whole, face.Get());
    if (body->Style == 1) {
        if (!DrawChunks(work, *body))
            return;
    } else {
        DrawBar(work, *body);
    }
    if (vertical)
        RotateLeft(work);
    (void)BitBlt(dc, rect.left, rect.top, rect.right, rect.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawBar(TBitmap& work, TDataSkinObject& body) const
{
    const HDC dc = work.Canvas()->Handle();
    const RECT whole{0, 0, work.Width(), work.Height()};
    DrawElement(dc, whole, body.Image, false, body.Tile == 1, true, body.Frame, 1, MarginsOf(body));
    if (const int filled = FillLength(whole.right); filled > 0)
        DrawElement(dc, RECT{0, 0, filled, whole.bottom}, body.Image, false, body.Tile == 1, true, body.Frame, 2,
                    MarginsOf(body));
}

bool TSkinProgress::DrawChunks(TBitmap& work, TDataSkinObject& body) const
{
    TDataSkinObject* chunk = m_data->Elements().Element("Progress.Chunk");
    if (!HasImage(chunk))
        return false;
    const HDC dc = work.Canvas()->Handle();
    const RECT whole{0, 0, work.Width(), work.Height()};
    DrawElement(dc, whole, body.Image, false, false, true, 1, 1, MarginsOf(body));
    const int filled = FillLength(whole.right);
    if (filled <= 0)
        return true;
    TBitmap& image = chunk->Image;
    const int chunkWidth = std::max(image.Width(), 1);
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    if (chunk->Tile == 1) {
        strip.SetSize(filled, image.Height());
        for (int x = 0; x <= filled; x += chunkWidth)
            (void)BitBlt(strip.Canvas()->Handle(), x, 0, chunkWidth, image.Height(), image.Canvas()->Handle(), 0, 0,
                         SRCCOPY);
        const int left = chunk->LeftWidth + 2;
        const int top = (whole.bottom - image.Height()) / 2;
        DrawTransparent(dc, RECT{left, top, left + strip.Width(), top + strip.Height()}, strip, SkinKeyColour);
        return true;
    }
    strip.SetSize(filled, std::max(whole.bottom - 4, 1));
    const RECT stripRect{0, 0, strip.Width(), strip.Height()};
    const GdiObject<HBRUSH> key(CreateSolidBrush(ColorToRGB(SkinKeyColour)));
    (void)FillRect(strip.Canvas()->Handle(), &stripRect, key.Get());
    DrawElementThreePart(strip.Canvas()->Handle(), stripRect, image, false, 1, 1, MarginsOf(*chunk));
    DrawTransparent(dc, RECT{2, 2, 2 + strip.Width(), 2 + strip.Height()}, strip, SkinKeyColour);
    return true;
}
