// The data grid freed by a handler of its own events (see FreeInEvent.h).

#include "grid/core/tests/DBGridFixture.h"
#include "tests/support/components/FreeInEvent.h"

#include <gtest/gtest.h>

namespace {

using free_in_event::FreeControl;
using free_in_event::Frees;

class DBGridFreeInEvent;
using Row = free_in_event::Row<DBGridFreeInEvent>;
using Step = Row::Step;

class DBGridFreeInEvent : public DBGridFixture, public ::testing::WithParamInterface<Row> {
public:
    TControl* MakeGrid()
    {
        ShowPeople(5);
        return m_db;
    }
    TControl* MakeEditingGrid()
    {
        ShowPeople(5);
        m_db->SetOptions(m_db->Options() - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgEditing});
        return m_db;
    }
    void Settle() { Pump(); }
    using DBGridFixture::Pump;
    // Input computes where it goes before it is sent: the grid may be gone once it is.
    void ClickCell(int col, int row) { Click(CellCentre(col, row)); }
    void DoubleClickCell(int col, int row)
    {
        const HWND grid = TargetHandle();
        const POINT point = InTopLevel(grid, CellCentre(col, row));
        for (int click = 0; click < 2; ++click)
            m_display->InjectClick(TopLevelId(grid), point);
        Pump();
    }
    using DBGridFixture::Key;
};

// The grid's column events name the column; their handlers free the grid itself.
template <class Grid, class Event>
std::function<void(TControl&)> FreesGrid(void (Grid::*setter)(const Event&))
{
    return [setter](TControl& grid) { (static_cast<Grid&>(grid).*setter)(FreeControl<Event>(grid)); };
}

TControl* Grid(DBGridFreeInEvent& f) { return f.MakeGrid(); }
TControl* EditingGrid(DBGridFreeInEvent& f) { return f.MakeEditingGrid(); }

const Step Nothing = [](DBGridFreeInEvent&, TControl&) {};
const Step FocusIt = [](DBGridFreeInEvent& f, TControl& c) {
    static_cast<TWinControl&>(c).SetFocus();
    f.Settle();
};
// The cell editor has the focus and hands the grid its keys.
const Step OpenEditor = [](DBGridFreeInEvent& f, TControl& c) {
    FocusIt(f, c);
    f.Key(VK_F2);
};
const Step ClickCell = [](DBGridFreeInEvent& f, TControl&) { f.ClickCell(1, 2); };
const Step ClickTitle = [](DBGridFreeInEvent& f, TControl&) { f.ClickCell(1, 0); };
const Step DoubleClickCell = [](DBGridFreeInEvent& f, TControl&) { f.DoubleClickCell(1, 2); };
const Step Down = [](DBGridFreeInEvent& f, TControl&) { f.Key(VK_DOWN); };
const Step Letter = [](DBGridFreeInEvent& f, TControl&) { f.Key('A', 0, "a"); };

const Row ROWS[] = {
    {"CellMouseClick", Grid, Frees(&TDBGridGx::SetOnCellMouseClick), Nothing, ClickCell},
    {"CellClick", Grid, FreesGrid(&TDBGridGx::SetOnCellClick), Nothing, ClickCell},
    {"TitleClick", Grid, FreesGrid(&TDBGridGx::SetOnTitleClick), Nothing, ClickTitle},
    {"Click", Grid, Frees(&TDBGridGx::SetOnClick), Nothing, ClickCell},
    {"DblClick", Grid, Frees(&TDBGridGx::SetOnDblClick), Nothing, DoubleClickCell},
    {"MouseDown", Grid, Frees(&TDBGridGx::SetOnMouseDown), Nothing, ClickCell},
    {"MouseUp", Grid, Frees(&TDBGridGx::SetOnMouseUp), Nothing, ClickCell},
    {"KeyDown", Grid, Frees(&TDBGridGx::SetOnKeyDown), FocusIt, Letter},
    {"KeyPress", Grid, Frees(&TDBGridGx::SetOnKeyPress), FocusIt, Letter},
    {"KeyUp", Grid, Frees(&TDBGridGx::SetOnKeyUp), FocusIt, Down},
    {"EditorKeyDown", EditingGrid, Frees(&TDBGridGx::SetOnKeyDown), OpenEditor, Letter},
    {"EditorKeyPress", EditingGrid, Frees(&TDBGridGx::SetOnKeyPress), OpenEditor, Letter},
    {"EditorKeyUp", EditingGrid, Frees(&TDBGridGx::SetOnKeyUp), OpenEditor, Letter},
};

TEST_P(DBGridFreeInEvent, TheGridLeavesItsStateAloneOnceTheHandlerFreesIt) { free_in_event::Run(*this, GetParam()); }

INSTANTIATE_TEST_SUITE_P(EveryEvent, DBGridFreeInEvent, ::testing::ValuesIn(ROWS),
                         free_in_event::RowName<DBGridFreeInEvent>);

} // namespace
