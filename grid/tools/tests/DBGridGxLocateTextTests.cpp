#include "grid/tools/DBGridGxLocateText.h"

#include "GridToolsFixture.h"
#include "platform/winapi/user/WinUser.h"

#include <gtest/gtest.h>

namespace {

struct LocateCase {
    const char* Name;
    int StartRecord;
    const char* StartField;
    const char* FieldName;  // searched column; "" for the current one
    const char* Text;
    int Options;
    TLocateTextDirectionGx Direction;
    TLocateTextMatchTypeGx Match;
    int FoundRecord;  // 0: not found, and the grid stays where it was
    const char* FoundField;
};

constexpr int Caseless = lsoCaseInsensitiveGx;
constexpr int AllColumns = lsoAllColumnsGx;

const LocateCase LocateCases[] = {
    {"DownSkipsTheCurrentRecord", 1, "NAME", "", "anna", Caseless, ltdDownGx, ltmAnyPartGx, 3, "NAME"},
    {"CaseMatters", 1, "NAME", "", "Anna", 0, ltdDownGx, ltmAnyPartGx, 0, ""},
    {"CaselessWholeField", 5, "NAME", "", "ANNA", Caseless, ltdUpGx, ltmWholeFieldGx, 1, "NAME"},
    {"WholeFieldRefusesParts", 1, "NAME", "", "anna", 0, ltdDownGx, ltmWholeFieldGx, 0, ""},
    {"FromBeginning", 1, "NAME", "", "anna-", 0, ltdDownGx, ltmFromBeginningGx, 3, "NAME"},
    {"FromBeginningRefusesMiddles", 1, "NAME", "", "maria", 0, ltdDownGx, ltmFromBeginningGx, 0, ""},
    {"UpStopsAtTheFirstRecord", 3, "NAME", "", "Dana", 0, ltdUpGx, ltmAnyPartGx, 0, ""},
    {"AllStartsFromTheFirstRecord", 4, "NAME", "", "Anna", 0, ltdAllGx, ltmWholeFieldGx, 1, "NAME"},
    {"NamedFieldInsteadOfTheCurrentColumn", 1, "NAME", "CITY", "paris", Caseless, ltdDownGx, ltmAnyPartGx, 4, "CITY"},
    {"AllColumnsDownWrapsToTheNextRecord", 2, "CITY", "", "anna", Caseless | AllColumns, ltdDownGx, ltmAnyPartGx, 3,
     "NAME"},
    {"AllColumnsUpWrapsToThePriorRecordsLastColumn", 3, "NAME", "", "London", AllColumns, ltdUpGx, ltmAnyPartGx, 2,
     "CITY"},
    {"AllColumnsUpWithinTheFirstRecord", 1, "CITY", "", "Anna", AllColumns, ltdUpGx, ltmWholeFieldGx, 1, "NAME"},
    {"AllColumnsLooksAtTheRestOfTheCurrentRecord", 5, "NAME", "", "Annapolis", AllColumns, ltdDownGx, ltmWholeFieldGx,
     5, "CITY"},
};

class GridLocateTextTest : public GridToolsFixture, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(GridLocateTextTest, FindsOrStaysPut)
{
    const LocateCase& c = GetParam();
    GoTo(c.StartRecord, c.StartField);
    const bool found = GridLocateText(m_grid, c.FieldName, c.Text, c.Options, c.Direction, c.Match);
    Pump();
    EXPECT_EQ(found, c.FoundRecord != 0);
    EXPECT_EQ(RecNo(), found ? c.FoundRecord : c.StartRecord);
    EXPECT_EQ(CurrentField(), found ? c.FoundField : c.StartField);
    EXPECT_FALSE(m_query->ControlsDisabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, GridLocateTextTest, ::testing::ValuesIn(LocateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GridToolsFixture, LocateTextComparesDisplayTextOnlyWhenAsked)
{
    TColumnGx* city = m_grid->ColumnByFieldName("CITY");
    city->KeyList()->SetText("Paris\nLondon");
    city->PickList()->SetText("France\nEngland");
    GoTo(1, "CITY");
    EXPECT_FALSE(GridLocateText(m_grid, "", "England", 0, ltdDownGx, ltmWholeFieldGx));
    EXPECT_TRUE(GridLocateText(m_grid, "", "England", lsoDisplayTextGx, ltdDownGx, ltmWholeFieldGx));
    EXPECT_EQ(RecNo(), 2);
}

TEST_F(GridToolsFixture, LocateTextGivesUpOnAWaitingEscape)
{
    GoTo(1, "NAME");
    (void)PostMessageA(m_grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(GridLocateText(m_grid, "", "Dana", lsoStopOnEscapeGx, ltdDownGx, ltmWholeFieldGx));
    EXPECT_EQ(RecNo(), 1);
    // Without the option the same waiting key changes nothing.
    EXPECT_TRUE(GridLocateText(m_grid, "", "Dana", 0, ltdDownGx, ltmWholeFieldGx));
    Pump();
}

TEST_F(GridToolsFixture, LocateTextNeedsAnOpenDataSetAndVisibleColumns)
{
    EXPECT_FALSE(GridLocateText(nullptr, "", "Anna", 0, ltdAllGx, ltmAnyPartGx));
    for (int i = 0; i < m_grid->Columns().Count(); ++i)
        m_grid->Columns().ColumnAt(i)->SetVisible(false);
    EXPECT_FALSE(GridLocateText(m_grid, "", "Anna", 0, ltdAllGx, ltmAnyPartGx));
    m_query->Close();
    EXPECT_FALSE(GridLocateText(m_grid, "", "Anna", 0, ltdAllGx, ltmAnyPartGx));
}

} // namespace
