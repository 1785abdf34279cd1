#include "grid/core/DBGridGx.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
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

} // namespace
