#pragma once

#include "platform/winapi/gdi/WinGdi.h"
#include "platform/winapi/user/WinUser.h"

#include <string>
#include <string_view>

class TBitmap;
class TDataSkinObject;

// Drawing routines the control skinners share.

// Frame `frame` of `frameCount` of the element, built in nine parts at the rectangle's size;
// magenta is left out when the element is transparent (Trans 1). Nothing for an inverted
// rectangle. Frame counts below 1 count as 1 and the frame is kept within the count.
void DrawSkinElement(HDC dc, const RECT& rect, int frameCount, int frame, TDataSkinObject& element);
// Frame `frame` of `frameCount` of a picture without margins, stretched into the rectangle with
// magenta left out. Nothing for an inverted rectangle or an empty picture.
void BlitStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& image);
// `text` with its first occurrence of `pattern` replaced.
[[nodiscard]] std::string ReplaceFirst(std::string text, std::string_view pattern, std::string_view replacement);
