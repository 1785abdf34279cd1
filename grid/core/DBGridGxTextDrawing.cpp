#include "grid/core/DBGridGxTextDrawing.h"

#include "grid/core/DBGridGxRoutines.h"
#include "grid/core/GridLibGx.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Draw-text formats by alignment (left, right, centre): tabs expanded, '&' shown as it is.
constexpr UINT HorizontalFormats[] = {DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX, DT_RIGHT | DT_EXPANDTABS | DT_NOPREFIX,
                                      DT_CENTER | DT_EXPANDTABS | DT_NOPREFIX};
constexpr UINT VerticalFormats[] = {HorizontalFormats[0] | DT_WORDBREAK, HorizontalFormats[1] | DT_WORDBREAK,
                                    HorizontalFormats[2] | DT_WORDBREAK};
constexpr char Ellipsis[] = "...";

struct TSharedBitmap {
    std::unique_ptr<TBitmap> Bitmap;
    int Users = 0;
};

TSharedBitmap& Shared()
{
    static TSharedBitmap shared;
    return shared;
}

// A combining mark belongs to the character before it: cutting between them would strip an
// accent off its letter.
[[nodiscard]] bool IsCombiningMark(char32_t code)
{
    return (code >= 0x0300 && code <= 0x036F) || (code >= 0x1AB0 && code <= 0x1AFF) ||
           (code >= 0x1DC0 && code <= 0x1DFF) || (code >= 0x20D0 && code <= 0x20FF) ||
           (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xFE20 && code <= 0xFE2F);
}

// The code point of the well-formed sequence at `pos`, or 0 where the bytes are no UTF-8.
[[nodiscard]] char32_t CodePointAt(const std::string& text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || pos + length > text.size())
        return lead < 0x80 ? lead : 0;
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsUtf8Continuation(static_cast<char>(byte)))
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    return code;
}

// Byte offsets where the characters of `text` start, plus the end: the places it may be cut.
[[nodiscard]] std::vector<std::size_t> CharacterStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (IsUtf8Continuation(text[pos]))
            continue;
        if (!starts.empty() && IsCombiningMark(CodePointAt(text, pos)))
            continue;
        starts.push_back(pos);
    }
    starts.push_back(text.size());
    return starts;
}

class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas& canvas) : m_canvas(canvas) { m_canvas.Lock(); }
    ~TCanvasLock() { m_canvas.Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas& m_canvas;
};

class TBrushStyleRestore {
public:
    explicit TBrushStyleRestore(TCanvas& canvas) : m_canvas(canvas), m_style(canvas.Brush()->Style()) {}
    ~TBrushStyleRestore()
    {
        if (m_canvas.Brush()->Style() != m_style)
            m_canvas.Brush()->SetStyle(m_style);
    }
    TBrushStyleRestore(const TBrushStyleRestore&) = delete;
    TBrushStyleRestore& operator=(const TBrushStyleRestore&) = delete;

private:
    TCanvas& m_canvas;
    TBrushStyle m_style;
};

class TFontRestore {
public:
    explicit TFontRestore(TCanvas& canvas) : m_canvas(canvas) { m_saved.Assign(canvas.Font()); }
    ~TFontRestore() { m_canvas.Font()->Assign(&m_saved); }
    TFontRestore(const TFontRestore&) = delete;
    TFontRestore& operator=(const TFontRestore&) = delete;

private:
    TCanvas& m_canvas;
    TFont m_saved;
};

[[nodiscard]] int RectWidth(const TRect& rect) { return rect.right - rect.left; }
[[nodiscard]] int RectHeight(const TRect& rect) { return rect.bottom - rect.top; }
[[nodiscard]] bool IsEmptyCell(const TRect& rect) { return RectWidth(rect) <= 0 || RectHeight(rect) <= 0; }

// The device shows the brush colour only approximately (it would dither it).
[[nodiscard]] bool BrushIsDithered(TCanvas& canvas)
{
    const COLORREF colour = ColorToRGB(canvas.Brush()->Color());
    return GetNearestColor(canvas.Handle(), colour) != colour;
}

// Paints a cell through the shared bitmap: a solid fill in the target's brush, then `draw` on the
// bitmap's canvas (font and colours as the target's, transparent background) in the cell's size,
// then a copy to the cell. Works without a grid holding the bitmap too.
template <class Draw>
void DrawOffScreen(TCanvas& target, const TRect& rect, Draw draw)
{
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    if (width <= 0 || height <= 0)
        return;
    const TDrawBitmapHoldGx hold;
    TBitmap& bitmap = *SharedDrawBitmap();
    TCanvas& canvas = *bitmap.Canvas();
    const TCanvasLock lock(canvas);
    if (bitmap.Width() < width || bitmap.Height() < height)
        bitmap.SetSize(std::max(bitmap.Width(), width), std::max(bitmap.Height(), height));
    canvas.Font()->Assign(target.Font());
    canvas.Brush()->Assign(target.Brush());
    canvas.Brush()->SetStyle(bsSolid);
    const TRect cell{0, 0, width, height};
    canvas.FillRect(cell);
    (void)SetBkMode(canvas.Handle(), TRANSPARENT);
    draw(canvas, cell);
    (void)BitBlt(target.Handle(), rect.left, rect.top, width, height, canvas.Handle(), 0, 0, SRCCOPY);
}

// Word-wrapping and ellipsis drawing through DrawTextEx, margins inside the cell.
void DrawTextInCell(TCanvas& canvas, const TRect& rect, int dx, int dy, const std::string& text, TAlignment alignment,
                    TTextLayout layout, bool multiLine, bool endEllipsis, int leftMargin, int rightMargin,
                    bool rightToLeft)
{
    UINT format = HorizontalFormats[alignment] | (rightToLeft ? DT_RTLREADING : 0u);
    if (multiLine)
        format |= DT_WORDBREAK;
    if (endEllipsis)
        format |= DT_END_ELLIPSIS;
    DRAWTEXTPARAMS params{};
    params.iLeftMargin = leftMargin;
    params.iRightMargin = rightMargin;
    const int length = static_cast<int>(text.size());
    params.uiLengthDrawn = static_cast<UINT>(length);
    const HDC dc = canvas.Handle();
    TRect box = rect;
    (void)InflateRect(&box, -dx, -dy);
    if (layout != tlTop) {
        TRect measured = box;
        (void)DrawStringTextEx(dc, text, length, measured, format | DT_CALCRECT, params);
        const int textHeight = RectHeight(measured);
        box.top = layout == tlCenter ? box.top + RectHeight(box) / 2 - textHeight / 2 : box.bottom - textHeight;
    }
    if (dx > 0)
        ++box.bottom;
    (void)DrawStringTextEx(dc, text, length, box, format, params);
}

// The width the single-line text takes: bold and italic glyphs overhang their advance, which
// matters when the text is pushed against the right edge or centred.
[[nodiscard]] int SingleLineWidth(TCanvas& canvas, const std::string& text, TAlignment alignment)
{
    const TFontStyles style = canvas.Font()->Style();
    if (alignment != taLeftJustify && (style.Contains(fsBold) || style.Contains(fsItalic)))
        return MeasureTextWidth(canvas, text);
    return canvas.TextWidth(text);
}

void DrawSingleLine(TCanvas& canvas, const TRect& rect, bool fill, int dx, int dy, std::string text,
                    TAlignment alignment, TTextLayout layout, bool endEllipsis)
{
    if (endEllipsis)
        text = ShortenWithEllipsis(text, canvas, RectWidth(rect) - dx);
    const int width = SingleLineWidth(canvas, text, alignment);
    int x = rect.left + dx;
    if (alignment == taRightJustify)
        x = rect.right - width - 3;
    else if (alignment == taCenter)
        x = rect.left < rect.right ? rect.left + RectWidth(rect) / 2 - width / 2 : 0;
    int y = rect.top + dy;
    const int height = canvas.TextHeight(text);
    if (layout != tlTop && height < RectHeight(rect) - dy)
        y = layout == tlCenter ? (rect.top + rect.bottom - height) / 2 : rect.bottom - height;
    const TBrushStyleRestore restore(canvas);
    if (!fill)
        canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(rect, x, y, text);
}

// The slant of an italic TrueType font, which reaches past the advance of the last character;
// otherwise the font's own overhang.
[[nodiscard]] int TextOverhang(HDC dc)
{
    TEXTMETRICA metrics{};
    if (!GetTextMetrics(dc, &metrics))
        return 0;
    if (!(metrics.tmPitchAndFamily & TMPF_TRUETYPE) || !metrics.tmItalic)
        return metrics.tmOverhang;
    OUTLINETEXTMETRICA outline{};
    if (!QueryOutlineTextMetrics(dc, sizeof outline, &outline) || outline.otmsCharSlopeRise == 0)
        return metrics.tmOverhang;
    return (metrics.tmHeight - metrics.tmInternalLeading) * outline.otmsCharSlopeRun / outline.otmsCharSlopeRise;
}

} // namespace

void AcquireDrawBitmap()
{
    TSharedBitmap& shared = Shared();
    if (shared.Users++ == 0)
        shared.Bitmap = std::make_unique<TBitmap>();
}

void ReleaseDrawBitmap()
{
    TSharedBitmap& shared = Shared();
    if (shared.Users == 0)
        return;
    if (--shared.Users == 0)
        shared.Bitmap.reset();
}

TBitmap* SharedDrawBitmap() { return Shared().Bitmap.get(); }

std::string ShortenWithEllipsis(const std::string& text, TCanvas& canvas, int maxWidth)
{
    if (text.empty() || canvas.TextWidth(text) <= maxWidth)
        return text;
    // Keep the longest prefix of at most all but two characters that fits with the ellipsis.
    // Widths grow with the prefix, so the longest one is found by halving.
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const int characters = static_cast<int>(starts.size()) - 1;
    const auto shortened = [&](int keep) { return text.substr(0, starts[keep]) + Ellipsis; };
    int fitting = 0;
    int low = 1;
    int high = std::max(0, characters - 2);
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (canvas.TextWidth(shortened(middle)) <= maxWidth) {
            fitting = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return shortened(fitting);
}

void DrawCellText(TCanvas& canvas, const TRect& rect, bool fill, int dx, int dy, const std::string& text,
                  TAlignment alignment, TTextLayout layout, bool multiLine, bool endEllipsis, int leftMargin,
                  int rightMargin, bool rightToLeft)
{
    // A cell without area shows nothing: word-wrapped text would otherwise spill over its
    // neighbours, as the draw-text rectangle of an empty cell clips nothing.
    if (IsEmptyCell(rect))
        return;
    if (BrushIsDithered(canvas)) {
        DrawOffScreen(canvas, rect, [&](TCanvas& offScreen, const TRect& cell) {
            DrawTextInCell(offScreen, cell, dx, dy, text, alignment, layout, multiLine, endEllipsis, leftMargin,
                           rightMargin, rightToLeft);
        });
    } else if (multiLine) {
        const TBrushStyleRestore restore(canvas);
        if (fill)
            canvas.FillRect(rect);
        else
            canvas.Brush()->SetStyle(bsClear);
        DrawTextInCell(canvas, rect, dx, dy, text, alignment, layout, multiLine, endEllipsis, leftMargin,
                       rightMargin, rightToLeft);
    } else {
        DrawSingleLine(canvas, rect, fill, dx, dy, text, alignment, layout, endEllipsis);
    }
}

GdiObject<HFONT> MakeVerticalFont(const TFont& font)
{
    LOGFONTA logFont{};
    logFont.lfHeight = font.Height();
    logFont.lfWidth = 0;
    logFont.lfEscapement = 900;
    logFont.lfOrientation = 900;
    const TFontStyles style = font.Style();
    logFont.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = style.Contains(fsItalic);
    logFont.lfUnderline = style.Contains(fsUnderline);
    logFont.lfStrikeOut = style.Contains(fsStrikeOut);
    logFont.lfCharSet = font.Charset();
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    logFont.lfClipPrecision = 0;
    logFont.lfQuality = 0;
    logFont.lfPitchAndFamily = font.Pitch() == fpVariable ? VARIABLE_PITCH : font.Pitch() == fpFixed ? FIXED_PITCH : 0;
    const std::string name = font.Name() == "Default" ? std::string("MS Sans Serif") : font.Name();
    std::size_t length = 0;
    for (const std::size_t start : CharacterStarts(name)) {
        if (start >= LF_FACESIZE)
            break;
        length = start;
    }
    std::memcpy(logFont.lfFaceName, name.data(), length);
    return GdiObject<HFONT>(CreateFontIndirect(&logFont));
}

int DrawCellTextVertical(TCanvas& canvas, const TRect& rect, bool fill, int dx, int dy, const std::string& text,
                         TAlignment alignment, TTextLayout layout, bool measureOnly)
{
    const TFontRestore restoreFont(canvas);
    {
        const GdiObject<HFONT> vertical = MakeVerticalFont(*canvas.Font());
        canvas.Font()->SetHandle(vertical.Get());
    }
    const int overhang = TextOverhang(canvas.Handle());
    const int extent = overhang + canvas.TextWidth(text);
    if (measureOnly || IsEmptyCell(rect))
        return extent;

    if (fill && BrushIsDithered(canvas)) {
        DrawOffScreen(canvas, rect, [&](TCanvas& offScreen, const TRect& cell) {
            // The rotated text runs upward from the cell's lower edge.
            TRect box{dx, cell.bottom - 1, cell.right - 1, dy};
            (void)DrawStringText(offScreen.Handle(), text, static_cast<int>(text.size()), box, VerticalFormats[alignment]);
        });
        return extent;
    }

    // The text runs upward from (x, y), its glyphs reaching to the right of x.
    const int textHeight = canvas.TextHeight(text);
    int x = rect.left + dx;
    if (alignment == taRightJustify)
        x = rect.right - textHeight;
    else if (alignment == taCenter)
        x = rect.left + RectWidth(rect) / 2 - (textHeight + overhang) / 2;
    int y = rect.bottom - RectHeight(rect) / 2 + extent / 2;
    if (layout == tlTop)
        y = rect.top + extent;
    else if (layout == tlBottom)
        y = rect.bottom - dy;
    const TBrushStyleRestore restoreBrush(canvas);
    if (!fill)
        canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(TRect{rect.left, rect.bottom, rect.right, rect.top}, x, y, text);
    return extent;
}

void DrawImageClipped(TCustomImageList* imageList, TGraphic* graphic, TCanvas& canvas, const TRect& rect,
                      TAlignment alignment, int xOffset, int imageIndex)
{
    if (!imageList && !graphic)
        return;
    const int width = imageList ? imageList->Width() : graphic->Width();
    const int height = imageList ? imageList->Height() : graphic->Height();
    int x = rect.left;
    if (alignment == taRightJustify)
        x = rect.right - width;
    else if (alignment == taCenter)
        x = (rect.right + rect.left - width) / 2;
    x += xOffset;
    const int y = (rect.bottom + rect.top - height) / 2;
    const auto draw = [&] {
        if (imageList)
            imageList->Draw(&canvas, x, y, imageIndex, true);
        else
            canvas.Draw(x, y, graphic);
    };
    if (x >= rect.left && y >= rect.top && x + width <= rect.right && y + height <= rect.bottom) {
        draw();
        return;
    }
    const HDC dc = canvas.Handle();
    const GdiObject<HRGN> saved(CreateRectRgn(0, 0, 0, 0));
    const bool hadClip = GetClipRgn(dc, saved.Get()) == 1;
    (void)IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    draw();
    (void)SelectClipRgn(canvas.Handle(), hadClip ? saved.Get() : nullptr);
}
