#include "controls/KvTabsPages.h"

#include "controls/KvFloatingDockHost.h"

#include "KvFormFixture.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A form whose page control, loaded from form data, logs its events.
class TPagesTestForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TPagesTestForm(TComponent* owner) : TForm(owner) {}

    std::vector<std::string> Events;

    void PagesChanging(TObject*, int index, bool&) { Events.push_back("changing " + std::to_string(index)); }
    void PagesChanged(TObject*) { Events.push_back("change"); }
    void PageChanged(TObject*) { Events.push_back("page"); }
};

namespace {

void DescribePagesTestForm(TClassBuilder& c)
{
    c.Method("PagesChanging", &TPagesTestForm::PagesChanging);
    c.Method("PagesChanged", &TPagesTestForm::PagesChanged);
    c.Method("PageChanged", &TPagesTestForm::PageChanged);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TPagesTestForm, TForm, ComponentCreator<TPagesTestForm>, DescribePagesTestForm)

namespace {

// A page control of three pages ("One", "Two", "Three") on a shown form, events logged.
class PageControlTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvPageControlClasses();
        m_pages = Add<TKvPageControl>(TRect{10, 10, 310, 160});
        m_pages->SetUseGradients(false);
        for (const char* caption : {"One", "Two", "Three"}) {
            auto* sheet = new TKvTabSheet(m_form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(m_pages);
        }
        m_pages->SetOnChanging(TKvTabChangingEvent::FromFunction([this](TObject*, int index, bool& allow) {
            m_log.push_back("changing " + std::to_string(index));
            allow = !m_refuse;
        }));
        m_pages->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { m_log.push_back("change"); }));
        m_pages->SetOnPageChange(TNotifyEvent::FromFunction([this](TObject*) { m_log.push_back("page"); }));
        m_pages->SetOnTabOrderChange(TKvTabOrderChangeEvent::FromFunction(
            [this](TObject*, int from, int to) { m_log.push_back("order " + std::to_string(from) + ">" + std::to_string(to)); }));
        m_pages->SetActivePage(Page(0));
        ShowForm();
        m_log.clear();
    }
    [[nodiscard]] TKvTabSheet* Page(int index) const { return m_pages->Pages(index); }
    // The middle of a tab on the page control.
    [[nodiscard]] POINT TabCentre(int tab) const
    {
        const TRect rect = m_pages->TabRect(tab);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void ClickTab(int tab) { ClickInWindow(*m_pages, TabCentre(tab)); }
    [[nodiscard]] std::vector<std::string> ShownPages() const
    {
        std::vector<std::string> shown;
        for (int i = 0; i < m_pages->PageCount(); ++i)
            if (Page(i)->Visible())
                shown.push_back(Page(i)->Caption());
        return shown;
    }

    TKvPageControl* m_pages = nullptr;
    std::vector<std::string> m_log;
    bool m_refuse = false;
};

using Log = std::vector<std::string>;

TEST_F(PageControlTest, ClickingATabShowsItsPageAndTellsInOrder)
{
    ClickTab(2);
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    EXPECT_EQ(m_pages->TabIndex(), 2);
    EXPECT_EQ(ShownPages(), (std::vector<std::string>{"Three"}));
    EXPECT_EQ(m_log, (Log{"changing 2", "change", "page"}));

    m_log.clear();
    m_pages->SetActivePage(Page(2));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(PageControlTest, ARefusedChangeKeepsThePageAndTheScreenAgrees)
{
    m_refuse = true;
    ClickTab(1);
    m_pages->SetActivePage(Page(2));
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    EXPECT_EQ(m_pages->TabIndex(), 0);
    EXPECT_EQ(ShownPages(), (std::vector<std::string>{"One"}));
    EXPECT_EQ(m_log, (Log{"changing 1", "changing 2"}));
}

TEST_F(PageControlTest, DisabledTabsAndOutOfRangeIndexesAreRefusedQuietly)
{
    Page(1)->SetTabEnabled(false);
    ClickTab(1);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    m_pages->SetTabIndex(5);
    EXPECT_EQ(m_pages->TabIndex(), -1);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(PageControlTest, CtrlTabCyclesThroughPagesWithVisibleTabs)
{
    Page(1)->SetTabVisible(false);
    Focus(*m_pages);
    Key(VK_TAB, ModControl);
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    Key(VK_TAB, ModControl);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    Key(VK_TAB, ModControl | ModShift);
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    EXPECT_EQ(m_pages->TabIndex(), 1);
    EXPECT_TRUE(m_pages->Focused());
}

TEST_F(PageControlTest, ArrowsStepOverDisabledTabs)
{
    Page(1)->SetTabEnabled(false);
    Focus(*m_pages);
    Key(VK_RIGHT);
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    Key(VK_RIGHT);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    Key(VK_END);
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    Key(VK_HOME);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
}

TEST_F(PageControlTest, PagesAddedMovedAndFreedAtRunTime)
{
    auto* extra = new TKvTabSheet(m_form.get());
    extra->SetCaption("Four");
    extra->SetPageControl(m_pages);
    EXPECT_EQ(m_pages->Tabs().Count(), 4);
    EXPECT_EQ(extra->PageIndex(), 3);

    extra->SetPageIndex(0);
    // The active page's tab moved along, which is a change of TabIndex.
    EXPECT_EQ(m_log, (Log{"change", "page", "order 3>0"}));
    EXPECT_EQ(m_pages->Tabs().Item(0)->Caption, "Four");
    EXPECT_EQ(m_pages->TabIndex(), 1);
    EXPECT_EQ(m_pages->ActivePage(), Page(1));
    try {
        extra->SetPageIndex(4);
        ADD_FAILURE();
    } catch (const EKvTabControlError& error) {
        EXPECT_EQ(error.Message(), "4 is an invalid PageIndex value. PageIndex must be between 0 and 3");
    }
    EXPECT_EQ(extra->PageIndex(), 0);

    TKvTabSheet* active = m_pages->ActivePage();
    delete active;
    Pump();
    EXPECT_EQ(m_pages->PageCount(), 3);
    EXPECT_EQ(m_pages->ActivePage(), nullptr);
    EXPECT_EQ(m_pages->TabIndex(), -1);
    while (m_pages->PageCount() > 0)
        delete m_pages->Pages(0);
    Pump();
    EXPECT_EQ(m_pages->Tabs().Count(), 0);
}

TEST_F(PageControlTest, PagesWithoutTabsAreStillShownByActivePage)
{
    m_pages->HideAllTabs();
    EXPECT_EQ(m_pages->TabIndex(), -1);
    EXPECT_EQ(m_pages->ActivePage(), Page(0));
    m_log.clear();
    m_pages->SetActivePage(Page(1));
    EXPECT_EQ(ShownPages(), (std::vector<std::string>{"Two"}));
    EXPECT_EQ(m_log, (Log{"page"}));
    EXPECT_EQ(m_pages->TabIndex(), -1);
    Pump();
    // No tab is drawn; the card's frame goes round the whole control.
    EXPECT_EQ(Shown(*m_pages, POINT{0, 0}), Rgb(clBtnShadow));
    EXPECT_EQ(Shown(*m_pages, POINT{150, 0}), Rgb(clBtnShadow));
}

TEST_F(PageControlTest, FocusGoesIntoAPageWithoutATab)
{
    m_pages->HideAllTabs();
    auto* button = new TButton(m_form.get());
    button->SetParent(Page(0));
    button->SetBounds(10, 10, 80, 24);
    auto* elsewhere = Add<TButton>(TRect{10, 200, 90, 224});
    Focus(*elsewhere);
    m_pages->SetFocus();
    Pump();
    EXPECT_TRUE(button->Focused());
}

TEST_F(PageControlTest, ThePageTakesTheCardsClientArea)
{
    const int fixed = m_pages->FixedDimension();
    EXPECT_GT(fixed, 0);
    EXPECT_EQ(Page(0)->Left(), 1);
    EXPECT_EQ(Page(0)->Top(), fixed + 1);
    EXPECT_EQ(Page(0)->Width(), 300 - 1 - 2 - 1);
}

TEST_F(PageControlTest, APageOfItsOwnColourColoursItsTabAndTheCard)
{
    m_pages->SetShowFocusRect(false); // the focus rectangle runs along the tab's foot
    Page(1)->SetColor(clRed);
    EXPECT_TRUE(m_pages->UseColoredTabs());
    ClickTab(1);
    Pump();
    const TRect tab = m_pages->TabRect(1);
    EXPECT_EQ(Shown(*m_pages, POINT{(tab.left + tab.right) / 2, tab.bottom - 2}), Rgb(clRed));
    EXPECT_EQ(Shown(*Page(1), POINT{20, 20}), Rgb(clRed));

    // Only the page control shows and hides pages.
    try {
        Page(0)->SetVisible(true);
        ADD_FAILURE();
    } catch (const EKvTabControlError& error) {
        EXPECT_EQ(error.Message(), "You cannot change the Visible property of a page");
    }
    EXPECT_FALSE(Page(0)->Visible());
}

constexpr const char* PagesForm = R"(object Holder: TForm
  object Pages: TKvPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 150
    ActivePage = Second
    FixedDimension = 0
    object First: TKvTabSheet
      Caption = 'First'
      TabVisible = False
    end
    object Second: TKvTabSheet
      Caption = 'Second'
      TabVisible = False
    end
  end
end
)";

TEST_F(PageControlTest, FormDataLoadsPagesAndTheStoredActivePage)
{
    TForm holder(nullptr);
    (void)ReadComponentText(PagesForm, &holder);
    auto* pages = dynamic_cast<TKvPageControl*>(holder.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), holder.FindComponent("Second"));
    EXPECT_FALSE(pages->Pages(0)->Visible());
    EXPECT_TRUE(pages->Pages(1)->Visible());
    EXPECT_EQ(pages->TabIndex(), -1);

    const std::string text = WriteComponentText(&holder);
    EXPECT_NE(text.find("FixedDimension"), std::string::npos);
    TForm copy(nullptr);
    (void)ReadComponentText(text, &copy);
    EXPECT_EQ(WriteComponentText(&copy), text);
}

TEST_F(PageControlTest, TheDefaultPageWinsOverTheStoredOneAfterLoading)
{
    std::string text = PagesForm;
    text.replace(text.find("    FixedDimension"), 0, "    ActivePageDefault = First\n");
    TForm holder(nullptr);
    (void)ReadComponentText(text, &holder);
    auto* pages = dynamic_cast<TKvPageControl*>(holder.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->ActivePage(), holder.FindComponent("First"));
    EXPECT_TRUE(pages->Pages(0)->Visible());
    EXPECT_FALSE(pages->Pages(1)->Visible());
}

constexpr const char* TabbedPagesForm = R"(object Holder: TPagesTestForm
  object Pages: TKvPageControl
    Width = 300
    Height = 150
    ActivePage = Second
    OnChanging = PagesChanging
    OnChange = PagesChanged
    OnPageChange = PageChanged
    object First: TKvTabSheet
      Caption = 'First'
    end
    object Second: TKvTabSheet
      Caption = 'Second'
    end
  end
end
)";

TEST_F(PageControlTest, LoadingShowsOnlyThePickedPageOfVisibleTabsAndTellsNoOne)
{
    for (const bool withDefault : {false, true}) {
        SCOPED_TRACE(withDefault ? "default page" : "stored page");
        std::string text = TabbedPagesForm;
        if (withDefault)
            text.replace(text.find("    OnChanging"), 0, "    ActivePageDefault = First\n");
        TPagesTestForm holder(nullptr);
        (void)ReadComponentText(text, &holder);
        auto* pages = dynamic_cast<TKvPageControl*>(holder.FindComponent("Pages"));
        ASSERT_NE(pages, nullptr);
        const int picked = withDefault ? 0 : 1;
        EXPECT_EQ(pages->ActivePage(), pages->Pages(picked));
        EXPECT_EQ(pages->TabIndex(), picked);
        EXPECT_TRUE(pages->Pages(picked)->Visible());
        EXPECT_FALSE(pages->Pages(1 - picked)->Visible());
        EXPECT_EQ(holder.Events, Log{});
        delete pages; // before the form's handlers go with it
    }
}

TEST_F(PageControlTest, TheCloseButtonFreesTheActivePageAndSelectsTheOneBefore)
{
    m_pages->SetShowCloseButton(true);
    m_pages->SetOnClose(TKvTabCloseEvent::FromFunction([](TObject*, bool& allow) { allow = true; }));
    ClickTab(2);
    Pump();
    TKvTabCloseButton* close = m_pages->CloseButton();
    Click(*close, POINT{3, 3});
    ASSERT_EQ(m_pages->PageCount(), 2);
    EXPECT_EQ(m_pages->ActivePage(), Page(1));
    EXPECT_EQ(ShownPages(), (std::vector<std::string>{"Two"}));
}

TEST_F(PageControlTest, TheMenuButtonListsTheVisibleTabsAndChoosingOneSelectsIt)
{
    Page(1)->SetTabVisible(false);
    m_pages->SetShowMenuButton(true);
    Pump();
    TKvTabMenuButton* menuButton = m_pages->MenuButton();
    ASSERT_NE(menuButton, nullptr);
    // The menu runs its own loop: Escape ends it once it is up.
    menuButton->Menu().SetOnPopup(
        TNotifyEvent::FromFunction([this](TObject*) { m_display->InjectKeyPress(FormId(), VK_ESCAPE); }));
    Click(*menuButton, POINT{3, 3});
    TMenuItem* items = menuButton->Menu().Items();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Items(0)->Caption(), "One");
    EXPECT_TRUE(items->Items(0)->Checked());
    EXPECT_EQ(items->Items(1)->Caption(), "Three");
    m_log.clear();
    items->Items(1)->Click();
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    EXPECT_EQ(m_log, (Log{"changing 1", "change", "page"})) << "through the normal selection";
}

TEST_F(PageControlTest, ADraggedTabMovesItsPageWhereItIsDropped)
{
    m_pages->SetAllowTabDragging(true);
    Press(*m_pages, TabCentre(0), true);
    MoveHeld(*m_pages, POINT{TabCentre(0).x + 8, TabCentre(0).y});
    EXPECT_EQ(m_pages->DropTarget(), -1) << "the dragged tab itself is no target";
    MoveHeld(*m_pages, TabCentre(2));
    EXPECT_EQ(m_pages->DropTarget(), 2);
    MoveHeld(*m_pages, POINT{m_pages->Width() - 10, m_pages->Height() - 10});
    MoveHeld(*m_pages, TabCentre(2));
    Press(*m_pages, TabCentre(2), false);
    EXPECT_EQ(m_pages->DropTarget(), -1);
    EXPECT_EQ(Page(2)->Caption(), "One");
    EXPECT_EQ(m_pages->ActivePage(), Page(2));
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.back(), "order 0>2");

    m_log.clear();
    Press(*m_pages, TabCentre(2), true);
    MoveHeld(*m_pages, POINT{m_pages->Width() - 10, m_pages->Height() - 10});
    Press(*m_pages, POINT{m_pages->Width() - 10, m_pages->Height() - 10}, false);
    EXPECT_TRUE(m_log.empty()) << "dropped off every tab, nothing moves";
}

TEST_F(PageControlTest, ADockedControlGetsAPageThatFollowsItAndGoesWhenItLeaves)
{
    m_pages->SetDockSite(true);
    auto* client = new TPanel(m_form.get());
    client->SetDragKind(dkDock);
    client->ManualDock(m_pages);
    Pump();
    ASSERT_EQ(m_pages->PageCount(), 4);
    TKvTabSheet* page = Page(3);
    EXPECT_EQ(client->Parent(), page);
    EXPECT_EQ(client->Align(), alClient);
    EXPECT_EQ(m_pages->ActivePage(), page);

    client->SetText("Log\r\nof the day");
    EXPECT_EQ(page->Caption(), "Log");
    client->SetVisible(false);
    EXPECT_FALSE(page->TabVisible());
    client->SetVisible(true);
    EXPECT_TRUE(page->TabVisible());

    // Dragged by its tab onto another dock site, the control goes there and its page goes.
    auto* other = Add<TPanel>(TRect{10, 170, 310, 230});
    other->SetDockSite(true);
    Pump();
    Press(*m_pages, TabCentre(3), true);
    MoveHeld(*m_pages, POINT{150, 190});
    Press(*m_pages, POINT{150, 190}, false);
    EXPECT_EQ(client->HostDockSite(), other);
    EXPECT_EQ(m_pages->PageCount(), 3);

    // Docked again, a double click on its tab floats it in a window of its own, where it stood
    // on the screen; docked back, it leaves that window, which goes.
    client->ManualDock(m_pages);
    Pump();
    const TPoint stood = client->ClientToScreen(TPoint{0, 0});
    Click(*m_pages, TabCentre(3));
    Click(*m_pages, TabCentre(3));
    Pump();
    auto* host = dynamic_cast<TKvFloatingDockHost*>(client->HostDockSite());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(client->Parent(), host);
    EXPECT_TRUE(host->Visible());
    EXPECT_TRUE(client->Showing());
    const TPoint now = client->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(now.x, stood.x);
    EXPECT_EQ(now.y, stood.y);
    EXPECT_EQ(host->ClientWidth(), client->Width());
    EXPECT_EQ(m_pages->PageCount(), 3);
    const TControlLife hostLife(*host);
    client->ManualDock(m_pages);
    Pump();
    EXPECT_EQ(client->HostDockSite(), m_pages);
    EXPECT_FALSE(hostLife.Stands());
    delete client;
}

} // namespace
