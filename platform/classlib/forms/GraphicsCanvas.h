#pragma once

#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <mutex>
#include <optional>
#include <span>
#include <string_view>

class TGraphic;

// Raster operations for CopyRect and Draw.
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

// Drawing on a device context with a pen, a brush and a font. The canvas selects them into the
// DC when it draws and again whenever one of them changes; Handle gives the DC with all three
// selected. A canvas over a borrowed DC (SetHandle) restores the DC's own objects when it lets go;
// canvases of bitmaps and controls make their DC on demand (CreateHandle) and raise
// EInvalidGraphicOperation "Canvas does not allow drawing" when they cannot.
//
// Lock/Unlock serialise drawing from several threads on one canvas.
class TCanvas : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TCanvas();
    ~TCanvas() override;

    // The DC with pen, brush and font selected, making one if this canvas can.
    [[nodiscard]] HDC Handle();
    // Borrows `dc` (null lets go of the current one).
    void SetHandle(HDC dc);
    [[nodiscard]] bool HandleAllocated() const { return m_handle != nullptr; }

    [[nodiscard]] TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* font) { m_font->Assign(font); }
    [[nodiscard]] TPen* Pen() const { return m_pen.get(); }
    void SetPen(TPen* pen) { m_pen->Assign(pen); }
    [[nodiscard]] TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TBrush* brush) { m_brush->Assign(brush); }
    [[nodiscard]] TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) { m_copyMode = mode; }

    [[nodiscard]] TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    [[nodiscard]] TPoint PenPos();
    void SetPenPos(TPoint position);
    // The clip box in logical coordinates.
    [[nodiscard]] TRect ClipRect();

    void MoveTo(int x, int y);
    // The end point itself is not drawn, as with LineTo.
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    // A dotted frame drawn by inverting: drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& rect);

    void TextOut(int x, int y, std::string_view text);
    // Text clipped to `rect`; the rectangle is filled first unless the brush is clear.
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    [[nodiscard]] SIZE TextExtent(std::string_view text);
    [[nodiscard]] int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    [[nodiscard]] int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Draws the graphic at its own size with its top-left corner at (x, y).
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies `source` of `canvas` to `dest` of this one with CopyMode, stretching as needed.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies `source` of `bitmap` to `dest`, painting the pixels of `color` with the brush.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    // Deselects pen, brush and font, so the next drawing selects them afresh.
    void Refresh();
    void Lock();
    void Unlock();
    [[nodiscard]] bool TryLock();
    [[nodiscard]] int LockCount() const { return m_lockCount; }

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnChanging() const { return m_onChanging; }
    void SetOnChanging(const TNotifyEvent& handler) { m_onChanging = handler; }

protected:
    // Called before and after every drawing operation.
    virtual void Changing();
    virtual void Changed();
    // Makes a DC when there is none (SetHandle); the base class cannot.
    virtual void CreateHandle() {}
    // The DC, with pen, brush and font selected; raises when there is none.
    HDC RequireDC();

private:
    enum TSelected : unsigned { PenSelected = 1, BrushSelected = 2, FontSelected = 4 };
    void SelectObjects();
    void Select(std::optional<SelectionGuard>& selection, HGDIOBJ object);
    void DeselectHandles();
    void PenChanged(TObject*);
    void BrushChanged(TObject*);
    void FontChanged(TObject*);

    HDC m_handle = nullptr;
    unsigned m_selected = 0;
    // What the DC held before the canvas selected its objects, put back when it lets go.
    std::optional<SelectionGuard> m_penSelection;
    std::optional<SelectionGuard> m_brushSelection;
    std::optional<SelectionGuard> m_fontSelection;
    std::unique_ptr<TFont> m_font;
    std::unique_ptr<TPen> m_pen;
    std::unique_ptr<TBrush> m_brush;
    TCopyMode m_copyMode = cmSrcCopy;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onChanging;
    std::recursive_mutex m_lock;
    int m_lockCount = 0;
};
