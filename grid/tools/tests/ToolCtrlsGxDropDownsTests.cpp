#include "ToolsFixture.h"

#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const TStrings& strings)
{
    std::vector<std::string> texts;
    for (int i = 0; i < strings.Count(); ++i)
        texts.push_back(strings.Strings(i));
    return texts;
}

class DropDownList : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_list = new TMRUListboxGx(m_form.get());
        m_list->SetItemHeight(16);
        for (const char* item : {"apple", "apricot", "banana", "blueberry", "cherry", "date", "fig", "grape"})
            m_list->Items()->Add(item);
        m_list->SetBounds(100, 100, 150, 3 * 16 + m_list->FrameHeight());
        Show();
    }
    void Show()
    {
        (void)SetWindowPos(m_list->Handle(), HWND_TOPMOST, m_list->Left(), m_list->Top(), m_list->Width(),
                           m_list->Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Pump();
    }
    void Char(char key)
    {
        (void)SendMessageA(m_list->Handle(), WM_CHAR, static_cast<unsigned char>(key), 0);
        Pump();
    }
    void Hover(POINT client)
    {
        m_display->InjectMouseMove(TopLevelId(m_list->Handle()), InTopLevel(m_list->Handle(), client));
        Pump();
    }

    TMRUListboxGx* m_list = nullptr;
};

} // namespace

TEST(MRUList, EnteredTextsMoveToTheEndAndTheOldestGoBeyondTheLimit)
{
    TMRUListGx list(nullptr);
    list.SetLimit(3);
    for (const char* text : {"a", "b", "c"})
        list.AddText(text);
    list.AddText("B");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"a", "c", "b"}));
    list.AddText("d");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"c", "b", "d"}));
    list.AddText("  ");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"c", "b", "d"}));
    list.SetCaseSensitive(true);
    list.AddText("D");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"b", "d", "D"}));

    // A negative limit keeps nothing, and adding still works.
    list.SetLimit(-5);
    EXPECT_EQ(list.Limit(), 0);
    EXPECT_NO_THROW(list.AddText("e"));
    EXPECT_EQ(list.Items()->Count(), 0);
}

TEST(MRUList, MatchingTextsAreCopiedUnlessAKeyWaits)
{
    SelectHeadlessDisplay();
    TMRUListGx list(nullptr);
    for (const char* text : {"Mobile", "modem", "mode", "Ümlaut", "ümlauts", "net"})
        list.AddText(text);
    TStringList target;
    EXPECT_TRUE(list.CopyMatchingItems(target, "MOD"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"modem", "mode"}));
    EXPECT_TRUE(list.CopyMatchingItems(target, "üm"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Ümlaut", "ümlauts"}));
    list.SetCaseSensitive(true);
    EXPECT_TRUE(list.CopyMatchingItems(target, "Mo"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Mobile"}));
    list.SetCaseSensitive(false);
    list.SetOnFilterItem(TFilterItemEventGx::FromFunction(
        [](TObject*, const std::string& item, bool& accept) { accept = item != "mode"; }));
    EXPECT_TRUE(list.CopyMatchingItems(target, "mo"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Mobile", "modem"}));

    TForm form(nullptr);
    (void)PostMessageA(form.Handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(list.CopyMatchingItems(target, "mo"));
    EXPECT_TRUE(target.Count() == 0);
    Application->ProcessMessages();
}

TEST_F(DropDownList, TypingSearchesByPrefixAndAPauseStartsOver)
{
    FakeClock clock;
    Char('a');
    Char('p');
    Char('r');
    EXPECT_EQ(m_list->ItemIndex(), 1); // apricot
    clock.Advance(2500);
    Char('c');
    EXPECT_EQ(m_list->TypedPrefix(), "c");
    EXPECT_EQ(m_list->ItemIndex(), 4); // cherry
    Char('\b');
    EXPECT_EQ(m_list->TypedPrefix(), "");
    for (int i = 0; i < 40; ++i)
        Char('x');
    EXPECT_EQ(m_list->TypedPrefix().size(), 32u);
}

TEST_F(DropDownList, TheHoveredItemIsSelectedAndTheWheelScrollsByOne)
{
    Hover(POINT{20, 16 + 5});
    EXPECT_EQ(m_list->ItemIndex(), 1);
    Hover(POINT{20, 2 * 16 + 5});
    EXPECT_EQ(m_list->ItemIndex(), 2);
    // The selected row is drawn in the highlight colour.
    EXPECT_EQ(ShownPixel(*m_display, m_list->Handle(), POINT{60, 2 * 16 + 1}), SysRgb(COLOR_HIGHLIGHT));

    // The editor passes its wheel on to the list it dropped down.
    (void)SendMessageA(m_list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    Pump();
    EXPECT_EQ(m_list->TopIndex(), 1);
    EXPECT_EQ(m_list->VertBar()->Position(), 1);
}

TEST_F(DropDownList, TheListKeepsWholeRowsAndItsBarOnlyWhenItScrolls)
{
    EXPECT_EQ(m_list->VisibleRows(), 3);
    m_list->SetHeight(static_cast<int>(3.5 * 16) + m_list->FrameHeight());
    EXPECT_EQ(m_list->Height(), 3 * 16 + m_list->FrameHeight());
    EXPECT_TRUE(m_list->VertBar()->Visible());
    EXPECT_FALSE(m_list->Grip()->Triangular());

    m_list->FitRowCount(8);
    EXPECT_EQ(m_list->VisibleRows(), 8);
    Pump();
    EXPECT_FALSE(m_list->VertBar()->Visible());
    EXPECT_TRUE(m_list->Grip()->Triangular());
}

TEST_F(DropDownList, TheGripFollowsTheSideAndDraggingItResizesTheList)
{
    EXPECT_EQ(m_list->Grip()->Corner(), sgcBottomRight);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsTop, 0);
    EXPECT_EQ(m_list->Grip()->Corner(), sgcTopRight);
    EXPECT_EQ(m_list->Grip()->Top(), 0);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsBottom, 0);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsLeft, 0);
    EXPECT_EQ(m_list->Grip()->Corner(), sgcBottomLeft);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsRight, 0);
    ASSERT_EQ(m_list->Grip()->Corner(), sgcBottomRight);
    Pump();

    TSizeGripGx& grip = *m_list->Grip();
    const int width = m_list->Width();
    const POINT inside{grip.Width() - 3, grip.Height() - 3};
    MouseInput mouse(*m_display);
    mouse.Press(grip.Handle(), inside, true);
    Pump();
    mouse.MoveHeld(grip.Handle(), POINT{inside.x + 30, inside.y + 40});
    Pump();
    mouse.Press(grip.Handle(), POINT{inside.x + 30, inside.y + 40}, false);
    Pump();
    EXPECT_EQ(m_list->Width(), width + 30);
    EXPECT_EQ(m_list->VisibleRows(), 5); // 40 more pixels: two more whole rows
    EXPECT_TRUE(m_list->GripResized());
    EXPECT_EQ(grip.Left(), m_list->ClientRect().right - grip.Width());
}

TEST_F(DropDownList, ClickingTheListLeavesTheFocusAndTheActivationWhereTheyWere)
{
    const HWND focused = GetFocus();
    const HWND active = GetActiveWindow();
    MouseInput(*m_display).Click(m_list->Handle(), POINT{20, 5});
    Pump();
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(m_list->ItemIndex(), 0);
}
