#include "GridTestClasses.h"

#include <string>
#include <vector>

namespace {

class GridEditor : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        m_grid->SetOptions(m_grid->Options() + TGridOptionsGx{goEditing});
        m_grid->Texts[{1, 1}] = "abc";
        m_grid->Texts[{2, 1}] = "xyz";
    }
    [[nodiscard]] TInplaceEdit* Editor() const { return m_grid->InplaceEditor(); }
    [[nodiscard]] bool EditorShown() const { return Editor() && Editor()->IsVisible(); }
};

} // namespace

TEST_F(GridEditor, F2OpensTheEditorOverTheCurrentCellWithTheCaretAtTheEnd)
{
    Key(VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_TRUE(m_grid->EditorMode());
    EXPECT_EQ(Editor()->Text(), "abc");
    EXPECT_EQ(Editor()->Left(), 65);
    EXPECT_EQ(Editor()->Top(), 25);
    EXPECT_EQ(Editor()->Width(), 64);
    EXPECT_EQ(m_grid->InplaceCol(), 1);
    Type("d");
    EXPECT_EQ(Editor()->Text(), "abcd");
    // Every change reaches the grid as it happens.
    EXPECT_EQ(m_grid->EditLog.back(), "1,1=abcd");
}

TEST_F(GridEditor, EnterClosesTheEditorAndHandsTheTextBack)
{
    Key(VK_F2);
    Type("dé");
    Key(VK_RETURN, 0, "\r");
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(m_grid->EditorMode());
    ASSERT_FALSE(m_grid->EditLog.empty());
    EXPECT_EQ(m_grid->EditLog.back(), "1,1=abcdé");
    EXPECT_EQ(m_grid->InplaceCol(), -1);
    Key(VK_RETURN, 0, "\r"); // and opens it again
    EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditor, TypingOnTheGridStartsAnEditThatReplacesTheText)
{
    Type("q");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "q");
    // Escape belongs to the grid: the base grid keeps what was typed.
    Key(VK_ESCAPE, 0, "\x1b");
    EXPECT_EQ(m_grid->KeysSeen.back(), VK_ESCAPE);
    EXPECT_EQ(Editor()->Text(), "q");
    // Leaving the cell hides the editor, giving its text back even when unchanged.
    m_grid->EditLog.clear();
    Key(VK_DOWN);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(m_grid->EditLog, (std::vector<std::string>{"1,1=q"}));
    EXPECT_EQ(m_grid->Row(), 2);
}

TEST_F(GridEditor, AGridThatAnswersNoLimitRefusesEveryChange)
{
    m_grid->EditLimit = -1;
    Key(VK_F2);
    ASSERT_TRUE(EditorShown());
    Type("z");
    Key(VK_BACK, 0, "\b");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Editor()->Text(), "abc");
}

TEST_F(GridEditor, WithTheEditorAlwaysShownArrowsLeaveTheTextOnlyAtItsEnds)
{
    m_grid->SetOptions(m_grid->Options() + TGridOptionsGx{goAlwaysShowEditor});
    ASSERT_TRUE(EditorShown());
    Key(VK_F2);    // caret to the end, nothing selected
    Key(VK_LEFT);  // in the middle: the caret moves
    EXPECT_EQ(m_grid->Col(), 1);
    Key(VK_RIGHT); // back at the end
    Key(VK_RIGHT); // at the end: the next cell
    EXPECT_EQ(m_grid->Col(), 2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "xyz");
    Key(VK_LEFT); // all text selected counts as both ends
    EXPECT_EQ(m_grid->Col(), 1);
    // Enter stays in the editor and only changes the selection.
    EXPECT_EQ(Editor()->SelLength(), 3);
    Key(VK_RETURN, 0, "\r");
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->SelLength(), 0);
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(Editor()->SelLength(), 3);
}
