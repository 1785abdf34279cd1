#include "tools/gallery/GalleryForm.h"

#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/ComCtrlsHeader.h"
#include "platform/classlib/forms/ComCtrlsListView.h"
#include "platform/classlib/forms/ComCtrlsProgressBar.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/ExtCtrlsShapes.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/Mask.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/rtl/DateTime.h"
#include "tools/gallery/GalleryColumn.h"
#include "tools/gallery/GalleryLayout.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>

CLASSLIB_IMPLEMENT_CLASS(TGalleryForm, TForm, ComponentCreator<TGalleryForm>, nullptr)

namespace {

using gallery::TColumnBuilder;

void AddLines(TStrings& strings, std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        (void)strings.Add(line);
}

// A 16x16 tick on the glyph's transparent colour (its bottom-left pixel).
void DrawTick(TBitmap& glyph)
{
    glyph.SetSize(16, 16);
    TCanvas& canvas = *glyph.Canvas();
    canvas.Brush()->SetColor(clFuchsia);
    canvas.FillRect(TRect{0, 0, 16, 16});
    canvas.Pen()->SetColor(clGreen);
    canvas.Pen()->SetWidth(2);
    canvas.MoveTo(3, 8);
    canvas.LineTo(6, 12);
    canvas.LineTo(13, 3);
}

// A small sunset: a sky fading from navy to orange, and a yellow sun.
void DrawPicture(TBitmap& bitmap, int size)
{
    bitmap.SetSize(size, size);
    TCanvas& canvas = *bitmap.Canvas();
    for (int y = 0; y < size; ++y) {
        const int warm = 255 * y / (size - 1);
        canvas.Pen()->SetColor(static_cast<TColor>(RGB(warm, warm / 2, 128 - warm / 2)));
        canvas.MoveTo(0, y);
        canvas.LineTo(size, y);
    }
    canvas.Pen()->SetColor(clMaroon);
    canvas.Brush()->SetColor(clYellow);
    canvas.Ellipse(size / 4, size / 3, size * 3 / 4, size * 5 / 6);
}

// Selecting text needs the window, so this runs once the rich edit has its parent.
void ColourRuns(TRichEdit& richEdit)
{
    const struct {
        int start, length;
        TColor color;
    } runs[] = {{0, 3, clRed}, {5, 5, clGreen}, {15, 4, clBlue}};
    for (const auto& run : runs) {
        richEdit.SetSelStart(run.start);
        richEdit.SetSelLength(run.length);
        richEdit.SelAttributes()->SetColor(run.color);
    }
    richEdit.SetSelLength(0);
}

void AddButtons(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TButton>(BUTTON, [](TButton& c) { c.SetCaption("Button"); });
    b.Add<TCheckBox>(CHECK_BOX, [](TCheckBox& c) {
        c.SetCaption("Check box");
        c.SetChecked(true);
    });
    b.Add<TRadioButton>(RADIO_BUTTON, [](TRadioButton& c) {
        c.SetCaption("Radio");
        c.SetChecked(true);
    });
    TBitmap tick;
    DrawTick(tick);
    b.Add<TBitBtn>(BIT_BUTTON, [&](TBitBtn& c) {
        c.SetCaption("Bit button");
        c.SetGlyph(&tick);
    });
    b.Add<TSpeedButton>(SPEED_BUTTON_DOWN, [&](TSpeedButton& c) {
        c.SetGlyph(&tick);
        c.SetGroupIndex(1);
        c.SetDown(true);
    });
    b.Add<TSpeedButton>(SPEED_BUTTON_UP, [&](TSpeedButton& c) { c.SetGlyph(&tick); });
    b.Add<TSpeedButton>(SPEED_BUTTON_FLAT, [&](TSpeedButton& c) {
        c.SetGlyph(&tick);
        c.SetFlat(true);
    });
}

void AddEdits(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TEdit>(EDIT, [](TEdit& c) { c.SetText("Edit text"); });
    b.Add<TMaskEdit>(MASK_EDIT, [](TMaskEdit& c) {
        c.SetEditMask("!(999) 000-0000;1;_");
        c.SetText("(555) 123-4567");
    });
    b.Add<TComboBox>(COMBO_BOX, [](TComboBox& c) {
        c.SetStyle(csDropDownList);
        AddLines(*c.Items(), {"Combo box", "Second", "Third"});
        c.SetItemIndex(0);
    });
    auto* buddy = b.Add<TEdit>(UP_DOWN_EDIT, [](TEdit& c) { c.SetText("42"); });
    b.Add<TUpDown>(UP_DOWN, [](TUpDown& c) { c.SetPosition(42); })->SetAssociate(buddy);
}

void AddLists(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TListBox>(LIST_BOX, [](TListBox& c) {
        AddLines(*c.Items(), {"Alpha", "Bravo (selected)", "Charlie", "Delta", "Echo", "Foxtrot"});
        c.SetItemIndex(LIST_SELECTED_INDEX);
    });
    b.Add<TMemo>(MEMO, [](TMemo& c) { AddLines(*c.Lines(), {"A memo with", "three lines", "of text"}); });
    ColourRuns(*b.Add<TRichEdit>(RICH_EDIT, [](TRichEdit& c) { c.SetText("Red, green and blue"); }));
    b.Add<TListView>(LIST_VIEW, [](TListView& c) {
        c.SetViewStyle(vsReport);
        c.SetRowSelect(true);
        c.SetHideSelection(false);
        for (const auto& [caption, width] : {std::pair{"Name", 70}, std::pair{"Number", 70}, std::pair{"Calls", 40}}) {
            TListColumn* column = c.Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
        for (const auto& [name, number, calls] : {std::tuple{"Anna", "555 0101", "3"}, std::tuple{"Ben", "555 0102", "12"},
                                                  std::tuple{"Clara", "555 0103", "7"}}) {
            TListItem* item = c.Items()->Add();
            item->SetCaption(name);
            AddLines(*item->SubItems(), {number, calls});
        }
        c.Items()->Item(0)->SetSelected(true);
    });
}

void AddPages(TColumnBuilder& b)
{
    using namespace gallery;
    auto* pages = b.Add<TPageControl>(PAGE_CONTROL);
    TTabSheet* sheets[2] = {};
    for (TTabSheet*& sheet : sheets) {
        sheet = new TTabSheet(b.Owner());
        sheet->SetPageControl(pages);
        b.Keep(sheet);
    }
    sheets[0]->SetCaption("General");
    sheets[1]->SetCaption("Details");
    pages->SetActivePage(sheets[0]);
    b.AddTo<TLabel>(sheets[0], RECT{8, 10, 200, 26}, [](TLabel& c) { c.SetCaption("A label on the first sheet"); });
    b.AddTo<TCheckBox>(sheets[0], RECT{8, 34, 200, 51}, [](TCheckBox& c) {
        c.SetCaption("Grayed check box");
        c.SetAllowGrayed(true);
        c.SetState(cbGrayed);
    });
    b.AddTo<TCheckBox>(sheets[0], RECT{8, 56, 200, 73}, [](TCheckBox& c) { c.SetCaption("Unchecked box"); });
    b.AddTo<TRadioButton>(sheets[0], RECT{8, 78, 200, 95}, [](TRadioButton& c) { c.SetCaption("Radio button off"); });
    b.AddTo<TEdit>(sheets[1], RECT{8, 10, 200, 31}, [](TEdit& c) { c.SetText("On the second sheet"); });

    b.Add<TMonthCalendar>(MONTH_CALENDAR, [](TMonthCalendar& c) { c.SetDate(EncodeDate(2024, 5, 17)); });
}

void AddRanges(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TTrackBar>(TRACK_BAR, [](TTrackBar& c) { c.SetPosition(6); });
    b.Add<TProgressBar>(PROGRESS_BAR, [](TProgressBar& c) { c.SetPosition(60); });
    b.Add<TScrollBar>(SCROLL_BAR, [](TScrollBar& c) {
        c.SetPageSize(20);
        c.SetPosition(30);
    });
}

void AddDatesHeadersTabs(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TDateTimePicker>(DATE_PICKER, [](TDateTimePicker& c) { c.SetDate(EncodeDate(2024, 5, 17)); });
    b.Add<THeaderControl>(HEADER, [](THeaderControl& c) {
        c.SetAlign(alNone);
        for (const auto& [text, width] : {std::pair{"Header", 110}, std::pair{"Sections", 110}, std::pair{"Here", 80}}) {
            THeaderSection* section = c.Sections()->Add();
            section->SetText(text);
            section->SetWidth(width);
        }
    });
    b.Add<TTabControl>(TAB_CONTROL, [](TTabControl& c) {
        AddLines(*c.Tabs(), {"One", "Two", "Three"});
        c.SetTabIndex(1);
    });
}

void AddGraphics(TColumnBuilder& b)
{
    using namespace gallery;
    b.Add<TLabel>(LABEL, [](TLabel& c) { c.SetCaption("A &label with an accelerator"); });
    b.Add<TPanel>(PANEL, [](TPanel& c) { c.SetCaption("Panel"); });
    b.Add<TBevel>(BEVEL);
    b.Add<TShape>(SHAPE, [](TShape& c) {
        c.SetShape(stEllipse);
        c.Brush()->SetColor(clTeal);
    });
    b.Add<TImage>(IMAGE, [](TImage& c) { DrawPicture(*c.Picture()->Bitmap(), IMAGE.right - IMAGE.left); });
    b.Add<TStatusBar>(STATUS_BAR, [](TStatusBar& c) {
        c.SetAlign(alNone);
        c.SetSizeGrip(false);
        for (const auto& [text, width] : {std::pair{"Status bar", 120}, std::pair{"Second panel", 120}, std::pair{"Last", 60}}) {
            TStatusPanel* panel = c.Panels()->Add();
            panel->SetText(text);
            panel->SetWidth(width);
        }
    });
}

} // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner)
{
    SetCaption(gallery::CAPTION);
    const RECT& window = gallery::WINDOW_RECT;
    SetBounds(window.left, window.top, window.right - window.left, window.bottom - window.top);
    for (const auto& [where, caption, enabled] : {std::tuple{gallery::ENABLED_COLUMN, "Enabled", true},
                                                  std::tuple{gallery::DISABLED_COLUMN, "Disabled", false}})
        gallery::BuildColumn(*this, where, caption, enabled,
                             {AddButtons, AddEdits, AddLists, AddPages, AddRanges, AddDatesHeadersTabs, AddGraphics});
}

