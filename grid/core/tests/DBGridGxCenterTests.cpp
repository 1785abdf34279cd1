#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxFindDialogHook.h"
#include "grid/core/DBGridGxIndicatorTitle.h"
#include "grid/core/DBGridGxStyle.h"
#include "grid/core/DBGridGxUnit.h"
#include "grid/core/tests/DBGridFixture.h"
#include "tests/support/windows/PopupMenuClicks.h"

#include <chrono>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

class GridCentre : public DBGridFixture {
protected:
    void TearDown() override
    {
        m_unit.reset();
        DBGridFixture::TearDown();
    }

    // The program's start: the grids made from here on register with the style and the centre.
    void StartUnit() { m_unit.emplace(); }

    [[nodiscard]] bool PumpUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Pump();
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }

    [[nodiscard]] static TPopupMenu* SharedMenu()
    {
        return static_cast<TPopupMenu*>(Screen->FindComponent("DBGridGxIndicatorTitlePopupMenu"));
    }

    [[nodiscard]] static std::vector<std::string> Captions(const TMenuItem& items)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < items.Count(); ++i)
            captions.push_back(items.Items(i)->Caption());
        return captions;
    }

    // Opens the indicator title's menu with the mouse and clicks the items named, one a menu level;
    // `whileShown` looks at the screen with the menu up.
    void ChooseFromIndicatorMenu(const std::vector<std::string>& path, const std::function<void()>& whileShown = {})
    {
        std::vector<PopupMenuClick> clicks;
        for (std::size_t level = 0; level < path.size(); ++level) {
            const auto itemsOfLevel = [level, path]() {
                TMenuItem* items = SharedMenu()->Items();
                for (std::size_t i = 0; i < level; ++i)
                    items = items->Find(path[i]);
                return items;
            };
            const std::string caption = path[level];
            clicks.push_back({[itemsOfLevel] { return itemsOfLevel()->Handle(); },
                              [itemsOfLevel, caption] {
                                  return itemsOfLevel()->IndexOf(itemsOfLevel()->Find(caption));
                              }});
        }
        clicks.front().whileShown = whileShown;
        ClickPopupMenuItems(*m_display, m_form->Handle(), std::move(clicks));
        Click(CellCentre(0, 0));
        ASSERT_TRUE(PumpUntil([] { return !PopupMenuClicksPending(); }));
        Pump();
    }

    std::optional<TGridUnitScope> m_unit;
};

TEST_F(GridCentre, TheUnitsStartMakesOneStyleAndOneCentreThatEveryNewGridRegistersWith)
{
    EXPECT_EQ(DefaultGridStyle(), nullptr);
    EXPECT_EQ(GridCenter(), nullptr);
    StartUnit();
    TDBGridGxStyle* style = DefaultGridStyle();
    TDBGridGxCenter* center = GridCenter();
    ASSERT_NE(style, nullptr);
    ASSERT_NE(center, nullptr);
    {
        const TGridUnitScope nested;
        EXPECT_EQ(DefaultGridStyle(), style) << "a nested start makes nothing new";
    }
    EXPECT_EQ(GridCenter(), center) << "nor does its end free anything";

    ShowPeople(3);
    EXPECT_EQ(m_db->Style(), style);
    EXPECT_EQ(m_db->Center(), center);
    EXPECT_TRUE(style->IsGridRegistered(m_db));
    EXPECT_TRUE(center->IsGridRegistered(m_db));

    // A grid freed after the shared menu acted on it: the centre and its menu items forget it.
    auto* other = new TDBGridGx(m_form.get());
    TPopupMenu* menu = center->DoFillIndicatorTitleMenu(*other);
    ASSERT_EQ(menu, SharedMenu());
    delete other;
    EXPECT_EQ(menu->Items()->Find("Visible columns")->Count(), 0) << "its column items went with it";
    for (int i = 0; i < menu->Items()->Count(); ++i)
        EXPECT_EQ(static_cast<TDBGridGxMenuItem*>(menu->Items()->Items(i))->Grid(), nullptr);

    // The unit ends before the grids: they are told and draw on without the style.
    m_unit.reset();
    EXPECT_EQ(DefaultGridStyle(), nullptr);
    EXPECT_EQ(GridCenter(), nullptr);
    EXPECT_EQ(m_db->Style(), nullptr);
    EXPECT_EQ(m_db->Center(), nullptr);
    m_db->Invalidate();
    Pump();
}

// As the program starts the grid unit, a focused grid shades its marked rows by blending.
TEST_F(GridCentre, AGridOfAStartedProgramShadesMarkedRowsWithTheBlendedHighlight)
{
    StartUnit();
    ShowPeople(6);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    ClickWith(CellCentre(1, m_db->TitleOffset() + 1), ModControl);
    ClickWith(CellCentre(1, m_db->TitleOffset() + 3), ModControl);
    ASSERT_TRUE(m_db->Focused());
    ASSERT_EQ(DefaultGridStyle()->ScreenColorCount(), -1);
    const TRect marked = m_db->CellRect(1, m_db->TitleOffset() + 1);
    const auto blended = TDBGridGxStyle::BlendLighter(clWindow, clHighlight, true);
    EXPECT_EQ(Shown({marked.right - 4, marked.top + 2}), RgbOf(ColorToRGB(blended)));
    EXPECT_NE(RgbOf(ColorToRGB(blended)), SysRgb(COLOR_HIGHLIGHT));
}

TEST_F(GridCentre, TheIndicatorMenuListsTitledColumnsAndEnablesTheActionsTheGridTakesAndCanDo)
{
    StartUnit();
    ShowPeople(4);
    m_db->Columns().ColumnAt(1)->Title()->SetCaption("");
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    TPopupMenu* menu = GridCenter()->DoFillIndicatorTitleMenu(*m_db);
    const std::vector<std::string> all{"Visible columns", "Cut", "Copy", "Paste", "Delete", "Select All"};
    EXPECT_EQ(Captions(*menu->Items()), all);
    const TMenuItem& columns = *menu->Items()->Find("Visible columns");
    EXPECT_EQ(Captions(columns), std::vector<std::string>{"Name"}) << "the untitled tick column is left out";
    EXPECT_TRUE(columns.Items(0)->Checked());
    for (int i = 1; i < menu->Items()->Count(); ++i)
        EXPECT_FALSE(menu->Items()->Items(i)->Enabled()) << "no edit actions by default: " << all[i];

    struct Case {
        const char* name;
        TDBGridGxEditActions actions;
        bool rowMarked;
        std::vector<bool> enabled; // Cut, Copy, Paste, Delete, Select All
    };
    const TDBGridGxEditActions every{geaCutGx, geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx};
    const Case cases[] = {
        {"nothing selected", every, false, {false, false, false, false, true}},
        {"a row marked", every, true, {true, true, false, true, true}},
        {"a row marked, only copy taken", {geaCopyGx}, true, {false, true, false, false, false}},
    };
    for (const Case& c : cases) {
        m_db->DataSelection().Clear();
        if (c.rowMarked)
            m_db->SelectedRows().MarkCurrent(true);
        m_db->SetEditActions(c.actions);
        menu = GridCenter()->DoFillIndicatorTitleMenu(*m_db);
        for (int i = 1; i < menu->Items()->Count(); ++i)
            EXPECT_EQ(menu->Items()->Items(i)->Enabled(), c.enabled[i - 1]) << c.name << ": " << all[i];
    }

    // Fewer items asked for, and the grid's own menu after a line.
    GridCenter()->SetMenuItemSet({gmiCopyGx, gmiSelectAllGx});
    TPopupMenu own(m_form.get());
    auto* print = new TMenuItem(&own);
    print->SetCaption("Print");
    print->SetShortCut(ShortCut('P', TShiftState{ssCtrl}));
    own.Items()->Add(print);
    m_db->IndicatorTitle()->SetDropdownMenu(&own);
    menu = GridCenter()->DoFillIndicatorTitleMenu(*m_db);
    EXPECT_EQ(Captions(*menu->Items()), (std::vector<std::string>{"Copy", "Select All", "-", "Print"}));
    EXPECT_EQ(menu->Items()->Items(3)->ShortCut(), print->ShortCut());
    m_db->IndicatorTitle()->SetUseGlobalMenu(false);
    menu = GridCenter()->DoFillIndicatorTitleMenu(*m_db);
    EXPECT_EQ(Captions(*menu->Items()), std::vector<std::string>{"Print"}) << "no line before the first item";
}

TEST_F(GridCentre, TheIndicatorTitleButtonsMenuShowsColumnsAndSelectsAllByMouse)
{
    StartUnit();
    ShowPeople(4);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    m_db->IndicatorTitle()->SetTitleButton(true);
    m_db->SetEditActions({geaSelectAllGx});
    TColumnGx* name = m_db->Columns().ColumnAt(0);
    // The title is drawn pressed while its menu is up, and up again afterwards.
    const std::uint32_t up = Shown({0, 0});
    std::optional<std::uint32_t> down;

    ChooseFromIndicatorMenu({"Visible columns", "Name"}, [&] { down = Shown({0, 0}); });
    EXPECT_FALSE(name->Visible());
    ASSERT_TRUE(down.has_value());
    EXPECT_NE(*down, up);
    EXPECT_EQ(Shown({0, 0}), up);
    EXPECT_FALSE(m_db->IndicatorTitle()->Pressed());
    ChooseFromIndicatorMenu({"Visible columns", "Name"});
    EXPECT_TRUE(name->Visible());

    ChooseFromIndicatorMenu({"Select All"});
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstAll);
}

// Ctrl+F and a changed sort marking go through the centre: to the data set's features when its
// class registered some, else to the library's find dialog and to the centre's own hooks.
TEST_F(GridCentre, FindAndSortingRequestsGoThroughTheCentre)
{
    struct Features : IGridDataSetFeaturesGx {
        bool ExecuteFindDialog(TCustomDBGridGx&, const std::string&, bool) override { return ++finds, true; }
        int finds = 0;
    };
    static Features features;
    static std::vector<TCustomDBGridGx*> dialogs;
    dialogs.clear();
    SetGridFindDialogHook([](TCustomDBGridGx& grid, const std::string&, bool) { dialogs.push_back(&grid); });
    StartUnit();
    ShowPeople(4);
    Key('F', ModControl);
    EXPECT_EQ(dialogs, std::vector<TCustomDBGridGx*>{m_db}) << "no features: the library's dialog";
    SetGridDataSetFeaturesHook([](const TObject*) -> IGridDataSetFeaturesGx* { return &features; });
    Key('F', ModControl);
    SetGridDataSetFeaturesHook(nullptr);
    SetGridFindDialogHook(nullptr);
    EXPECT_EQ(features.finds, 1);
    EXPECT_EQ(dialogs.size(), 1u) << "the features' own dialog instead";

    std::vector<TCustomDBGridGx*> sorted;
    GridCenter()->SetOnApplySorting(TDBGridGxCenterGridEvent::FromFunction([&](TCustomDBGridGx* grid) {
        sorted.push_back(grid);
    }));
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghAutoSortMarking});
    m_db->Columns().ColumnAt(0)->Title()->SetTitleButton(true);
    Click(CellCentre(1, 0));
    EXPECT_EQ(sorted, std::vector<TCustomDBGridGx*>{m_db});
}

// Without the button, a click on the indicator title selects everything or clears the selection.
TEST_F(GridCentre, AnIndicatorTitleWithoutButtonTogglesSelectingAll)
{
    ShowPeople(4);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    Click(CellCentre(0, 0));
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstAll);
    Click(CellCentre(0, 0));
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstNon);
}

} // namespace
