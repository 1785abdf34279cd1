#include "skin/SkinBitButton.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/ButtonsBitBtnGlyph.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int IntProp(const TObject& object, std::string_view name, int fallback)
{
    return IsPublishedProp(object, name) ? static_cast<int>(GetOrdProp(object, name)) : fallback;
}

std::string EnumProp(const TObject& object, std::string_view name)
{
    return IsPublishedProp(object, name) ? GetEnumProp(object, name) : std::string();
}

TBitmap* GlyphOf(const TObject& object)
{
    return IsPublishedProp(object, "Glyph") ? dynamic_cast<TBitmap*>(GetObjectProp(object, "Glyph")) : nullptr;
}

// NumGlyphs: a strip of at least one cell.
int CellsOf(const TObject& object) { return std::max(1, IntProp(object, "NumGlyphs", 1)); }

// The strip's second cell shows a disabled button.
constexpr int DISABLED_CELL = 2;

// A glyph without a disabled cell greys as the class library's buttons grey it: its shape
// embossed in the highlight and shadow colours.
void DrawEmbossedGlyph(TCanvas& canvas, POINT at, TBitmap& glyph)
{
    TButtonGlyph embossed{TNotifyEvent{}};
    embossed.SetGlyph(&glyph);
    embossed.SetNumGlyphs(1);
    const RECT cell{at.x, at.y, at.x + glyph.Width(), at.y + glyph.Height()};
    embossed.Draw(canvas.Handle(), cell, std::string(), TButtonGlyph::TLayoutParams{}, bsDisabled);
}

} // namespace

TGlyphPlacement PlaceGlyph(HDC dc, const TGlyphLayoutRequest& request, const std::string& text)
{
    const std::string& layout = request.layout;
    const bool horizontal = layout != "blglyphtop" && layout != "blglyphbottom";
    const SIZE client = request.client;
    const SIZE glyph = request.glyph;
    RECT measured{2, 2, client.cx - 2, client.cy - 2};
    if (horizontal)
        measured.right -= glyph.cx + 2;
    else
        measured.bottom -= glyph.cy + 2;
    SIZE textSize{0, 0};
    if (!text.empty()) {
        (void)DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK);
        textSize = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    }
    int margin = request.margin;
    int spacing = textSize.cx == 0 || glyph.cx == 0 ? 0 : request.spacing;
    const int length = horizontal ? client.cx : client.cy;
    const int g = horizontal ? glyph.cx : glyph.cy;
    const int t = horizontal ? textSize.cx : textSize.cy;
    if (margin == -1 || request.centred) {
        if (spacing == -1) {
            margin = (length - g - t) / 3;
            spacing = margin;
        } else {
            margin = (length - g - spacing - t) / 2 + (request.speedButton ? 1 : 0);
        }
    } else if (spacing == -1) {
        spacing = (length - margin - g - t) / 2;
    }
    TGlyphPlacement place;
    place.textFlags = DT_WORDBREAK;
    POINT textAt{};
    if (horizontal) {
        place.glyph.y = (client.cy - glyph.cy + 1) / 2;
        textAt.y = (client.cy - textSize.cy + 1) / 2;
    } else {
        place.glyph.x = (client.cx - glyph.cx + 1) / 2;
        textAt.x = (client.cx - textSize.cx + 1) / 2;
        place.textFlags |= DT_CENTER;
    }
    if (layout == "blglyphright") {
        place.glyph.x = client.cx - margin - g;
        textAt.x = place.glyph.x - spacing - t;
        place.textFlags |= DT_RIGHT;
    } else if (layout == "blglyphtop") {
        place.glyph.y = margin;
        textAt.y = margin + g + spacing;
    } else if (layout == "blglyphbottom") {
        place.glyph.y = client.cy - margin - g;
        textAt.y = place.glyph.y - spacing - t;
    } else {
        place.glyph.x = margin;
        textAt.x = margin + g + spacing;
    }
    place.text = RECT{textAt.x, textAt.y, textAt.x + textSize.cx, textAt.y + textSize.cy};
    return place;
}

void DrawGlyphCell(TCanvas& canvas, POINT at, int cells, int cell, TBitmap& strip)
{
    const int width = strip.Width() / std::max(1, cells);
    const bool stripHasCell = cells >= cell;
    TBitmap glyph;
    glyph.SetSize(width, strip.Height());
    (void)BitBlt(glyph.Canvas()->Handle(), 0, 0, width, strip.Height(), strip.Canvas()->Handle(),
                 (stripHasCell ? cell - 1 : 0) * width, 0, SRCCOPY);
    glyph.SetTransparent(true);
    glyph.SetTransparentMode(tmAuto);
    if (cell == DISABLED_CELL && !stripHasCell) {
        DrawEmbossedGlyph(canvas, at, glyph);
        return;
    }
    canvas.Draw(at.x, at.y, &glyph);
}

void TSkinBitButton::PaintSkin(HDC dc, const RECT& rect)
{
    if (!HasPicture() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    ReadWindowState();
    const TButtonFrame frame = ButtonFrameOf(m_enabled, m_mouseState, m_focused);
    const int cell = frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1;
    TCanvas& canvas = PrepareBuffer(dc, rect, frame);
    PaintGlyphAndCaption(canvas, rect, frame, cell, false);
    CopyBuffer(dc, rect);
}

void TSkinBitButton::PaintGlyphAndCaption(TCanvas& canvas, const RECT& rect, TButtonFrame frame, int cell,
                                          bool speedButton)
{
    const TControl& control = *m_control;
    SelectCaptionFont(canvas, frame);
    TGraphic* named = NamedGlyph();
    TBitmap* glyph = m_glyphPropName.empty() ? GlyphOf(control) : nullptr;
    const int cells = CellsOf(control);
    TGlyphLayoutRequest request;
    request.client = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    if (glyph && !glyph->Empty())
        request.glyph = SIZE{glyph->Width() / cells, glyph->Height()};
    else if (named && !named->Empty())
        request.glyph = SIZE{named->Width(), named->Height()};
    request.layout = Lower(EnumProp(control, "Layout"));
    request.margin = IntProp(control, "Margin", -1);
    request.spacing = IntProp(control, "Spacing", 4);
    request.centred = !speedButton && EnumProp(control, "Alignment") == "taCenter";
    request.speedButton = speedButton;
    const std::string text = ReplaceFirst(CaptionText(), "||", "\r\n");
    const HDC dc = canvas.Handle();
    TGlyphPlacement place = PlaceGlyph(dc, request, text);
    if (request.glyph.cx > 0 && glyph)
        DrawGlyphCell(canvas, place.glyph, cells, cell, *glyph);
    else if (request.glyph.cx > 0)
        canvas.Draw(place.glyph.x, place.glyph.y, named);
    if (text.empty())
        return;
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(canvas.Font()->Color()));
    (void)DrawTextA(dc, text.c_str(), -1, &place.text, BiDiTextFlags(place.textFlags));
    (void)SetBkMode(dc, OPAQUE);
    DrawFocus(dc, place.text);
}

TGraphic* TSkinBitButton::NamedGlyph() const
{
    if (m_glyphPropName.empty() || !m_control || !IsPublishedProp(*m_control, m_glyphPropName))
        return nullptr;
    return dynamic_cast<TGraphic*>(GetObjectProp(*m_control, m_glyphPropName));
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (!HasPicture() || message.WParam == 0)
            break;
        PaintSkin(reinterpret_cast<HDC>(message.WParam), RECT{0, 0, m_control->Width(), m_control->Height()});
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The speed button keeps its own press (capture, Down, its group); the skin shows it.
        CallOldProc(message);
        m_mouseState |= MousePressed;
        Repaint();
        return false;
    case WM_LBUTTONUP:
        return true;
    default:
        break;
    }
    return TSkinButton::BeforeMessage(message);
}

void TSkinSpeedButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_MOUSEMOVE:
        break;
    case WM_LBUTTONUP:
        m_mouseState &= ~MousePressed;
        Repaint();
        break;
    case CM_MOUSEENTER:
        m_mouseState |= MouseHot;
        Repaint();
        break;
    case CM_MOUSELEAVE:
        m_mouseState = 0;
        if (m_control && m_control->Visible())
            Repaint();
        break;
    default:
        TSkinButton::AfterMessage(message);
        break;
    }
}

void TSkinSpeedButton::PaintSkin(HDC dc, const RECT& rect)
{
    if (m_painting || !m_control || !HasPicture() || rect.right - rect.left < 1 || rect.bottom - rect.top < 1)
        return;
    m_painting = true;
    struct TClear {
        bool& flag;
        ~TClear() { flag = false; }
    } clear{m_painting};
    const TControl& control = *m_control;
    const bool enabled = control.Enabled();
    const bool down = IntProp(control, "Down", 0) != 0;
    const bool flat = IntProp(control, "Flat", 0) != 0;
    const bool pressed = (m_mouseState & MousePressed) != 0;
    const bool hot = (m_mouseState & MouseHot) != 0;
    const TButtonFrame frame = !enabled ? bfDisabled : pressed || down ? bfPressed : hot ? bfHot : bfNormal;
    const int cell = !enabled ? 2 : down ? 4 : pressed ? 3 : 1;
    TCanvas& canvas = PrepareBuffer(dc, rect, frame, pressed || hot || down || !flat);
    const TBitmap* glyph = GlyphOf(control);
    if (glyph && !glyph->Empty()) {
        PaintGlyphAndCaption(canvas, rect, frame, cell, true);
    } else {
        SelectCaptionFont(canvas, frame);
        DrawCaption(canvas, RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, DT_CENTER, CaptionText());
    }
    CopyBuffer(dc, rect);
}
