#include "grid/core/DBGridGxLayoutStorage.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/rtl/SysMath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Three columns of 100, 100 and 200 pixels in a grid whose client is 300 pixels wide.
class DBGridLayout : public DBGridFixture {
protected:
    void ShowThreeColumns(int rows = 5)
    {
        Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, QTY INTEGER, NAME TEXT(20), SEL BOOLEAN)");
        Exec("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(rows) +
             ") INSERT INTO P SELECT x, x * 10, 'Name ' || x, x % 2 FROM n");
        ShowQuery("SELECT ID, QTY, NAME, SEL FROM P ORDER BY ID", [](TDBGridGx& grid) {
            for (const auto& [name, width] : {std::pair{"QTY", 100}, {"NAME", 100}, {"SEL", 200}}) {
                TColumnGx* column = grid.Columns().Add();
                column->SetFieldName(name);
                column->SetWidth(width);
            }
        });
        m_db->SetBounds(0, 0, 300 + m_db->Width() - m_db->ClientWidth(), 300);
        Pump();
        ASSERT_EQ(m_db->ClientWidth(), 300);
    }

    [[nodiscard]] std::vector<int> ColumnWidths() const
    {
        std::vector<int> widths;
        for (int i = 0; i < m_db->Columns().Count(); ++i)
            widths.push_back(m_db->Columns().ColumnAt(i)->Width());
        return widths;
    }
    [[nodiscard]] std::vector<int> GridWidths() const
    {
        std::vector<int> widths;
        for (int i = 1; i < m_db->ColCount(); ++i)
            widths.push_back(m_db->ColumnWidthAt(i));
        return widths;
    }
};

using Widths = std::vector<int>;

TEST_F(DBGridLayout, AutofitSharesTheClientByBaseWidthWithinEachColumnsLimits)
{
    ShowThreeColumns();
    // 300 less the indicator (11), three column lines and the indicator's line leave 285.
    m_db->SetAutoFitColWidths(true);
    EXPECT_EQ(ColumnWidths(), (Widths{71, 71, 143}));
    EXPECT_EQ(GridWidths(), ColumnWidths());
    EXPECT_EQ(m_db->ScrollBars(), ssNoneGx);

    // A limit set under the layout lock is no sizing: the base widths stay.
    m_db->BeginLayout();
    m_db->Columns().ColumnAt(0)->SetMaxWidth(60);
    m_db->EndLayout();
    EXPECT_EQ(ColumnWidths(), (Widths{60, 75, 150})) << "a held column keeps its limit, the others share the rest";
    m_db->BeginLayout();
    m_db->Columns().ColumnAt(0)->SetMaxWidth(0);
    m_db->EndLayout();

    m_db->SetMinAutoFitWidth(600);
    EXPECT_EQ(ColumnWidths(), (Widths{146, 146, 293}));
    m_db->SetMinAutoFitWidth(0);

    m_db->SetAutoFitColWidths(false);
    EXPECT_EQ(ColumnWidths(), (Widths{100, 100, 200})) << "switching off gives the widths back";
    EXPECT_EQ(m_db->ScrollBars(), ssHorizontalGx);
}

TEST_F(DBGridLayout, AutofitOverColumnsThatWereZeroWideSharesEqually)
{
    ShowThreeColumns();
    for (int i = 0; i < 3; ++i)
        m_db->Columns().ColumnAt(i)->SetWidth(0);
    m_db->SetAutoFitColWidths(true);
    EXPECT_EQ(ColumnWidths(), (Widths{95, 95, 95}));
}

TEST_F(DBGridLayout, DraggingAFittedColumnsBorderKeepsTheWidthDraggedTo)
{
    ShowThreeColumns();
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgColumnResize});
    m_db->SetAutoFitColWidths(true);
    const TRect title = m_db->CellRect(1, 0);
    Press({title.right, 5}, true);
    MoveHeld({title.right + 20, 5});
    Press({title.right + 20, 5}, false);
    const Widths widths = ColumnWidths();
    EXPECT_EQ(widths[0], 91);
    EXPECT_EQ(widths[0] + widths[1] + widths[2], 285) << "the columns still fill the client";
    EXPECT_EQ(GridWidths(), widths);

    m_db->SetAutoFitColWidths(false);
    const int unfitted = m_db->Columns().ColumnAt(0)->Width();
    EXPECT_EQ(unfitted, 128) << "its base width grew by 91 / 71";
    Press({m_db->CellRect(1, 0).right, 5}, true);
    MoveHeld({m_db->CellRect(1, 0).right - 30, 5});
    Press({m_db->CellRect(1, 0).right - 30, 5}, false);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Width(), unfitted - 30) << "without fitting the column takes the dragged width";
}

// Shapes that once divided by zero or raised from every relayout must lay out quietly.
TEST_F(DBGridLayout, DegenerateShapesLayOutWithoutErrors)
{
    ShowThreeColumns(3); // every row fits
    m_db->SetAutoFitColWidths(true);
    m_db->SetFrozenCols(3);
    EXPECT_LT(m_db->FixedCols(), m_db->ColCount());
    m_db->SetFrozenCols(10);
    EXPECT_LT(m_db->FixedCols(), m_db->ColCount());
    for (int i = 0; i < 3; ++i)
        m_db->Columns().ColumnAt(i)->SetVisible(false);
    m_db->SetBounds(0, 0, 0, 0);
    Pump();
    m_db->SetBounds(0, 0, 20, 20);
    Pump();
    for (int i = 0; i < 3; ++i)
        m_db->Columns().ColumnAt(i)->SetVisible(true);
    m_db->SetBounds(0, 0, 300, 300);
    Pump();
    EXPECT_EQ(m_db->VisibleDataRowCount(), 3);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m_db->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, info.nMin) << "all rows fit: nothing to scroll";
    EXPECT_TRUE(m_errors.empty());
}

} // namespace

namespace {

[[nodiscard]] std::vector<std::string> FieldOrder(TDBGridGx& grid)
{
    std::vector<std::string> names;
    for (int i = 0; i < grid.Columns().Count(); ++i)
        names.push_back(grid.Columns().ColumnAt(i)->FieldName());
    return names;
}

using Names = std::vector<std::string>;

// A column the grid made for a field moves its field along: the grid's columns and the data
// set's fields end in the same new order, the moved column still the same one.
TEST_F(DBGridLayout, MovingAColumnMadeForAFieldMovesTheField)
{
    Exec("CREATE TABLE P (CODE TEXT(5), QTY INTEGER, NAME TEXT(20))");
    Exec("INSERT INTO P VALUES ('A', 10, 'One')");
    ShowQuery("SELECT CODE, QTY, NAME FROM P");
    ASSERT_EQ(FieldOrder(*m_db), (Names{"CODE", "QTY", "NAME"}));
    TColumnGx* name = m_db->Columns().ColumnAt(2);
    ASSERT_TRUE(name->IsDefaultColumn());
    name->SetIndex(0);
    EXPECT_EQ(FieldOrder(*m_db), (Names{"NAME", "CODE", "QTY"}));
    EXPECT_EQ(m_db->Columns().ColumnAt(0), name);
    EXPECT_EQ(m_query->Fields()[0]->FieldName(), "NAME");
}

TEST_F(DBGridLayout, ColumnLayoutGoesToAnIniFileAndBack)
{
    ShowThreeColumns();
    TIniFile ini((m_dir / "layout.ini").string());
    m_db->Columns().ColumnAt(2)->SetIndex(0); // SEL, QTY, NAME
    m_db->Columns().ColumnAt(1)->SetWidth(33);
    m_db->Columns().ColumnAt(2)->SetVisible(false);
    SaveColumnsLayoutIni(*m_db, ini, "People");
    EXPECT_EQ(ini.ReadString("People", "ColumnsIndex", ""), "\"SEL\",\"QTY\",\"NAME\"");

    // Back to the order and looks the columns were made with, then restored from the file.
    m_db->Columns().ColumnAt(0)->SetIndex(2);
    m_db->Columns().ColumnAt(0)->SetWidth(100);
    m_db->Columns().ColumnAt(1)->SetVisible(true);
    RestoreColumnsLayoutIni(*m_db, ini, "People");
    EXPECT_EQ(FieldOrder(*m_db), (Names{"SEL", "QTY", "NAME"}));
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->Width(), 33);
    EXPECT_FALSE(m_db->Columns().ColumnAt(2)->Visible());
    EXPECT_EQ(m_db->ColumnWidthAt(2), 33) << "the grid laid out the restored widths";
}

// A layout stored when the grid had other columns: unknown names, another letter case and more
// names than columns never fail, and the known columns keep the stored order.
TEST_F(DBGridLayout, StoredColumnsThatNoLongerExistAreSkipped)
{
    ShowThreeColumns();
    TIniFile ini((m_dir / "layout.ini").string());
    ini.WriteString("People", "ColumnsIndex", "PHONE,\"name\",\"OLD\",\"QTY\",X,Y,Z");
    ini.WriteInteger("People", "PHONE.Width", 80);
    ini.WriteInteger("People", "NAME.Width", 120);
    RestoreColumnsLayoutIni(*m_db, ini, "People");
    EXPECT_EQ(FieldOrder(*m_db), (Names{"NAME", "QTY", "SEL"}));
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Width(), 120);
    EXPECT_TRUE(m_errors.empty());

    RestoreColumnsLayoutIni(*m_db, ini, "Nobody");
    EXPECT_EQ(FieldOrder(*m_db), (Names{"NAME", "QTY", "SEL"}));
}

TEST_F(DBGridLayout, StoredWidthsAreSharesInAFittedGrid)
{
    ShowThreeColumns();
    TIniFile ini((m_dir / "layout.ini").string());
    SaveColumnsLayoutIni(*m_db, ini, "People"); // 100, 100, 200
    for (int i = 0; i < 3; ++i)
        m_db->Columns().ColumnAt(i)->SetWidth(64);
    m_db->SetAutoFitColWidths(true);
    EXPECT_EQ(ColumnWidths(), (Widths{95, 95, 95}));
    RestoreColumnsLayoutIni(*m_db, ini, "People");
    EXPECT_EQ(ColumnWidths(), (Widths{71, 71, 143}));
    EXPECT_EQ(m_db->Columns().ColumnAt(2)->FitBaseWidth(), 200);
}

} // namespace

// Scaling by 4/3: widths 10, 10, 10 become 13, 14, 13 (40 in all, as 30 scaled), each font keeps
// its own size scaled, and a column font left to the grid is not scaled twice.
TEST_F(DBGridFixture, ChangeScaleKeepsTheTotalWidthAndEachFontsOwnSize)
{
    ShowQuery("SELECT 1 AS A, 2 AS B, 3 AS C", [](TDBGridGx& grid) {
        for (const char* name : {"A", "B", "C"}) {
            TColumnGx* column = grid.Columns().Add();
            column->SetFieldName(name);
            column->SetWidth(10);
        }
    });
    m_db->Font()->SetSize(9);
    m_db->TitleFont()->SetSize(12);
    m_db->Columns().ColumnAt(1)->Title()->Font()->SetSize(15);
    m_db->ChangeScale(4, 3);
    std::vector<int> widths;
    for (int i = 0; i < 3; ++i)
        widths.push_back(m_db->Columns().ColumnAt(i)->Width());
    EXPECT_EQ(widths, (std::vector<int>{13, 14, 13}));
    EXPECT_EQ(m_db->Font()->Size(), 12);
    EXPECT_EQ(m_db->TitleFont()->Size(), 16) << "the title font's own size, not the grid font's";
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->Title()->Font()->Size(), 20);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Font()->Size(), 12) << "follows the grid font";
    EXPECT_EQ(m_db->Width(), MulDiv(400, 4, 3));
}
