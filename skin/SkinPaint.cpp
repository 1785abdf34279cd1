#include "skin/SkinPaint.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "skin/SkinDraw.h"
#include "skin/SkinElements.h"

#include <algorithm>

void DrawSkinElement(HDC dc, const RECT& rect, int frameCount, int frame, TDataSkinObject& element)
{
    if (rect.right < rect.left || rect.bottom < rect.top || element.Image.Empty())
        return;
    const TSkinMargins margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    DrawElement(dc, rect, element.Image, false, element.Tile == 1, element.Trans == 1, frameCount, frame, margins);
}

void BlitStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& image)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || image.Empty())
        return;
    const RECT source = SkinFrameRect(image, false, frameCount, frame);
    TBitmap stretched;
    stretched.SetPixelFormat(pf24bit);
    stretched.SetSize(width, height);
    (void)StretchBlt(stretched.Canvas()->Handle(), 0, 0, width, height, image.Canvas()->Handle(), source.left,
                     source.top, source.right - source.left, source.bottom - source.top, SRCCOPY);
    DrawTransparent(dc, rect, stretched, SkinKeyColour);
}

std::string ReplaceFirst(std::string text, std::string_view pattern, std::string_view replacement)
{
    if (const auto at = text.find(pattern); !pattern.empty() && at != std::string::npos)
        text.replace(at, pattern.size(), replacement);
    return text;
}
