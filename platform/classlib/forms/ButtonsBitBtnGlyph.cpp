#include "platform/classlib/forms/ButtonsBitBtnGlyph.h"

#include "platform/classlib/forms/GraphicsCanvas.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <utility>

namespace {

// Paints the brush where the source is black and keeps the destination where it is white.
constexpr DWORD ROP_BRUSH_WHERE_BLACK = 0x00B8074A;

struct Placement {
    POINT glyph{};
    RECT text{};
};

// Along the layout's axis: the margin before the first item and the spacing between the two.
std::pair<int, int> MarginAndSpacing(int client, int glyph, int text, int margin, int spacing)
{
    if (glyph == 0 || text == 0)
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        const int parts = glyph == 0 || text == 0 ? 2 : 3;
        margin = (client - glyph - text) / parts;
        return {margin, glyph == 0 || text == 0 ? 0 : margin};
    }
    if (margin == -1)
        return {(client - glyph - spacing - text + 1) / 2, spacing};
    if (spacing == -1)
        spacing = glyph == 0 || text == 0 ? 0 : (client - margin - glyph - text) / 2;
    return {margin, spacing};
}

// The layout of a glyph and a caption in a client area, as the class library's buttons place them.
Placement Place(SIZE client, SIZE glyph, SIZE text, const TButtonGlyph::TLayoutParams& params)
{
    const bool horizontal = params.layout == blGlyphLeft || params.layout == blGlyphRight;
    const int clientAlong = horizontal ? client.cx : client.cy;
    const int glyphAlong = horizontal ? glyph.cx : glyph.cy;
    const int textAlong = horizontal ? text.cx : text.cy;
    const auto [margin, spacing] = MarginAndSpacing(clientAlong, glyphAlong, textAlong, params.margin, params.spacing);
    int glyphAt = margin;
    int textAt = margin + glyphAlong + spacing;
    if (params.layout == blGlyphRight || params.layout == blGlyphBottom) {
        glyphAt = clientAlong - margin - glyphAlong;
        textAt = glyphAt - spacing - textAlong;
    }
    Placement placement;
    if (horizontal) {
        placement.glyph = POINT{glyphAt, (client.cy - glyph.cy + 1) / 2};
        const int top = (client.cy - text.cy + 1) / 2;
        placement.text = RECT{textAt, top, textAt + text.cx, top + text.cy};
    } else {
        placement.glyph = POINT{(client.cx - glyph.cx + 1) / 2, glyphAt};
        const int left = (client.cx - text.cx + 1) / 2;
        placement.text = RECT{left, textAt, left + text.cx, textAt + text.cy};
    }
    return placement;
}

} // namespace

const TTypeInfo& ButtonLayoutTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    return info;
}

TButtonGlyph::TButtonGlyph(TNotifyEvent changed) : m_glyph(std::make_unique<TBitmap>()), m_changed(std::move(changed))
{
    m_glyph->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { GlyphChanged(); }));
}

TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetNumGlyphs(int numGlyphs)
{
    numGlyphs = std::clamp(numGlyphs, 1, 4);
    if (numGlyphs == m_numGlyphs)
        return;
    m_numGlyphs = numGlyphs;
    m_changed(nullptr);
}

void TButtonGlyph::GlyphChanged()
{
    const int height = m_glyph->Height();
    const int cells = height > 0 ? m_glyph->Width() / height : 0;
    if (cells >= 1 && cells <= 4 && m_glyph->Width() % height == 0)
        m_numGlyphs = cells;
    m_changed(nullptr);
}

SIZE TButtonGlyph::CellSize() const
{
    if (m_glyph->Empty())
        return SIZE{0, 0};
    return SIZE{m_glyph->Width() / m_numGlyphs, m_glyph->Height()};
}

void TButtonGlyph::Draw(HDC dc, const RECT& client, const std::string& caption, const TLayoutParams& params,
                        TButtonState state) const
{
    SIZE text{0, 0};
    if (!caption.empty()) {
        RECT measured{0, 0, client.right - client.left, 0};
        (void)DrawTextA(dc, caption.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
        text = SIZE{measured.right, measured.bottom};
    }
    const SIZE size{client.right - client.left, client.bottom - client.top};
    Placement placement = Place(size, CellSize(), text, params);
    (void)OffsetRect(&placement.text, client.left, client.top);
    if (!m_glyph->Empty())
        DrawCell(dc, POINT{client.left + placement.glyph.x, client.top + placement.glyph.y}, state);
    if (caption.empty())
        return;
    (void)SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (state == bsDisabled) {
        RECT raised = placement.text;
        (void)OffsetRect(&raised, 1, 1);
        (void)SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        (void)DrawTextA(dc, caption.c_str(), -1, &raised, format);
        (void)SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    (void)DrawTextA(dc, caption.c_str(), -1, &placement.text, format);
}

void TButtonGlyph::DrawCell(HDC dc, POINT at, TButtonState state) const
{
    int cell = static_cast<int>(state);
    if (cell >= m_numGlyphs)
        cell = 0;
    if (state == bsDisabled && cell == 0) {
        DrawEmbossed(dc, at);
        return;
    }
    const SIZE size = CellSize();
    // The bitmap stays in its own canvas's DC, which is the source.
    const auto transparent = static_cast<UINT>(ColorToRGB(m_glyph->TransparentColor()));
    (void)TransparentBlt(dc, at.x, at.y, size.cx, size.cy, m_glyph->Canvas()->Handle(), cell * size.cx, 0, size.cx,
                         size.cy, transparent);
}

// A glyph without a disabled cell: its shape in the highlight colour under the shadow colour.
void TButtonGlyph::DrawEmbossed(HDC dc, POINT at) const
{
    const SIZE size = CellSize();
    const MemoryDC source(dc, m_glyph->MaskHandle());
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    {
        const SelectionGuard selectBrush(dc, GetSysColorBrush(COLOR_3DHILIGHT));
        (void)BitBlt(dc, at.x + 1, at.y + 1, size.cx, size.cy, source.Handle(), 0, 0, ROP_BRUSH_WHERE_BLACK);
        (void)SelectObject(dc, GetSysColorBrush(COLOR_3DSHADOW));
        (void)BitBlt(dc, at.x, at.y, size.cx, size.cy, source.Handle(), 0, 0, ROP_BRUSH_WHERE_BLACK);
    }
    (void)SetTextColor(dc, text);
    (void)SetBkColor(dc, back);
}
