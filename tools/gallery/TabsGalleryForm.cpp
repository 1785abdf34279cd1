#include "tools/gallery/TabsGalleryForm.h"

#include "controls/KvTabsPages.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "tools/gallery/TabsGalleryLayout.h"

CLASSLIB_IMPLEMENT_CLASS(TTabsGalleryForm, TForm, ComponentCreator<TTabsGalleryForm>, nullptr)

namespace {

using namespace gallery::tabs;

constexpr struct {
    TKvTabStyle Style;
    const char* Name;
} Shapes[SHAPES] = {{tsSingleSlant, "Single slant"},
                    {tsDoubleSlant, "Double slant"},
                    {tsCutCorner, "Cut corner"},
                    {tsRoundCorners, "Round corners"},
                    {tsBackSlant, "Back slant"}};

constexpr struct {
    TKvTabOrientation Side;
    const char* Name;
} Sides[SIDES] = {{toTop, "Top"}, {toLeft, "Left"}, {toBottom, "Bottom"}, {toRight, "Right"}};

void AddHeading(TForm& form, const RECT& where, const char* text)
{
    auto* label = new TLabel(&form);
    label->SetBounds(where.left, where.top, where.right - where.left, where.bottom - where.top);
    label->SetCaption(text);
    label->Font()->SetStyle(TFontStyles{fsBold});
    label->SetParent(&form);
}

void AddPageControl(TForm& form, const RECT& where, TKvTabStyle style, TKvTabOrientation side)
{
    auto* pages = new TKvPageControl(&form);
    pages->SetBounds(where.left, where.top, where.right - where.left, where.bottom - where.top);
    pages->SetTabStyle(style);
    pages->SetTabOrientation(side);
    // Captions run along the side strips, as slanted tabs there need.
    if (side == toLeft || side == toRight)
        pages->SetTextOrientation(orVertical);
    pages->SetTabStop(false);
    pages->SetParent(&form);
    for (const char* caption : {"One", "Two", "Three"}) {
        auto* sheet = new TKvTabSheet(&form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePage(pages->Pages(1));
}

} // namespace

TTabsGalleryForm::TTabsGalleryForm(TComponent* owner) : TForm(owner)
{
    RegisterKvPageControlClasses();
    SetCaption(CAPTION);
    SetBounds(WINDOW_RECT.left, WINDOW_RECT.top, WINDOW_RECT.right - WINDOW_RECT.left,
              WINDOW_RECT.bottom - WINDOW_RECT.top);
    for (int shape = 0; shape < SHAPES; ++shape)
        AddHeading(*this, ShapeHeading(shape), Shapes[shape].Name);
    for (int side = 0; side < SIDES; ++side) {
        AddHeading(*this, SideLabel(side), Sides[side].Name);
        for (int shape = 0; shape < SHAPES; ++shape)
            AddPageControl(*this, Cell(shape, side), Shapes[shape].Style, Sides[side].Side);
    }
}
