#include "skin/SkinStatusBar.h"

#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProps.h"

namespace {

int BevelFrame(TStatusPanelBevel bevel)
{
    switch (bevel) {
    case pbLowered:
        return 1;
    case pbRaised:
        return 2;
    case pbNone:
        break;
    }
    return 3;
}

// A one-pixel frame: top and left in one colour, right and bottom in the other.
void Frame3D(HDC dc, const RECT& rect, TColor topLeft, TColor bottomRight)
{
    FillRectColor(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
    FillRectColor(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    FillRectColor(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    FillRectColor(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

bool RightToLeft(const TObject* object) { return GetEnumPropByName(object, "BiDiMode") == "bdRightToLeft"; }

UINT AlignmentFlags(TAlignment alignment, bool rightToLeft)
{
    if (rightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}

RECT DeflatedSides(RECT rect)
{
    InflateRect(&rect, -2, 0);
    return rect;
}

} // namespace

bool TSkinStatusBar::BeforeMessage(TMessage& message)
{
    if (!dynamic_cast<TCustomStatusBar*>(m_control))
        return TSkinHook::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinHook::BeforeMessage(message);
    }
}

void TSkinStatusBar::PaintSkin(HDC dc, const RECT& rect)
{
    auto* bar = dynamic_cast<TCustomStatusBar*>(m_control);
    if (!bar || rect.right <= 0 || rect.bottom <= 0)
        return;
    ReadWindowState();
    TBitmap& work = SkinWorkBitmap();
    work.SetSize(rect.right, rect.bottom);
    TCanvas& canvas = *work.Canvas();
    FillFace(canvas.Handle(), rect);
    canvas.Font()->Assign(bar->Font());
    canvas.Font()->SetStyle({});
    const TDataSkinObject* edges = m_data->Elements().Element("StatusBarEdges");
    if (edges && edges->NormalColour2 != -1)
        canvas.Font()->SetColor(edges->NormalColour2);
    const int count = bar->Panels()->Count();
    if (bar->SimplePanel() || count == 0) {
        DrawPanelFrame(canvas.Handle(), rect, 1);
        const std::string text = bar->SimpleText().empty() ? " " : bar->SimpleText();
        DrawTextAligned(canvas, DeflatedSides(rect), BiDiTextFlags(RightToLeft(bar) ? DT_RIGHT : DT_LEFT),
                        m_enabled, text);
    } else {
        for (int i = 0; i < count; ++i) {
            RECT panelRect{};
            if (!SendMessageA(m_handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panelRect)))
                continue;
            panelRect.right = i == count - 1 ? rect.right : panelRect.right + 2;
            TStatusPanel* panel = bar->Panels()->Items(i);
            DrawPanelFrame(canvas.Handle(), panelRect, BevelFrame(panel->Bevel()));
            if (panel->Style() != psText)
                continue;
            const std::string text = panel->Text().empty() ? " " : panel->Text();
            const UINT align = AlignmentFlags(panel->Alignment(), RightToLeft(panel) || RightToLeft(bar));
            DrawTextAligned(canvas, DeflatedSides(panelRect), BiDiTextFlags(align), m_enabled, text);
        }
    }
    if (GetWindowLongA(m_handle, GWL_STYLE) & SBARS_SIZEGRIP)
        DrawGrip(canvas.Handle(), rect);
    (void)BitBlt(dc, rect.left, rect.top, rect.right, rect.bottom, canvas.Handle(), 0, 0, SRCCOPY);
    bar->PaintControls(dc, nullptr);
    if (!bar->OnDrawPanel())
        return;
    for (int i = 0; i < count; ++i) {
        RECT panelRect{};
        if (!SendMessageA(m_handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panelRect)))
            continue;
        InflateRect(&panelRect, -2, -2);
        bar->OnDrawPanel()(bar, bar->Panels()->Items(i), panelRect);
    }
}

void TSkinStatusBar::DrawPanelFrame(HDC dc, const RECT& rect, int frame) const
{
    if (TDataSkinObject* edges = m_data->Elements().Element("StatusBarEdges"); edges && !edges->Image.Empty()) {
        if (rect.right < rect.left || rect.bottom < rect.top)
            return;
        const TSkinMargins margins{edges->LeftWidth, edges->TopHeight, edges->RightWidth, edges->BottomHeight};
        DrawElement(dc, rect, edges->Image, false, edges->Tile == 1, false, 3, frame, margins);
        return;
    }
    if (frame == 1)
        Frame3D(dc, rect, clBtnShadow, clBtnHighlight);
    else if (frame == 2)
        Frame3D(dc, rect, clBtnHighlight, clBtnShadow);
}

void TSkinStatusBar::DrawGrip(HDC dc, const RECT& rect) const
{
    TDataSkinObject* extra = m_data->Elements().Element("ExtraImages");
    if (!extra || extra->Image.Empty())
        return;
    const int width = extra->Image.Width() / std::max(1, extra->Frame);
    const int height = extra->Image.Height();
    const RECT grip{rect.right - 1 - width, rect.bottom - 1 - height, rect.right - 1, rect.bottom - 1};
    BlitStripFrame(dc, grip, extra->Frame, 5, extra->Image);
}
