#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxStyle.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

namespace {

// An image column shows the image its value stands for, centred in the cell.
TEST_F(DBGridFixture, ImageCellsShowTheImageOfTheirValue)
{
    ShowPeople(4);
    TCustomImageList images(nullptr, 8, 8);
    for (const TColor colour : {clRed, clBlue}) {
        TBitmap square;
        square.SetSize(8, 8);
        square.Canvas()->Brush()->SetColor(colour);
        square.Canvas()->FillRect(TRect{0, 0, 8, 8});
        images.Add(&square, nullptr);
    }
    TColumnGx* sel = m_db->Columns().ColumnAt(1);
    sel->SetCheckboxes(false);
    sel->KeyList()->SetText("False\nTrue");
    sel->SetImageList(&images);
    EXPECT_EQ(sel->CellImageKind(), cikImages);
    Pump();
    const auto count = [&](int row, TColor colour) {
        const TRect cell = m_db->CellRect(2, m_db->TitleOffset() + row);
        int found = 0;
        for (int x = cell.left; x < cell.right; ++x)
            for (int y = cell.top; y < cell.bottom; ++y)
                found += Shown({x, y}) == RgbOf(ColorToRGB(colour)) ? 1 : 0;
        return found;
    };
    EXPECT_EQ(count(0, clBlue), 64) << "record 1 is ticked: the second image";
    EXPECT_EQ(count(0, clRed), 0);
    EXPECT_EQ(count(1, clRed), 64) << "record 2 is not: the first";
    const TRect middle = m_db->CellRect(2, m_db->TitleOffset());
    EXPECT_EQ(Shown({(middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2}),
              RgbOf(ColorToRGB(clBlue)))
        << "centred";

    sel->SetWidth(5);
    Pump();
    EXPECT_LE(count(0, clBlue), 5 * 8) << "a narrow cell clips its image";
    sel->SetImageList(nullptr);
}

// A record marked in a grid without the focus is shaded by blending the row's own colour with the
// shadow colour, so a light row stays light rather than turning grey.
TEST_F(DBGridFixture, MarkedRowsOfAGridWithoutFocusShowTheBlendedColour)
{
    TDBGridGxStyle style;
    SetDefaultGridStyle(&style);
    ShowPeople(6);
    ASSERT_EQ(m_db->Style(), &style);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect, dgAlwaysShowSelection});
    ClickWith(CellCentre(1, m_db->TitleOffset() + 1), ModControl);
    ClickWith(CellCentre(1, m_db->TitleOffset() + 3), ModControl);
    ASSERT_EQ(m_db->SelectedRows().BookmarkCount(), 2);
    auto* other = new TEdit(m_form.get());
    other->SetParent(m_form.get());
    other->SetBounds(0, 310, 100, 20);
    m_form->SetActiveControl(other);
    Pump();
    ASSERT_FALSE(m_db->Focused());
    const TRect marked = m_db->CellRect(1, m_db->TitleOffset() + 1);
    const std::uint32_t shown = Shown({marked.right - 4, marked.top + 2});
    const auto blended = static_cast<TColor>(ColorToRGB(TDBGridGxStyle::BlendLighter(clWindow, clBtnShadow, false)));
    EXPECT_EQ(shown, RgbOf(ColorToRGB(blended)));
    const std::uint32_t shadow = SysRgb(COLOR_BTNSHADOW);
    for (const int shift : {0, 8, 16})
        EXPECT_GT((shown >> shift) & 0xFF, (shadow >> shift) & 0xFF) << "lighter than the shadow itself";
    const TRect plain = m_db->CellRect(1, m_db->TitleOffset() + 2);
    EXPECT_EQ(Shown({plain.right - 4, plain.top + 2}), SysRgb(COLOR_WINDOW));
}

} // namespace
