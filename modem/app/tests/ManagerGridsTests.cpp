#include "modem/app/ManagerGrids.h"
#include "modem/store/ModemDatabase.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/rtl/DateTime.h"
#include "tests/support/TempDir.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// One list of the main window on a form of its own, over the manager's database in a temporary
// folder; the grid is not focused, so no row is highlighted.
class ManagerGridTest : public ::testing::Test {
protected:
    ManagerGridTest()
    {
        m_display = &SelectHeadlessDisplay();
        RegisterModemDatabase();
        m_form->SetBounds(10, 10, 440, 320);
        m_grid = new TDBGridGx(m_form.get());
        m_grid->SetParent(m_form.get());
        m_grid->SetBounds(0, 0, 420, 300);
    }

    ~ManagerGridTest() override
    {
        m_form.reset();
        Application->ProcessMessages();
    }

    void Show(TModemQuery table, TManagerList list)
    {
        m_query->SQL()->SetText(std::string(ModemQueryInfo(table).sql));
        OpenModemQuery(*m_query, m_dir.Path().string() + "/");
        m_source->SetDataSet(m_query.get());
        SetUpManagerGrid(*m_grid, list, *m_source);
        m_form->Show();
        Application->ProcessMessages();
    }

    void AddMessage(const std::string& name, bool unread, int minutesAgo)
    {
        m_query->Append();
        m_query->FieldByName("NAME")->SetAsString(name);
        m_query->FieldByName("NUM")->SetAsString("555");
        m_query->FieldByName("TEXT")->SetAsString("text");
        m_query->FieldByName("DT")->SetAsDateTime(Now() - minutesAgo / 1440.0);
        m_query->FieldByName("R")->SetAsBoolean(unread);
        m_query->Post();
        m_query->Close();
        m_query->Open();
        Application->ProcessMessages();
    }

    [[nodiscard]] std::uint32_t Shown(POINT client) const { return ShownPixel(*m_display, m_grid->Handle(), client); }
    [[nodiscard]] static std::uint32_t Rgb(TColor colour) { return RgbOf(ColorToRGB(colour)); }

    TempDir m_dir;
    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form = std::make_unique<TForm>(nullptr);
    TDBGridGx* m_grid = nullptr;
    std::unique_ptr<TADOQuery> m_query = std::make_unique<TADOQuery>(nullptr);
    std::unique_ptr<TDataSource> m_source = std::make_unique<TDataSource>(nullptr);
};

struct ColumnFacts {
    std::string title;
    std::string field;
    int width;
    bool readOnly;
    bool operator==(const ColumnFacts&) const = default;
};

std::vector<ColumnFacts> ColumnsOf(TDBGridGx& grid)
{
    std::vector<ColumnFacts> facts;
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        TColumnGx* column = grid.Columns().ColumnAt(i);
        facts.push_back({column->Title()->Caption(), column->FieldName(), column->Width(), column->ReadOnly()});
    }
    return facts;
}

TEST_F(ManagerGridTest, TheInboxHasItsColumnsAndColoursItsRowsWithTheirNumbersInTheFirstColumn)
{
    Show(TModemQuery::QIB, TManagerList::Inbox);
    const std::vector<ColumnFacts> expected = {{"No.", "", 30, true},
                                               {"Unread", "R", 43, true},
                                               {"Name", "NAME", 84, true},
                                               {"Number", "NUM", 86, true},
                                               {"Time", "DT", 128, true}};
    EXPECT_EQ(ColumnsOf(*m_grid), expected);
    EXPECT_EQ(m_grid->Columns().ColumnAt(0)->Field(), nullptr) << "the record number has no field";
    EXPECT_TRUE(m_grid->Options().Contains(dgRowSelect));
    EXPECT_TRUE(m_grid->Options().Contains(dgConfirmDelete));

    AddMessage("read old", false, 30);
    AddMessage("read new", false, 10);
    AddMessage("unread", true, 20);
    AddMessage("read oldest", false, 40);
    ASSERT_EQ(m_query->RecordCount(), 4);
    // The current row is highlighted when the grid has the focus: keep it off the rows looked at.
    m_query->Last();
    Application->ProcessMessages();
    const int top = m_grid->TitleOffset();
    const auto background = [&](int row) {
        const TRect cell = m_grid->CellRect(3, top + row);
        return Shown({cell.right - 4, cell.top + 2});
    };
    EXPECT_EQ(background(0), Rgb(clMenuHighlight)) << "unread first, in the menu-highlight colour";
    EXPECT_EQ(background(1), Rgb(clMoneyGreen)) << "record 2";
    EXPECT_EQ(background(2), Rgb(clSkyBlue)) << "record 3";

    const auto numberInk = [&](int row) {
        const TRect cell = m_grid->CellRect(1, top + row);
        int ink = 0;
        for (int x = cell.left + 3; x < cell.right - 1; ++x)
            for (int y = cell.top + 2; y < cell.bottom - 1; ++y)
                ink += Shown({x, y}) != background(row) ? 1 : 0;
        return ink;
    };
    EXPECT_GT(numberInk(1), 0) << "the record number is written";
    const TRect unread = m_grid->CellRect(3, top);
    int lightInk = 0;
    int darkInk = 0;
    for (int x = unread.left + 2; x < unread.right - 2; ++x) {
        for (int y = unread.top + 2; y < unread.bottom - 2; ++y) {
            lightInk += Shown({x, y}) == Rgb(clHighlightText) ? 1 : 0;
            darkInk += Shown({x, y}) == Rgb(clWindowText) ? 1 : 0;
        }
    }
    EXPECT_GT(lightInk, 0) << "an unread row's text reads on the highlight";
    EXPECT_EQ(darkInk, 0);
}

TEST_F(ManagerGridTest, ThePhonebookTicksAndTheCallLogsDurationAreTheOnlyWritableColumns)
{
    Show(TModemQuery::QAll, TManagerList::PhonebookGroup);
    const std::vector<ColumnFacts> phonebook = {
        {"No.", "", 34, true}, {" ", "SEL", 25, false}, {"Name", "NAME", 159, true}, {"Number", "NUM", 135, true}};
    EXPECT_EQ(ColumnsOf(*m_grid), phonebook);

    SetUpManagerGrid(*m_grid, TManagerList::CallLog, *m_source);
    const std::vector<ColumnFacts> calls = {{"No.", "", 33, true},
                                            {"Name", "NAME", 78, true},
                                            {"Number", "NUM", 80, true},
                                            {"Time", "DT", 128, true},
                                            {"Duration", "DUR", 54, false}};
    EXPECT_EQ(ColumnsOf(*m_grid), calls) << "set up again, the columns are replaced";
    Application->ProcessMessages();
    EXPECT_EQ(m_grid->Columns().ColumnAt(4)->Field(), nullptr) << "PB has no DUR: a blank column, no error";
}

// The widest time a list shows (two-digit month, day and hour) fits its Time column whole, the
// "AM" or "PM" included.
TEST_F(ManagerGridTest, EveryTimeColumnHoldsTheWidestTime)
{
    Show(TModemQuery::QIB, TManagerList::Inbox);
    const std::string widest = DateTimeToStr(EncodeDate(2026, 12, 28) + EncodeTime(12, 58, 58, 0));
    ASSERT_TRUE(widest.ends_with(" PM")) << widest;
    const int needed = m_grid->Canvas()->TextWidth(widest) + 4; // the cell's margins
    for (const TManagerList list : {TManagerList::Inbox, TManagerList::Outbox, TManagerList::SentBox,
                                    TManagerList::CallLog, TManagerList::MissedCalls}) {
        SetUpManagerGrid(*m_grid, list, *m_source);
        const TColumnGx* time = m_grid->Columns().ColumnAt(m_grid->Columns().Count() - 1);
        if (time->FieldName() != "DT")
            time = m_grid->Columns().ColumnAt(m_grid->Columns().Count() - 2);
        ASSERT_EQ(time->FieldName(), "DT");
        EXPECT_GE(time->Width(), needed) << static_cast<int>(list);
    }
}

TEST(PhonebookGroupFilter, EachGroupTabFiltersItsGroupAndAllShowsEveryone)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, ""}, {1, "(GROUP = 1)"}, {2, "(GROUP = 2)"}, {3, "(GROUP = 3)"}, {4, ""}, {-1, ""}};
    for (const auto& [tab, filter] : cases)
        EXPECT_EQ(PhonebookGroupFilter(tab), filter) << tab;
}

TEST_F(ManagerGridTest, NoListDeletesOrAddsRowsOfItsOwnAccord)
{
    Show(TModemQuery::QAll, TManagerList::PhonebookAll);
    for (TManagerList list : {TManagerList::PhonebookAll, TManagerList::PhonebookGroup, TManagerList::Inbox,
                              TManagerList::Outbox, TManagerList::SentBox, TManagerList::Templates,
                              TManagerList::CallLog, TManagerList::MissedCalls}) {
        SetUpManagerGrid(*m_grid, list, *m_source);
        EXPECT_EQ(m_grid->AllowedOperations(), TDBGridGxAllowedOperations{alopUpdateGx}) << static_cast<int>(list);
    }
}

} // namespace
