// Keys and mouse of the data grid, driven by injected input.
#include "grid/core/DBGridGx.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"

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
