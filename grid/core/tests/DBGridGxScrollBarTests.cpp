#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

// A grid over a data set that gives no record numbers (a server cursor, say).
class TUnnumberedGrid : public TDBGridGx {
public:
    using TDBGridGx::TDBGridGx;
    bool RecordsNumbered() const override { return false; }
};

class ScrollBarFixture : public DBGridFixture {
protected:
    [[nodiscard]] SCROLLINFO VertInfo() const
    {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        (void)GetScrollInfo(m_db->Handle(), SB_VERT, &info);
        return info;
    }

    [[nodiscard]] DWORD OwnBarState() const
    {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        (void)GetScrollBarInfo(m_db->Handle(), OBJID_VSCROLL, &info);
        return info.rgstate[0];
    }
    [[nodiscard]] bool OwnBarShown() const { return (OwnBarState() & STATE_SYSTEM_INVISIBLE) == 0; }

    void Thumb(int position)
    {
        (void)SendMessageA(m_db->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
        Pump();
    }

    void ShowUnnumbered(int rows)
    {
        ShowPeople(rows);
        m_db->SetVisible(false);
        auto* grid = new TUnnumberedGrid(m_form.get());
        grid->SetParent(m_form.get());
        grid->SetBounds(0, 0, 400, 300);
        grid->SetOptions(ManagerOptions);
        grid->SetDataSource(m_source.get());
        m_db = grid;
        m_target = grid;
        m_form->SetActiveControl(grid);
        Pump();
    }
};

TEST_F(ScrollBarFixture, WithoutRecordNumbersTheBarHasThreePositionsAndTheThumbFive)
{
    ShowUnnumbered(100);
    const SCROLLINFO first = VertInfo();
    EXPECT_EQ(first.nMin, 0);
    EXPECT_EQ(first.nMax, 4);
    EXPECT_EQ(first.nPos, 0);
    const int page = VisibleRows();
    struct Case {
        int Position;
        int RecNoBefore;
        int RecNoAfter;
        int BarAfter;
    };
    const Case cases[] = {
        {4, 1, 100, 4},
        {0, 100, 1, 0},
        {3, 1, 1 + page, 2},
        {1, 2 + page, 2, 2},
        {2, 50, 50, 2},
    };
    for (const Case& c : cases) {
        m_query->SetRecNo(c.RecNoBefore);
        Pump();
        Thumb(c.Position);
        EXPECT_EQ(RecNo(), c.RecNoAfter) << c.Position;
        EXPECT_EQ(VertInfo().nPos, c.BarAfter) << c.Position;
    }
}

TEST_F(ScrollBarFixture, TheThumbNamesTheRecordAndATrackedDragIsTakenOnce)
{
    ShowPeople(100);
    const int page = VisibleRows();
    EXPECT_EQ(VertInfo().nMin, 1);
    EXPECT_EQ(VertInfo().nMax, 100 + page - 1);
    for (const auto& [position, recNo] : {std::pair{40, 40}, std::pair{1, 1}, std::pair{0, 1}, std::pair{100, 100},
                                          std::pair{130, 100}}) {
        Thumb(position);
        EXPECT_EQ(RecNo(), recNo) << position;
    }
    m_db->VertScrollBar()->SetTracking(true);
    (void)SendMessageA(m_db->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(RecNo(), 20);
    Thumb(60);
    EXPECT_EQ(RecNo(), 20) << "the position after a tracked drag is already taken";
    Thumb(60);
    EXPECT_EQ(RecNo(), 60);
}

// An external bar shows the record bar's numbers and scrolls the grid; a second grid cannot take
// it, and the first gives it back.
TEST_F(ScrollBarFixture, AnExternalBarStandsInForTheGridsOwn)
{
    ShowPeople(100);
    auto* bar = new TScrollBar(m_form.get());
    bar->SetName("RecordBar");
    bar->SetKind(sbVertical);
    bar->SetParent(m_form.get());
    bar->SetBounds(410, 0, 16, 300);
    m_db->VertScrollBar()->SetExtScrollBar(bar);
    Pump();
    EXPECT_EQ(bar->Min(), 1);
    EXPECT_EQ(bar->Max(), 100 + VisibleRows() - 1);
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_FALSE(OwnBarShown());
    // The bar tells its parent, which hands the news back to the bar.
    (void)SendMessageA(m_form->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    Pump();
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(bar->Position(), 2);

    TDBGridGx other(nullptr);
    try {
        other.VertScrollBar()->SetExtScrollBar(bar);
        ADD_FAILURE() << "a taken bar was taken again";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Possible RecordBar already attached to the other control.");
    }
    EXPECT_EQ(other.VertScrollBar()->ExtScrollBar(), nullptr);
    m_db->VertScrollBar()->SetExtScrollBar(nullptr);
    other.VertScrollBar()->SetExtScrollBar(bar);
    EXPECT_EQ(other.VertScrollBar()->ExtScrollBar(), bar);
    other.VertScrollBar()->SetExtScrollBar(nullptr);
    delete bar;
}

TEST_F(ScrollBarFixture, AnExternalBarThatGoesFirstIsForgotten)
{
    ShowPeople(50);
    auto* bar = new TScrollBar(m_form.get());
    bar->SetParent(m_form.get());
    m_db->VertScrollBar()->SetExtScrollBar(bar);
    delete bar;
    EXPECT_EQ(m_db->VertScrollBar()->ExtScrollBar(), nullptr);
    m_query->Next();
    Pump();
    EXPECT_EQ(VertInfo().nPos, 2) << "the grid's own bar is back";
    EXPECT_TRUE(OwnBarShown());
}

TEST_F(ScrollBarFixture, VisibleModeShowsDisablesOrHidesTheOwnBar)
{
    Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20))");
    ShowQuery("SELECT NAME FROM P");
    m_db->VertScrollBar()->SetVisibleMode(sbAlwaysShowGx);
    Pump();
    EXPECT_TRUE(OwnBarShown()) << "always: shown, disabled, over an empty table";
    m_db->VertScrollBar()->SetVisibleMode(sbAutoShowGx);
    Pump();
    EXPECT_FALSE(OwnBarShown()) << "automatic: nothing to scroll";
    m_db->VertScrollBar()->SetVisible(false);
    EXPECT_EQ(m_db->VertScrollBar()->VisibleMode(), sbNeverShowGx);
}

// Records that all fit on screen leave nothing to scroll: a bar always shown is disabled, an
// automatic one goes.
TEST_F(ScrollBarFixture, ABarOverRecordsThatAllFitIsDisabledOrHidden)
{
    ShowPeople(3);
    m_db->VertScrollBar()->SetVisibleMode(sbAlwaysShowGx);
    Pump();
    EXPECT_TRUE(OwnBarShown());
    EXPECT_NE(OwnBarState() & STATE_SYSTEM_UNAVAILABLE, 0u);
    m_db->VertScrollBar()->SetVisibleMode(sbAutoShowGx);
    Pump();
    EXPECT_FALSE(OwnBarShown());
}

} // namespace
