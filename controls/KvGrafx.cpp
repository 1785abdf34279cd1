#include "controls/KvGrafx.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <vector>

namespace {

// The controls whose parent is painting their background right now: the parent paints its
// graphic children too, and a child asking again from inside that paint would never end.
std::vector<const TControl*>& ControlsBeingBackfilled()
{
    thread_local std::vector<const TControl*> controls;
    return controls;
}

class BackfillMark {
public:
    explicit BackfillMark(const TControl& control) : m_control(&control)
    {
        ControlsBeingBackfilled().push_back(m_control);
    }
    ~BackfillMark() { std::erase(ControlsBeingBackfilled(), m_control); }
    BackfillMark(const BackfillMark&) = delete;
    BackfillMark& operator=(const BackfillMark&) = delete;

    [[nodiscard]] static bool Marked(const TControl& control)
    {
        return std::ranges::find(ControlsBeingBackfilled(), &control) != ControlsBeingBackfilled().end();
    }

private:
    const TControl* m_control;
};

} // namespace

void DrawMaskedBitmap(TCanvas& canvas, TBitmap& bitmap, const TRect& destRect, const TRect& sourceRect,
                      TColor transparentColor)
{
    const int width = destRect.right - destRect.left;
    const int height = destRect.bottom - destRect.top;
    const int sourceWidth = sourceRect.right - sourceRect.left;
    const int sourceHeight = sourceRect.bottom - sourceRect.top;

    TBitmap colour;
    colour.SetSize(width, height);
    const HDC colourDC = colour.Canvas()->Handle();
    (void)StretchBlt(colourDC, 0, 0, width, height, bitmap.Canvas()->Handle(), sourceRect.left, sourceRect.top,
                     sourceWidth, sourceHeight, SRCCOPY);

    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(width, height);
    (void)SetBkColor(colourDC, ColorToRGB(transparentColor));
    const HDC maskDC = mask.Canvas()->Handle();
    (void)BitBlt(maskDC, 0, 0, width, height, colourDC, 0, 0, SRCCOPY);

    (void)TransparentStretchBlt(canvas.Handle(), 0, 0, width, height, colourDC, 0, 0, sourceWidth, sourceHeight,
                                maskDC, 0, 0);
}

void FlipBitmapRows(TBitmap& bitmap)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    TBitmap flipped;
    flipped.SetSize(width, height);
    TCanvas& source = *bitmap.Canvas();
    TCanvas& target = *flipped.Canvas();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            target.SetPixels(x, height - 1 - y, source.Pixels(x, y));
    bitmap.Assign(&flipped);
}

void SizeToControl(TBitmap& buffer, const TControl& control)
{
    buffer.SetSize(std::min(control.Width(), MaxBitmapDimension), std::min(control.Height(), MaxBitmapDimension));
}

void PaintParentBackground(TControl& control, HDC dc, bool invalidateParent)
{
    TWinControl* parent = control.Parent();
    if (!parent || BackfillMark::Marked(control))
        return;
    {
        const BackfillMark mark(control);
        const SavedDC saved(dc);
        (void)OffsetViewportOrgEx(dc, -control.Left(), -control.Top(), nullptr);
        (void)IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
    if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}

void PaintParentBackgroundOnCanvas(TControl& control, TCanvas& canvas, bool invalidateParent)
{
    PaintParentBackground(control, canvas.Handle(), invalidateParent);
}
