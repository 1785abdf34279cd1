// The data-aware edit hosted by a data grid over one of the grid's cells.
#include "ToolsFixture.h"

#include "grid/core/DBGridGx.h"
#include "grid/tools/DBCtrlsGx.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/rtl/Exceptions.h"

#include <string>
#include <vector>

namespace {

// A grid that keeps what reaches it as the holder, and keeps 'q' and F5 for itself.
class TRecordingGrid : public TDBGridGx {
public:
    using TDBGridGx::TDBGridGx;

    bool EditorMayModify() const override { return MayModify; }
    void EditorKeyDown(TWinControl& editor, WORD& key, TShiftState shift) override
    {
        Seen.push_back("down " + std::to_string(key));
        if (key == VK_F5)
            key = 0;
        TDBGridGx::EditorKeyDown(editor, key, shift);
    }
    void EditorKeyPress(TWinControl& editor, char& key) override
    {
        Seen.push_back(std::string("press ") + key);
        if (key == 'q')
            key = 0;
        TDBGridGx::EditorKeyPress(editor, key);
    }

    void PendingMouseDown(POINT& screenPos, DWORD& time) override
    {
        screenPos = PressPoint;
        time = PressTime;
        PressTime = 0;
    }

    bool MayModify = true;
    std::vector<std::string> Seen;
    POINT PressPoint{};
    DWORD PressTime = 0;
};

class InplaceEdit : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_grid = new TRecordingGrid(m_form.get());
        m_grid->SetParent(m_form.get());
        m_grid->SetBounds(0, 0, 300, 200);
        m_edit = new TDBEditGx(m_form.get());
        m_edit->SetParent(m_grid);
        m_edit->SetVisible(false);
        m_edit->SetInplaceEditHolder(m_grid);
        m_form->SetActiveControl(m_grid);
        Pump();
    }

    TRecordingGrid* m_grid = nullptr;
    TDBEditGx* m_edit = nullptr;
};

TEST_F(InplaceEdit, AHolderMustBeOne)
{
    auto* panel = new TPanel(m_form.get());
    try {
        m_edit->SetInplaceEditHolder(panel);
        ADD_FAILURE() << "a panel hosts no editors";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "InplaceEditHolder have to support IInplaceEditHolderGx interface");
    }
    EXPECT_TRUE(m_edit->HostedMode()) << "the grid still holds it";
    m_edit->SetInplaceEditHolder(nullptr);
    EXPECT_FALSE(m_edit->HostedMode());
}

// Placed over a cell the editor shows there and takes the grid's focus; the grid sees its keys
// first and keeps the ones it zeroes; hidden, the editor gives the focus back.
TEST_F(InplaceEdit, PlacedOverACellItTakesKeysAfterTheGrid)
{
    const TRect cell{40, 20, 140, 40};
    m_edit->PlaceAt(cell);
    EXPECT_TRUE(IsWindowVisible(m_edit->Handle()));
    EXPECT_EQ(m_edit->Left(), cell.left);
    EXPECT_EQ(m_edit->Top(), cell.top);
    EXPECT_EQ(m_edit->Width(), cell.right - cell.left);
    EXPECT_TRUE(m_edit->Focused());

    Type("aq\tb");
    Key(VK_F5);
    EXPECT_EQ(m_edit->Text(), "ab") << "'q' and the Tab stay with the grid";
    EXPECT_NE(std::find(m_grid->Seen.begin(), m_grid->Seen.end(), "press a"), m_grid->Seen.end());
    EXPECT_NE(std::find(m_grid->Seen.begin(), m_grid->Seen.end(), "down " + std::to_string(VK_F5)),
              m_grid->Seen.end());
    EXPECT_EQ(SendMessageA(m_edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, DLGC_WANTTAB)
        << "the grid moves by Tab";

    m_edit->HideEditor();
    EXPECT_FALSE(IsWindowVisible(m_edit->Handle()));
    EXPECT_TRUE(m_grid->Focused());
    m_edit->PlaceAt(TRect{});
    EXPECT_FALSE(IsWindowVisible(m_edit->Handle())) << "an empty place hides it";
}

TEST_F(InplaceEdit, AHolderThatForbidsChangesKeepsTheEditorReadOnly)
{
    m_grid->MayModify = false;
    m_edit->PlaceAt(TRect{40, 20, 140, 40});
    Type("abc");
    EXPECT_EQ(m_edit->Text(), "");
    m_grid->MayModify = true;
    m_edit->PlaceAt(TRect{40, 20, 140, 40});
    Type("abc");
    EXPECT_EQ(m_edit->Text(), "abc");
}

// The press that opened the editor and the first one on it make a double click.
TEST_F(InplaceEdit, TheFirstClickPairsWithThePressThatOpenedTheEditor)
{
    m_edit->PlaceAt(TRect{40, 20, 140, 40});
    int doubles = 0;
    m_edit->SetOnDblClick(TNotifyEvent::FromFunction([&](TObject*) { ++doubles; }));
    const TPoint screen = m_edit->ClientToScreen(TPoint{30, 8});
    m_grid->PressPoint = {screen.x, screen.y};
    m_grid->PressTime = static_cast<DWORD>(GetMessageTime());
    Click(*m_edit, {30, 8});
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(m_grid->PressTime, 0u) << "taken once";
}

// A press on the data grid, then one on the editor it opened over that spot, make a double click;
// a later press on the editor pairs with nothing.
TEST_F(InplaceEdit, APressOnTheDataGridPairsWithTheEditorsFirstPress)
{
    auto* grid = new TDBGridGx(m_form.get());
    grid->SetParent(m_form.get());
    grid->SetBounds(0, 0, 300, 200);
    m_edit->SetInplaceEditHolder(grid);
    m_edit->SetParent(grid);
    int doubles = 0;
    m_edit->SetOnDblClick(TNotifyEvent::FromFunction([&](TObject*) { ++doubles; }));
    Pump();
    Click(*grid, {70, 28});
    m_edit->PlaceAt(TRect{40, 20, 140, 40});
    Pump();
    Press(*m_edit, {30, 8}, true);
    Press(*m_edit, {30, 8}, false);
    EXPECT_EQ(doubles, 1);
    POINT screen{};
    DWORD time = 1;
    grid->PendingMouseDown(screen, time);
    EXPECT_EQ(time, 0u) << "taken once";
}

} // namespace
