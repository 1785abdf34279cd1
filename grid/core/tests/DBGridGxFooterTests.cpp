#include "grid/core/DBGridGxFooter.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/data/DBDataSet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// Three items in a grid with one column per field and footer rows below the data.
class DBGridFooters : public DBGridFixture {
protected:
    void ShowItems(int footerRows = 1)
    {
        Exec("CREATE TABLE I (ID INTEGER PRIMARY KEY, NAME TEXT(20), QTY INTEGER, PRICE FLOAT)");
        Exec("INSERT INTO I (NAME, QTY, PRICE) VALUES ('a', 2, 1.25), ('b', 3, 2.5), ('c', 5, NULL)");
        ShowQuery("SELECT ID, NAME, QTY, PRICE FROM I ORDER BY ID", [&](TDBGridGx& grid) {
            for (const char* name : {"NAME", "QTY", "PRICE"})
                grid.Columns().Add()->SetFieldName(name);
            grid.SetFooterRowCount(footerRows);
            grid.SumList()->SetActive(true);
        });
    }

    [[nodiscard]] TColumnGx& Column(int index) const { return *m_db->Columns().ColumnAt(index); }
    [[nodiscard]] TColumnFooterGx& Footer(int index) const { return *Column(index).Footer(); }
    [[nodiscard]] std::string Text(int index, int row = 0) const { return m_db->GetFooterValue(row, Column(index)); }
    [[nodiscard]] int SumItems() const { return m_db->SumList()->SumCollection()->Count(); }

    void Set(int index, TFooterValueType type, const std::string& fieldName = {}, const std::string& format = {})
    {
        Footer(index).SetValueType(type);
        Footer(index).SetFieldName(fieldName);
        Footer(index).SetDisplayFormat(format);
    }
};

TEST_F(DBGridFooters, ValuesByTypeFieldAndFormat)
{
    ShowItems();
    struct Case {
        int Column;
        TFooterValueType Type;
        std::string FieldName;
        std::string Format;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {1, fvtSum, "", "", "10"},
        {1, fvtAvg, "", "", "3"},          // 3.33 on an integer field: a whole number
        {1, fvtAvg, "", "0.00", "3.33"},   // unless a format says otherwise
        {2, fvtSum, "", "", "3.75"},
        {2, fvtAvg, "", "", "1.875"},      // the null price takes no part
        {0, fvtCount, "", "", "3"},
        {0, fvtSum, "QTY", "", "10"},      // a footer may add up another field
        {0, fvtSum, "", "", "0"},          // text adds up to nothing
        {2, fvtSum, "NOPE", "", "0"},      // a field the data set lacks
        {0, fvtFieldValue, "NAME", "", "a"},
        {0, fvtFieldValue, "NOPE", "", ""},
        {0, fvtNon, "", "", ""},
    };
    for (const Case& c : cases) {
        Set(c.Column, c.Type, c.FieldName, c.Format);
        EXPECT_EQ(Text(c.Column), c.Expected) << "column " << c.Column << " type " << c.Type << " " << c.FieldName;
    }
    Footer(0).SetValueType(fvtStaticText);
    Footer(0).SetValue("Total");
    EXPECT_EQ(Text(0), "Total");
}

TEST_F(DBGridFooters, SumsFollowEditsAndTheSumListKeepsOnlyWhatFootersShow)
{
    ShowItems();
    Set(1, fvtSum);
    Set(2, fvtAvg);
    EXPECT_EQ(SumItems(), 2);
    m_query->Edit();
    m_query->FieldByName("QTY")->SetAsInteger(12);
    m_query->Post();
    EXPECT_EQ(Text(1), "20");

    Footer(1).SetValueType(fvtStaticText);
    EXPECT_EQ(SumItems(), 1) << "a footer that no longer sums drops its sum";
    EXPECT_EQ(m_db->SumList()->GetSumByOpAndFName(goSum, "QTY"), nullptr);
}

TEST_F(DBGridFooters, NoDataSourceShowsZero)
{
    ShowItems();
    Set(1, fvtSum);
    m_db->SetDataSource(nullptr);
    EXPECT_EQ(Text(1), "0");
}

TEST_F(DBGridFooters, SeveralFooterRowsReadTheColumnsFootersAndPaintAtTheBottom)
{
    ShowItems(2);
    Footer(0).SetValueType(fvtStaticText); // unused once the column has Footers
    TColumnFooterGx* first = Column(0).Footers()->Add();
    first->SetValueType(fvtStaticText);
    first->SetValue("Sum");
    first->SetColor(clYellow);
    Column(0).Footers()->Add()->SetValueType(fvtCount);
    Set(1, fvtSum);
    EXPECT_EQ(Text(0, 0), "Sum");
    EXPECT_EQ(Text(0, 1), "3");
    EXPECT_EQ(Text(1, 1), "") << "the single footer serves the first row only";
    Pump();

    // The footer rows hang from the bottom edge; the data rows stop above them.
    const TRect last = m_db->CellRect(1, m_db->RowCount() + 1);
    EXPECT_LE(300 - last.bottom, 1);
    const TRect sum = m_db->CellRect(1, m_db->RowCount());
    EXPECT_EQ(Shown({sum.right - 4, sum.top + 3}), RgbOf(ColorToRGB(clYellow)));
    const TRect other = m_db->CellRect(2, m_db->RowCount());
    EXPECT_EQ(Shown({other.right - 4, other.top + 3}), SysRgb(COLOR_WINDOW));
    const TRect lastData = m_db->CellRect(1, m_db->RowCount() - 1);
    EXPECT_LE(lastData.bottom, sum.top);

    std::vector<std::string> painted;
    m_db->SetOnGetFooterParams(TGetFooterParamsEventGx::FromFunction(
        [&](TObject*, int dataCol, int row, TColumnGx*, TFont*, TColor& background, TAlignment&, TGridDrawState,
            std::string& text) {
            painted.push_back(std::to_string(dataCol) + ":" + std::to_string(row) + "=" + text);
            if (dataCol == 1)
                background = clAqua;
        }));
    m_db->Invalidate();
    m_db->Update();
    EXPECT_NE(std::find(painted.begin(), painted.end(), "0:1=3"), painted.end());
    EXPECT_NE(std::find(painted.begin(), painted.end(), "1:0=10"), painted.end());
    EXPECT_EQ(Shown({other.right - 4, other.top + 3}), RgbOf(ColorToRGB(clAqua)));
}

} // namespace
