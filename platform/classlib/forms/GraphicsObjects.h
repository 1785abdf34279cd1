#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <string>

class TBitmap;

// Rectangles and points are the Win32 structures, as they were in the class library.
using TRect = RECT;
using TPoint = POINT;
[[nodiscard]] constexpr TRect Rect(LONG left, LONG top, LONG right, LONG bottom) { return {left, top, right, bottom}; }
[[nodiscard]] constexpr TPoint Point(LONG x, LONG y) { return {x, y}; }

// The COLORREF a colour stands for: system colours through GetSysColor, everything else as is
// (clNone and clDefault keep their values; callers test for them first).
[[nodiscard]] COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// In the order of the R2_ codes (pmBlack is R2_BLACK).
enum TPenMode {
    pmBlack, pmNotMerge, pmMaskNotPen, pmNotCopy, pmMaskPenNot, pmNot, pmXor, pmNotMask, pmMask, pmNotXor, pmNop,
    pmMergeNotPen, pmCopy, pmMergePenNot, pmMerge, pmWhite
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

[[nodiscard]] const TTypeInfo& FontStylesTypeInfo();
[[nodiscard]] const TTypeInfo& FontPitchTypeInfo();
// 0..255, written by its Win32 name where it has one (DEFAULT_CHARSET).
[[nodiscard]] const TTypeInfo& FontCharsetTypeInfo();
[[nodiscard]] const TTypeInfo& PenStyleTypeInfo();
[[nodiscard]] const TTypeInfo& PenModeTypeInfo();
[[nodiscard]] const TTypeInfo& BrushStyleTypeInfo();

// A font, pen or brush: a description that realises a GDI handle on demand. Every change frees
// the realised handle (a DC that still has it selected keeps it alive until it lets go) and fires
// OnChange, which a canvas uses to select the new one.
class TGraphicsObject : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TGraphicsObject() = default;
    ~TGraphicsObject() override;

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    // The handle as realised now, without realising one.
    [[nodiscard]] bool HandleAllocated() const { return static_cast<bool>(m_handle); }

protected:
    // Frees the realised handle and tells OnChange.
    void Changed();
    // The realised handle, made with CreateHandle when there is none.
    [[nodiscard]] HGDIOBJ RealisedHandle() const;
    [[nodiscard]] virtual HGDIOBJ CreateHandle() const = 0;
    // Takes over `handle` as the realised one (freeing the previous).
    void AdoptHandle(HGDIOBJ handle);

private:
    void FreeHandle() const;

    TNotifyEvent m_onChange;
    mutable GdiObject<HGDIOBJ> m_handle;
};

// Sizes are in pixels at 96 dots per inch: Height < 0 is the character height, > 0 the cell
// height; Size is points (Height = -Size * 96 / 72).
class TFont : public TGraphicsObject {
    CLASSLIB_DECLARE_CLASS;

    static constexpr int PixelsPerInch = 96;

    TFont();

    void Assign(const TPersistent* source) override;

    [[nodiscard]] HFONT Handle() const { return static_cast<HFONT>(RealisedHandle()); }
    // Takes the description of `font` (the handle stays the caller's).
    void SetHandle(HFONT font);
    [[nodiscard]] TColor Color() const { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] int Height() const { return m_height; }
    void SetHeight(int height);
    [[nodiscard]] int Size() const;
    void SetSize(int size);
    [[nodiscard]] const std::string& Name() const { return m_name; }
    void SetName(const std::string& name);
    [[nodiscard]] TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);
    [[nodiscard]] TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch pitch);
    [[nodiscard]] TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset charset);
    // Tenths of a degree, counter-clockwise.
    [[nodiscard]] int Orientation() const { return m_orientation; }
    void SetOrientation(int orientation);

    [[nodiscard]] LOGFONTA LogFont() const;

protected:
    [[nodiscard]] HGDIOBJ CreateHandle() const override;

private:
    TColor m_color = clWindowText;
    int m_height = -11;
    std::string m_name = "MS Sans Serif";
    TFontStyles m_style;
    TFontPitch m_pitch = fpDefault;
    TFontCharset m_charset = DEFAULT_CHARSET;
    int m_orientation = 0;
};

// Width is in pixels; Mode is applied by the canvas (SetROP2), not part of the handle.
class TPen : public TGraphicsObject {
    CLASSLIB_DECLARE_CLASS;

    TPen() = default;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] HPEN Handle() const { return static_cast<HPEN>(RealisedHandle()); }
    [[nodiscard]] TColor Color() const { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode mode);
    [[nodiscard]] TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width);

protected:
    [[nodiscard]] HGDIOBJ CreateHandle() const override;

private:
    TColor m_color = clBlack;
    TPenMode m_mode = pmCopy;
    TPenStyle m_style = psSolid;
    int m_width = 1;
};

// A solid, hatched, clear or pattern (Bitmap) brush. Setting a colour on a clear brush makes it
// solid again, as the class library did.
class TBrush : public TGraphicsObject {
    CLASSLIB_DECLARE_CLASS;

    TBrush() = default;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] HBRUSH Handle() const { return static_cast<HBRUSH>(RealisedHandle()); }
    [[nodiscard]] TColor Color() const { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style);
    // The pattern, not owned: the caller keeps the bitmap alive while the brush uses it. The
    // brush copies the pixels when it realises its handle.
    [[nodiscard]] TBitmap* Bitmap() const { return m_bitmap; }
    void SetBitmap(TBitmap* bitmap);

protected:
    [[nodiscard]] HGDIOBJ CreateHandle() const override;

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
    TBitmap* m_bitmap = nullptr;
};
