// Keys and mouse of the data grid, driven by injected input.
#include "grid/core/DBGridGx.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DBGridInput : public DBGridFixture {
protected:
    // Every question asked is recorded and answered with `answer`.
    void AnswerQuestions(TModalResult answer)
    {
        SetMessageDlgHandler([this, answer](const std::string& text, const std::string&, TMsgDlgType,
                                            TMsgDlgButtons) {
            m_asked.push_back(text);
            return answer;
        });
    }

    [[nodiscard]] std::vector<std::string> StoredNames() const
    {
        auto query = Query("SELECT NAME FROM P ORDER BY ID");
        query->Open();
        std::vector<std::string> names;
        for (; !query->Eof(); query->Next())
            names.push_back(query->FieldByName("NAME")->AsString());
        return names;
    }

    [[nodiscard]] POINT RowCentre(int dataRow) const { return CellCentre(1, m_db->TitleOffset() + dataRow); }

    std::vector<std::string> m_asked;
    // Timers tick only when a test sends WM_TIMER.
    FakeClock m_clock;
};

} // namespace

TEST_F(DBGridInput, ControlDeleteWithMarkedRowsDeletesTheMarkedRows)
{
    ShowPeople(5);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    ClickWith(RowCentre(1), ModControl);
    ClickWith(RowCentre(3), ModControl);
    Key(VK_DOWN); // the current record, 5, is not marked
    ASSERT_EQ(m_db->SelectedRows().BookmarkCount(), 2);

    AnswerQuestions(mrCancel);
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(StoredNames().size(), 5u) << "cancel keeps the records";
    AnswerQuestions(mrOk);
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Name 1", "Name 3", "Name 5"}));
    EXPECT_EQ(m_asked, (std::vector<std::string>{"Delete all selected records?", "Delete all selected records?"}));
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 0);
}

TEST_F(DBGridInput, DraggingATitleMovesItsColumnWithItsWidth)
{
    ShowPeople(5);
    m_db->SetOptions(DefaultDBGridOptions);
    const POINT from = CellCentre(1, 0);
    Press(from, true);
    MoveHeld({from.x + 20, from.y});
    MoveHeld(CellCentre(2, 0));
    m_db->Perform(WM_TIMER, 1, 0); // the drag timer's look at the mouse
    Press(CellCentre(2, 0), false);
    ASSERT_EQ(m_db->Columns().Count(), 2);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->FieldName(), "SEL");
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->FieldName(), "NAME");
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Width(), 40);
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->Width(), 150);
    EXPECT_EQ(m_db->ColumnWidthAt(1), 40);
    EXPECT_EQ(m_db->ColumnWidthAt(2), 150);
}

// The program frees what the grid shows while it is on screen: the grid lets go of it and paints on.
TEST_F(DBGridInput, FreedFieldsImageListsAndMenusAreDroppedAndTheGridPaintsOn)
{
    Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), SEL BOOLEAN)");
    Exec("INSERT INTO P VALUES (1, 'Ann', 1), (2, 'Bob', 0)");
    ShowQuery("SELECT ID, NAME, SEL FROM P ORDER BY ID", [this](TDBGridGx&) {
        m_query->Close();
        for (const auto& [name, type] : {std::pair{"NAME", ftString}, std::pair{"SEL", ftBoolean}}) {
            TField* field = CreateFieldOfType(type, m_query.get());
            field->SetFieldName(name);
            field->SetDataSet(m_query.get());
        }
        m_query->Open();
    });
    ASSERT_EQ(m_db->Columns().Count(), 2);
    auto titleImages = std::make_unique<TCustomImageList>(nullptr, 8, 8);
    auto cellImages = std::make_unique<TCustomImageList>(nullptr, 8, 8);
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    m_db->SetTitleImages(titleImages.get());
    m_db->Columns().ColumnAt(0)->SetImageList(cellImages.get());
    m_db->Columns().ColumnAt(0)->SetPopupMenu(menu.get());
    Pump();

    titleImages.reset();
    cellImages.reset();
    menu.reset();
    m_db->Invalidate();
    Pump();
    EXPECT_EQ(m_db->TitleImages(), nullptr);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->ImageList(), nullptr);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->PopupMenu(), nullptr);

    delete m_query->FieldByName("NAME");
    m_db->Invalidate();
    Pump();
    ASSERT_EQ(m_db->Columns().Count(), 1) << "the grid's own column of the freed field goes";
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->FieldName(), "SEL");
}
