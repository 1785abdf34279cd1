#include "grid/tools/ToolCtrlsGx.h"

#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/ImageLists.h"

void DrawImageListImage(HDC dc, const RECT& rect, const TCustomImageList& images, int index, bool selected)
{
    const int width = images.Width();
    const int height = images.Height();
    const int x = rect.left + (rect.right - rect.left - width) / 2;
    const int y = rect.top + (rect.bottom - rect.top - height) / 2;
    UINT style = images.ImageType() == itMask ? ILD_MASK : ILD_NORMAL;
    if (selected)
        style |= ILD_BLEND50;
    const COLORREF background = ColorToImageListColor(images.BkColor());
    const COLORREF blend = ColorToImageListColor(selected ? clHighlight : images.BlendColor());
    const bool larger = width > rect.right - rect.left || height > rect.bottom - rect.top;
    const SavedDC saved(larger ? dc : nullptr);
    if (larger)
        (void)IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    (void)ImageList_DrawEx(images.Handle(), index, dc, x, y, width, height, background, blend, style);
}
