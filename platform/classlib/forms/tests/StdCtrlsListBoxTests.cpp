#include "ControlsTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/controls/ListBox.h"

namespace {

class ListBoxTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.SetBounds(40, 40, 320, 240);
        m_list = new TListBox(&m_form);
        m_list->SetBounds(10, 10, 150, 120);
        m_list->SetParent(&m_form);
    }

    void ShowForm()
    {
        m_form.Show();
        Application->ProcessMessages();
    }

    void ClickItem(int index)
    {
        const TRect rect = m_list->ItemRect(index);
        m_display->InjectClick(Id(m_form), InTopLevel(*m_list, POINT{rect.left + 20, (rect.top + rect.bottom) / 2}));
        Application->ProcessMessages();
    }

    void Repaint()
    {
        (void)InvalidateRect(m_list->Handle(), nullptr, TRUE);
        (void)UpdateWindow(m_list->Handle());
    }

    TForm m_form{nullptr};
    TListBox* m_list = nullptr;
};

TEST_F(ListBoxTest, ItemsWaitForTheWindowAndOutliveItsRecreation)
{
    m_list->SetSorted(true);
    m_list->Items()->Add("pear");
    m_list->Items()->AddObject("apple", &m_form);
    m_list->Items()->Add("fig");
    m_list->SetItemIndex(1);
    EXPECT_FALSE(m_list->HandleAllocated());
    EXPECT_EQ(m_list->Items()->CommaText(), "apple,fig,pear");

    ShowForm();
    ASSERT_TRUE(m_list->HandleAllocated());
    EXPECT_EQ(SendMessageA(m_list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(m_list->ItemIndex(), 1);
    EXPECT_EQ(m_list->Items()->Objects(0), &m_form);
    EXPECT_EQ(m_list->Items()->Add("banana"), 1) << "the window sorts what is added";

    m_list->SetSorted(false);
    EXPECT_EQ(m_list->Items()->CommaText(), "apple,banana,fig,pear");
    EXPECT_EQ(m_list->ItemIndex(), 2) << "the selection comes back with the new window";
    EXPECT_EQ(m_list->Items()->Add("cherry"), 4);
    EXPECT_EQ(m_list->Items()->Objects(0), &m_form);
    EXPECT_THROW((void)m_list->Items()->Strings(9), EStringListError);
    m_list->Clear();
    EXPECT_EQ(m_list->Count(), 0);
}

TEST_F(ListBoxTest, ClicksAndDoubleClicksReachTheirEventsOnce)
{
    m_list->Items()->SetCommaText("one,two,three");
    int clicks = 0, doubles = 0;
    m_list->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    m_list->SetOnDblClick(TNotifyEvent::FromFunction([&](TObject*) { ++doubles; }));
    ShowForm();
    FakeClock clock;  // the two clicks come within the double-click time however slow the machine
    ClickItem(1);
    EXPECT_EQ(m_list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    ClickItem(1);
    EXPECT_EQ(doubles, 1);
    m_list->SetItemIndex(2);
    EXPECT_EQ(clicks, 1) << "setting ItemIndex is no click";
}

TEST_F(ListBoxTest, TheListPaintsInItsColour)
{
    m_list->SetColor(clYellow);
    m_list->Items()->Add("one");
    ShowForm();
    EXPECT_TRUE(PumpUntil([&] { return Shown(*m_list, POINT{60, 80}) == Rgb(clYellow); }));
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreMeasuredAndDrawnOnTheCanvas)
{
    m_list->SetStyle(lbOwnerDrawVariable);
    m_list->SetOnMeasureItem(TMeasureItemEvent::FromFunction([](TWinControl*, int index, int& height) { height = 10 + 5 * index; }));
    struct Drawn {
        int index;
        TRect rect;
        TOwnerDrawState state;
        bool canvasReady;
    };
    std::vector<Drawn> drawn;
    m_list->SetOnDrawItem(TDrawItemEvent::FromFunction([&](TWinControl*, int index, TRect rect, TOwnerDrawState state) {
        drawn.push_back({index, rect, state, m_list->Canvas()->HandleAllocated()});
    }));
    m_list->Items()->SetCommaText("a,b,c");
    ShowForm();
    EXPECT_EQ(m_list->ItemRect(2).top, 25);
    EXPECT_EQ(m_list->ItemAtPos(POINT{5, 30}, true), 2);
    EXPECT_EQ(m_list->ItemAtPos(POINT{5, 100}, true), -1);
    EXPECT_EQ(m_list->ItemAtPos(POINT{5, 100}, false), 3) << "below the items: the count";
    EXPECT_EQ(m_list->ItemAtPos(POINT{-5, 5}, false), -1);

    m_list->SetItemIndex(1);
    drawn.clear();
    Repaint();
    ASSERT_EQ(drawn.size(), 3U);
    EXPECT_TRUE(drawn[1].state.Contains(odSelected));
    EXPECT_FALSE(drawn[0].state.Contains(odSelected));
    EXPECT_EQ(drawn[2].rect.bottom, 45);
    EXPECT_TRUE(drawn[0].canvasReady);
    EXPECT_FALSE(m_list->Canvas()->HandleAllocated()) << "the canvas lets go of the item's DC";
}

TEST_F(ListBoxTest, VirtualListsAskOnDataForWhatTheyShow)
{
    m_list->SetStyle(lbVirtual);
    m_list->SetItemHeight(20);
    std::vector<int> asked;
    m_list->SetOnData(TLBGetDataEvent::FromFunction([&](TWinControl*, int index, std::string& text) {
        asked.push_back(index);
        text = "row " + std::to_string(index);
    }));
    m_list->SetCount(100000);
    ShowForm();
    EXPECT_EQ(m_list->Count(), 100000);
    m_list->SetTopIndex(500);
    asked.clear();
    Repaint();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), 500);
    EXPECT_LE(asked.size(), 7U);

    TListBox plain(nullptr);
    EXPECT_THROW(plain.SetCount(3), EInvalidOperation);
}

TEST_F(ListBoxTest, FormDataDescribesTheList)
{
    RegisterClasses({TListBox::StaticClass()});
    TComponent root(nullptr);
    ReadComponentText("object Root: TComponent\n"
                      "  object LBName: TListBox\n"
                      "    ItemHeight = 20\n"
                      "    ItemIndex = 1\n"
                      "    Items.Strings = (\n"
                      "      'Mary'\n"
                      "      'Adam')\n"
                      "    Sorted = True\n"
                      "    Style = lbOwnerDrawFixed\n"
                      "  end\n"
                      "end\n",
                      &root);
    auto* list = dynamic_cast<TListBox*>(root.FindComponent("LBName"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Sorted());
    EXPECT_EQ(list->Style(), lbOwnerDrawFixed);
    EXPECT_EQ(list->ItemHeight(), 20);
    EXPECT_EQ(list->Items()->CommaText(), "Adam,Mary");
    EXPECT_EQ(list->ItemIndex(), 1);
}

} // namespace
