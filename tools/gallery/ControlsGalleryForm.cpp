#include "tools/gallery/ControlsGalleryForm.h"

#include "controls/KvBorder.h"
#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvLEDDisplay.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "panels/KvPanel.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "tools/gallery/ControlsGalleryLayout.h"
#include "tools/gallery/GalleryColumn.h"

#include <cstdint>
#include <iterator>
#include <tuple>

CLASSLIB_IMPLEMENT_CLASS(TControlsGalleryForm, TForm, ComponentCreator<TControlsGalleryForm>, nullptr)

namespace {

using gallery::TColumnBuilder;
using namespace gallery::library;

void AddHeading(TColumnBuilder& b, int top, const char* text)
{
    b.Add<TLabel>(Heading(top), [text](TLabel& c) {
        c.SetCaption(text);
        c.Font()->SetStyle(TFontStyles{fsBold});
    });
}

void AddEdits(TColumnBuilder& b)
{
    AddHeading(b, EDITS_HEADING, "Edits in their frame styles");
    const struct {
        TFrameStyle style;
        const char* name;
    } styles[] = {{fsNone, "None"},       {fsFlat, "Flat"},         {fsGroove, "Groove"},
                  {fsBump, "Bump"},       {fsLowered, "Lowered"},   {fsButtonDown, "Button down"},
                  {fsRaised, "Raised"},   {fsButtonUp, "Button up"}, {fsStatus, "Status"},
                  {fsPopup, "Popup"},     {fsFlatBold, "Flat bold"}};
    for (int i = 0; i < static_cast<int>(std::size(styles)); ++i)
        b.Add<TKvEdit>(EditCell(i), [&style = styles[i]](TKvEdit& c) {
            c.SetFramingPreference(fpCustomFraming);
            c.SetFrameVisible(true);
            c.SetFrameStyle(style.style);
            c.SetText(style.name);
        });
}

void SetLabelFont(TKvLabel& label, int height)
{
    label.SetAutoSize(false);
    label.Font()->SetName("Arial");
    label.Font()->SetHeight(-height);
    label.Font()->SetStyle(TFontStyles{fsBold});
}

void AddLabels(TColumnBuilder& b)
{
    AddHeading(b, LABELS_HEADING, "Labels");
    const struct {
        TTextStyle style;
        const char* caption;
    } styles[] = {{tsRaised, "Raised text"}, {tsRecessed, "Recessed text"}, {tsShadow, "Shadowed text"}};
    for (int i = 0; i < static_cast<int>(std::size(styles)); ++i)
        b.Add<TKvLabel>(StyledLabel(i), [&style = styles[i]](TKvLabel& c) {
            SetLabelFont(c, 18);
            c.SetLayout(tlCenter);
            c.SetTextStyle(style.style);
            c.SetCaption(style.caption);
        });
    b.Add<TKvLabel>(ROTATED_LABEL, [](TKvLabel& c) {
        SetLabelFont(c, 16);
        c.SetRotation(roFlat);
        c.SetAngle(30);
        c.SetCaption("Turned");
    });
    b.Add<TKvLabel>(ARC_LABEL, [](TKvLabel& c) {
        SetLabelFont(c, 16);
        c.SetRotation(roCurve);
        c.SetCenterPoint(cpLowerCenter);
        c.SetAngle(60);
        c.SetCaption("Text on an arc");
    });
}

void AddButtons(TColumnBuilder& b)
{
    AddHeading(b, BUTTONS_HEADING, "Buttons and stock bit buttons");
    b.Add<TKvButton>(BUTTON, [](TKvButton& c) { c.SetCaption("Button"); });
    b.Add<TKvButton>(DEFAULT_BUTTON, [](TKvButton& c) {
        c.SetCaption("Default");
        c.SetDefault(true);
    });
    const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry};
    for (int i = 0; i < static_cast<int>(std::size(kinds)); ++i)
        b.Add<TKvBitBtn>(ButtonCell(2 + i), [kind = kinds[i]](TKvBitBtn& c) { c.SetKind(kind); });
}

void AddCheckBoxes(TColumnBuilder& b)
{
    AddHeading(b, CHECKS_HEADING, "Check boxes");
    const struct {
        TCheckBoxState state;
        bool allowGrayed;
        const char* caption;
    } boxes[] = {{cbUnchecked, false, "Unchecked"},
                 {cbChecked, false, "Checked"},
                 {cbGrayed, true, "Grayed (3 states)"}};
    for (int i = 0; i < static_cast<int>(std::size(boxes)); ++i)
        b.Add<TKvCheckBox>(CheckCell(i), [&box = boxes[i]](TKvCheckBox& c) {
            c.SetAllowGrayed(box.allowGrayed);
            c.SetState(box.state);
            c.SetCaption(box.caption);
        });
}

void AddProgressBars(TColumnBuilder& b)
{
    AddHeading(b, BARS_HEADING, "Progress bars: traditional, LED, gradient");
    const TBarStyle styles[] = {bsTraditional, bsLED, bsGradient};
    for (int style = 0; style < static_cast<int>(std::size(styles)); ++style)
        for (int column = 0; column < static_cast<int>(std::size(BAR_PERCENTS)); ++column)
            b.Add<TKvProgressBar>(BarCell(style, column), [&](TKvProgressBar& c) {
                c.SetBarStyle(styles[style]);
                c.SetPercent(static_cast<std::uint16_t>(BAR_PERCENTS[column]));
            });
}

void AddLedAndBorders(TColumnBuilder& b)
{
    AddHeading(b, LED_HEADING, "LED displays (still, scrolling) and borders");
    b.Add<TKvLEDDisplay>(LED_STILL, [](TKvLEDDisplay& c) {
        c.SetCaption("Modem ready");
        c.SetAlignment(taCenter);
    });
    b.Add<TKvLEDDisplay>(LED_SCROLLING, [](TKvLEDDisplay& c) {
        c.SetCaption("Please insert USB Modem");
        c.SetScrollDelay(50);
        c.SetScrolling(true);
    });
    b.Add<TKvBorder>(BORDER);
    b.Add<TKvBorder>(BORDER_WIDE, [](TKvBorder& c) {
        c.SetBorderOuter(fsRaised);
        c.SetBorderInner(fsLowered);
        c.SetBorderWidth(3);
    });
}

void AddPanels(TColumnBuilder& b)
{
    AddHeading(b, PANELS_HEADING, "Panels");
    const struct {
        TFrameStyleEx outer, inner;
        int borderWidth;
        TKvVisualStyle visual;
        const char* caption;
    } panels[] = {{fsRaised, fsNone, 0, vsClassic, "Raised"},
                  {fsLowered, fsNone, 0, vsClassic, "Lowered"},
                  {fsRaised, fsLowered, 3, vsClassic, "Raised, lowered"},
                  {fsFlat, fsNone, 0, vsGradient, "Gradient"}};
    for (int i = 0; i < static_cast<int>(std::size(panels)); ++i)
        b.Add<TKvPanel>(PanelCell(i), [&panel = panels[i]](TKvPanel& c) {
            c.SetBorderOuter(panel.outer);
            c.SetBorderInner(panel.inner);
            c.SetBorderWidth(panel.borderWidth);
            c.SetVisualStyle(panel.visual);
            c.SetCaption(panel.caption);
        });
}

} // namespace

TControlsGalleryForm::TControlsGalleryForm(TComponent* owner) : TForm(owner)
{
    SetCaption(CAPTION);
    SetBounds(WINDOW_RECT.left, WINDOW_RECT.top, WINDOW_RECT.right - WINDOW_RECT.left,
              WINDOW_RECT.bottom - WINDOW_RECT.top);
    for (const auto& [where, caption, enabled] :
         {std::tuple{ENABLED_COLUMN, "Enabled", true}, std::tuple{DISABLED_COLUMN, "Disabled", false}})
        gallery::BuildColumn(*this, where, caption, enabled,
                             {AddEdits, AddLabels, AddButtons, AddCheckBoxes, AddProgressBars, AddLedAndBorders,
                              AddPanels});
}
