#include "platform/classlib/forms/GraphicsObjects.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"

#include <algorithm>
#include <array>
#include <cstring>

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

namespace {

struct TCharsetName {
    std::int64_t Value;
    const char* Name;
};

constexpr std::array<TCharsetName, 19> CharsetNames{{
    {0, "ANSI_CHARSET"},         {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},   {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},   {129, "HANGEUL_CHARSET"},  {130, "JOHAB_CHARSET"},  {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},     {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},       {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
}};

bool IdentToCharset(std::string_view ident, std::int64_t& value)
{
    for (const auto& entry : CharsetNames)
        if (SameText(ident, entry.Name)) {
            value = entry.Value;
            return true;
        }
    return false;
}

bool CharsetToIdent(std::int64_t value, std::string& ident)
{
    for (const auto& entry : CharsetNames)
        if (entry.Value == value) {
            ident = entry.Name;
            return true;
        }
    return false;
}

} // namespace

const TTypeInfo& FontStylesTypeInfo()
{
    static const TTypeInfo style = EnumerationTypeInfo("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    static const TTypeInfo info = SetTypeInfo("TFontStyles", style);
    return info;
}

const TTypeInfo& FontPitchTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
    return info;
}

const TTypeInfo& FontCharsetTypeInfo()
{
    static const TTypeInfo info = [] {
        TTypeInfo type = RangeTypeInfo("TFontCharset", 0, 255);
        type.IdentToInt = IdentToCharset;
        type.IntToIdent = CharsetToIdent;
        return type;
    }();
    return info;
}

const TTypeInfo& PenStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
    return info;
}

const TTypeInfo& PenModeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TPenMode", {"pmBlack", "pmNotMerge", "pmMaskNotPen", "pmNotCopy", "pmMaskPenNot", "pmNot", "pmXor",
                     "pmNotMask", "pmMask", "pmNotXor", "pmNop", "pmMergeNotPen", "pmCopy", "pmMergePenNot",
                     "pmMerge", "pmWhite"});
    return info;
}

const TTypeInfo& BrushStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TBrushStyle",
        {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    return info;
}

// ---- TGraphicsObject ----------------------------------------------------------------------------

TGraphicsObject::~TGraphicsObject() = default;

void TGraphicsObject::Changed()
{
    FreeHandle();
    m_onChange(this);
}

HGDIOBJ TGraphicsObject::RealisedHandle() const
{
    if (!m_handle)
        m_handle.Reset(CreateHandle());
    return m_handle.Get();
}

void TGraphicsObject::AdoptHandle(HGDIOBJ handle)
{
    m_handle.Reset(handle);
}

void TGraphicsObject::FreeHandle() const
{
    // Stock objects (the clear brush) ignore DeleteObject; a handle still selected somewhere goes
    // when that DC lets go of it.
    m_handle.Reset();
}

// ---- TFont --------------------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source)
{
    const auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_color = font->m_color;
    m_height = font->m_height;
    m_name = font->m_name;
    m_style = font->m_style;
    m_pitch = font->m_pitch;
    m_charset = font->m_charset;
    m_orientation = font->m_orientation;
    Changed();
}

void TFont::SetHandle(HFONT font)
{
    LOGFONTA logFont{};
    if (GetObject(font, sizeof logFont, &logFont) != sizeof logFont)
        return;
    m_height = logFont.lfHeight;
    m_name.assign(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
    TFontStyles style;
    if (logFont.lfWeight >= FW_BOLD)
        style.Include(fsBold);
    if (logFont.lfItalic)
        style.Include(fsItalic);
    if (logFont.lfUnderline)
        style.Include(fsUnderline);
    if (logFont.lfStrikeOut)
        style.Include(fsStrikeOut);
    m_style = style;
    const int pitch = logFont.lfPitchAndFamily & 0x0F;
    m_pitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    m_charset = logFont.lfCharSet;
    m_orientation = logFont.lfEscapement;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    // The colour is the canvas's text colour, not part of the handle; still a change.
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == m_height)
        return;
    m_height = height;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(m_height, 72, PixelsPerInch);
}

void TFont::SetSize(int size)
{
    SetHeight(-MulDiv(size, PixelsPerInch, 72));
}

void TFont::SetName(const std::string& name)
{
    if (name.empty() || name == m_name)
        return;
    m_name = name;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == m_style)
        return;
    m_style = style;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == m_pitch)
        return;
    m_pitch = pitch;
    Changed();
}

void TFont::SetCharset(TFontCharset charset)
{
    if (charset == m_charset)
        return;
    m_charset = charset;
    Changed();
}

void TFont::SetOrientation(int orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    Changed();
}

LOGFONTA TFont::LogFont() const
{
    LOGFONTA logFont{};
    logFont.lfHeight = m_height;
    logFont.lfEscapement = m_orientation;
    logFont.lfOrientation = m_orientation;
    logFont.lfWeight = m_style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = m_style.Contains(fsItalic);
    logFont.lfUnderline = m_style.Contains(fsUnderline);
    logFont.lfStrikeOut = m_style.Contains(fsStrikeOut);
    logFont.lfCharSet = m_charset;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = m_pitch == fpFixed ? FIXED_PITCH : m_pitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    const std::size_t length = std::min(m_name.size(), std::size_t(LF_FACESIZE - 1));
    std::memcpy(logFont.lfFaceName, m_name.data(), length);
    return logFont;
}

HGDIOBJ TFont::CreateHandle() const
{
    const LOGFONTA logFont = LogFont();
    return CreateFontIndirectA(&logFont);
}

// ---- TPen ---------------------------------------------------------------------------------------

void TPen::Assign(const TPersistent* source)
{
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_color = pen->m_color;
    m_mode = pen->m_mode;
    m_style = pen->m_style;
    m_width = pen->m_width;
    Changed();
}

void TPen::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width < 0 || width == m_width)
        return;
    m_width = width;
    Changed();
}

HGDIOBJ TPen::CreateHandle() const
{
    static constexpr int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    return CreatePen(Styles[m_style], m_width, ColorToRGB(m_color));
}

// ---- TBrush -------------------------------------------------------------------------------------

void TBrush::Assign(const TPersistent* source)
{
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_color = brush->m_color;
    m_style = brush->m_style;
    m_bitmap = brush->m_bitmap;
    Changed();
}

void TBrush::SetColor(TColor color)
{
    if (color == m_color && m_style != bsClear)
        return;
    m_color = color;
    if (m_style == bsClear)
        m_style = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == m_style && !m_bitmap)
        return;
    m_style = style;
    m_bitmap = nullptr;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    m_bitmap = bitmap;
    Changed();
}

HGDIOBJ TBrush::CreateHandle() const
{
    if (m_bitmap && !m_bitmap->Empty())
        return CreatePatternBrush(m_bitmap->Handle());
    if (m_style == bsClear)
        return GetStockObject(NULL_BRUSH);
    if (m_style == bsSolid)
        return CreateSolidBrush(ColorToRGB(m_color));
    return CreateHatchBrush(m_style - bsHorizontal + HS_HORIZONTAL, ColorToRGB(m_color));
}

// ---- Published properties -----------------------------------------------------------------------

namespace {

void DescribeFont(TClassBuilder& c)
{
    c.Ordinal("Charset", FontCharsetTypeInfo(), &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET);
    c.Ordinal("Color", ColorTypeInfo(), &TFont::Color, &TFont::SetColor).Default(clWindowText);
    c.Integer("Height", &TFont::Height, &TFont::SetHeight);
    c.String("Name", &TFont::Name, &TFont::SetName);
    c.Enum("Pitch", FontPitchTypeInfo(), &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Integer("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.Set("Style", FontStylesTypeInfo(), &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
}

void DescribePen(TClassBuilder& c)
{
    c.Ordinal("Color", ColorTypeInfo(), &TPen::Color, &TPen::SetColor).Default(clBlack);
    c.Enum("Mode", PenModeTypeInfo(), &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    c.Enum("Style", PenStyleTypeInfo(), &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Integer("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void DescribeBrush(TClassBuilder& c)
{
    c.Ordinal("Color", ColorTypeInfo(), &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    c.Enum("Style", BrushStyleTypeInfo(), &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TGraphicsObject, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TFont, TGraphicsObject, DefaultCreator<TFont>, DescribeFont)
CLASSLIB_IMPLEMENT_CLASS(TPen, TGraphicsObject, DefaultCreator<TPen>, DescribePen)
CLASSLIB_IMPLEMENT_CLASS(TBrush, TGraphicsObject, DefaultCreator<TBrush>, DescribeBrush)
