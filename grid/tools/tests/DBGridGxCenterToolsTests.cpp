#include "ImpExpFixture.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxIndicatorTitle.h"
#include "grid/core/DBGridGxUnit.h"
#include "grid/tools/DBGridGxCenterTools.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "tests/support/windows/HeadlessWindows.h"
#include "tests/support/windows/PopupMenuClicks.h"

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The data grid of the fixture made again once the grid unit has started, so that it registers
// with the unit's centre as the program's grids do; the centre reaches the tools.
class CentreToolsTest : public ImpExpFixture {
protected:
    void SetUp() override
    {
        ImpExpFixture::SetUp();
        InitializeGridUnit();
        RegisterGridCenterTools();
        m_grid.reset();
        delete m_db;
        m_db = new TDBGridGx(m_form.get());
        m_db->SetParent(m_form.get());
        m_db->SetBounds(0, 0, 400, 250);
        m_db->SetDataSource(m_source.get());
        m_grid = std::make_unique<TTestImpExpGrid>(*m_db);
        ShowPeople();
    }
    void TearDown() override
    {
        ImpExpFixture::TearDown();
        FinalizeGridUnit();
    }
};

TEST_F(CentreToolsTest, CopyFromTheIndicatorTitlesMenuPutsTheMarkedRowsOnTheClipboard)
{
    ASSERT_EQ(m_db->Center(), GridCenter());
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgMultiSelect});
    m_db->SetEditActions({geaCopyGx});
    m_db->IndicatorTitle()->SetTitleButton(true);
    m_query->SetRecNo(2);
    m_db->SelectedRows().MarkCurrent(true);
    Clipboard()->SetAsText("before");

    const auto menu = [] {
        return static_cast<TPopupMenu*>(Screen->FindComponent("DBGridGxIndicatorTitlePopupMenu"))->Items();
    };
    ClickPopupMenuItems(*m_display, m_form->Handle(),
                        {{[menu] { return menu()->Handle(); },
                          [menu] { return menu()->IndexOf(menu()->Find("Copy")); }}});
    const TRect title = m_db->CellRect(0, 0);
    MouseInput(*m_display).Click(m_db->Handle(), POINT{(title.left + title.right) / 2, (title.top + title.bottom) / 2});
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (Clipboard()->AsText() == "before" && std::chrono::steady_clock::now() < deadline) {
        Pump();
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_FALSE(PopupMenuClicksPending());
    EXPECT_EQ(Clipboard()->AsText(), "Name\tNumber\tAMOUNT\r\nBo \"Boss\"\t20\t2.25");
}

} // namespace
