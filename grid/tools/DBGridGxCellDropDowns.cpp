#include "grid/tools/DBGridGxCellDropDowns.h"

#include "grid/core/DBGridGxCellDropDown.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"
#include "grid/core/DBGridGxColumnDropDownGrid.h"
#include "grid/core/DBGridGxColumns.h"
#include "grid/tools/CalculatorGx.h"
#include "grid/tools/DBLookupGridsGx.h"
#include "grid/tools/ToolCtrlsGx.h"
#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/controls/MonthCal.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The pop-ups close through the IPopupOwnerGx that owns them; the bridge owns one for the cell
// editor and passes its close-up on.
class TCellPopupBridgeGx : public TComponent, public IPopupOwnerGx {
public:
    explicit TCellPopupBridgeGx(ICellDropDownOwnerGx& owner) : TComponent(nullptr), m_owner(owner) {}
    void ClosePopup(bool accept) override { m_owner.CloseUp(accept); }
    [[nodiscard]] ICellDropDownOwnerGx& CellOwner() const { return m_owner; }

    // Told when a component the bridge watches goes.
    std::function<void(TComponent*)> OnGone;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && OnGone)
            OnGone(component);
    }

private:
    ICellDropDownOwnerGx& m_owner;
};

// Shows a pop-up under the editor without activating it.
void ShowUnderEditor(TWinControl& editor, TWinControl& popup)
{
    popup.Font()->Assign(editor.Font());
    const TPoint at = PlaceDropDownUnderEdit(editor, popup, ddaLeft);
    popup.SetBounds(at.x, at.y, popup.Width(), popup.Height());
    (void)SetWindowPos(popup.Handle(), HWND_TOPMOST, at.x, at.y, popup.Width(), popup.Height(),
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
    popup.SetVisible(true);
}

void HidePopup(TWinControl& popup)
{
    if (popup.HandleAllocated())
        (void)ShowWindow(popup.Handle(), SW_HIDE);
    popup.SetVisible(false);
}

class TCalendarCellDropDownGx : public ICellDropDownGx {
public:
    explicit TCalendarCellDropDownGx(ICellDropDownOwnerGx& owner)
        : m_bridge(owner), m_calendar(new TPopupMonthCalendarGx(&m_bridge))
    {
    }

    void Open(const Variant& value) override
    {
        TWinControl& editor = m_bridge.CellOwner().DropDownEditor();
        m_calendar->SetColor(editor.Color());
        m_calendar->SetDate(value.ToDateTime());
        m_calendar->HandleNeeded();
        m_calendar->FitSize();
        ShowUnderEditor(editor, *m_calendar);
    }
    void Hide() override { HidePopup(*m_calendar); }
    [[nodiscard]] bool Visible() const override
    {
        return m_calendar->HandleAllocated() && IsWindowVisible(m_calendar->Handle());
    }
    // Read from the window: its change notices have no parent window to reach.
    [[nodiscard]] Variant Value() const override
    {
        if (!m_calendar->HandleAllocated())
            return Variant::FromDateTime(m_calendar->Date());
        SYSTEMTIME chosen{};
        (void)SendMessageA(m_calendar->Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen));
        return Variant::FromDateTime(SystemTimeToDateTime(chosen));
    }
    // The arrows and pages move the day and the month; Ctrl+Home and Ctrl+End the ends.
    bool TakeKey(WORD key, TShiftState shift) override
    {
        const bool moving = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_PRIOR ||
                            key == VK_NEXT;
        const bool ends = (key == VK_HOME || key == VK_END) && shift == TShiftState{ssCtrl};
        if (!moving && !ends)
            return false;
        (void)SendMessageA(m_calendar->Handle(), WM_KEYDOWN, key, 0);
        return true;
    }
    [[nodiscard]] HWND WindowHandle() const override
    {
        return m_calendar->HandleAllocated() ? m_calendar->Handle() : nullptr;
    }

private:
    TCellPopupBridgeGx m_bridge;
    TPopupMonthCalendarGx* m_calendar; // owned by the bridge
};

// The calculator takes the typed characters: digits and operators calculate, Enter closes it
// accepting (unless a calculation waits for its second number) and Esc without.
class TCalculatorCellDropDownGx : public ICellDropDownGx {
public:
    explicit TCalculatorCellDropDownGx(ICellDropDownOwnerGx& owner)
        : m_bridge(owner), m_calculator(new TPopupCalculatorGx(&m_bridge))
    {
    }

    void Open(const Variant& value) override
    {
        m_calculator->SetPopupValue(value);
        m_calculator->HandleNeeded();
        ShowUnderEditor(m_bridge.CellOwner().DropDownEditor(), *m_calculator);
    }
    void Hide() override { HidePopup(*m_calculator); }
    [[nodiscard]] bool Visible() const override
    {
        return m_calculator->HandleAllocated() && IsWindowVisible(m_calculator->Handle());
    }
    // An error shows as no value.
    [[nodiscard]] Variant Value() const override
    {
        const Variant value = m_calculator->GetPopupValue();
        return VarType(value) == varError ? Null() : value;
    }
    bool TakeKey(WORD /*key*/, TShiftState /*shift*/) override { return false; }
    [[nodiscard]] bool TakesCharacters() const override { return true; }
    void TakeChar(char key) override
    {
        if (key == 27)
            m_bridge.ClosePopup(false);
        else
            m_calculator->HandleKey(key);
    }
    [[nodiscard]] HWND WindowHandle() const override
    {
        return m_calculator->HandleAllocated() ? m_calculator->Handle() : nullptr;
    }

private:
    TCellPopupBridgeGx m_bridge;
    TPopupCalculatorGx* m_calculator; // owned by the bridge
};

// The records of a lookup column's list in the column's own drop-down data grid, which keeps the
// columns, options and events its drop-down box set up: as many rows as the list has up to the
// column's DropDownRows, as wide as the column says (-1: the columns' own widths), never narrower
// than the editor. A click on a row or Enter takes its key.
class TLookupCellDropDownGx : public ICellDropDownGx {
public:
    explicit TLookupCellDropDownGx(ICellDropDownOwnerGx& owner)
        : m_bridge(owner), m_source(std::make_unique<TDataSource>(nullptr))
    {
        m_bridge.OnGone = [this](TComponent* gone) {
            if (gone == m_grid)
                m_grid = nullptr;
        };
    }

    // The column's grid outlives this list: it gives back the source it was lent.
    ~TLookupCellDropDownGx() override { Release(); }

    void Open(const Variant& value) override
    {
        TWinControl& editor = m_bridge.CellOwner().DropDownEditor();
        TColumnGx* column = m_bridge.CellOwner().DropDownColumn();
        TColumnDropDownBoxGx& box = *column->DropDownBox();
        Bind(dynamic_cast<TPopupDataGridGx*>(box.DropDownGrid()));
        if (!m_grid)
            return;
        TField* field = column->Field();
        TDataSet* list = column->LookupListDataSet();
        m_source->SetDataSet(list);
        m_grid->SetColor(editor.Color());
        m_grid->SetListSource(m_source.get());
        m_grid->SetKeyFieldNames(field->LookupKeyFields());
        m_grid->SetListFieldNames(column->LookupDisplayFields());
        m_grid->SetAutoFitColWidths(false);
        if (!box.ColumnsCustomized())
            ShowDisplayFields(column->LookupDisplayFields());
        ShowSpecRow(*column);
        TDBGridOptions options = m_grid->Options();
        if (column->DropDownShowTitles())
            options.Include(dgTitles);
        else
            options.Exclude(dgTitles);
        m_grid->SetOptions(options);
        const int wanted = std::max(1, column->DropDownRows());
        const int records = list->IsSequenced() ? list->RecordCount() : wanted;
        m_grid->SetRowsShown(records > 0 ? std::min(records, wanted) : wanted);
        m_grid->HandleNeeded();
        int width = column->DropDownWidth();
        if (width == -1) {
            width = 0;
            for (int i = 0; i < m_grid->Columns().Count(); ++i)
                width += m_grid->Columns().ColumnAt(i)->Width() + 1;
            width += GetSystemMetrics(SM_CXVSCROLL) + 2;
        }
        m_grid->SetBounds(m_grid->Left(), m_grid->Top(), std::max(width, editor.Width()), m_grid->Height());
        m_grid->SetAutoFitColWidths(box.AutoFitColWidths());
        m_grid->SetKeyValue(value);
        ShowUnderEditor(editor, *m_grid);
    }
    void Hide() override
    {
        if (m_grid)
            HidePopup(*m_grid);
    }
    [[nodiscard]] bool Visible() const override
    {
        return m_grid && m_grid->HandleAllocated() && IsWindowVisible(m_grid->Handle());
    }
    [[nodiscard]] Variant Value() const override { return m_grid ? m_grid->KeyValue() : Null(); }
    [[nodiscard]] std::string ChosenText() const override { return m_grid ? m_grid->Text() : std::string{}; }
    // The arrows and pages move through the list's records.
    bool TakeKey(WORD key, TShiftState shift) override
    {
        const bool moving = shift.Empty() && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT);
        const bool ends = (key == VK_HOME || key == VK_END) && shift == TShiftState{ssCtrl};
        if (!Visible() || (!moving && !ends))
            return false;
        (void)SendMessageA(m_grid->Handle(), WM_KEYDOWN, key, 0);
        return true;
    }
    [[nodiscard]] HWND WindowHandle() const override
    {
        return m_grid && m_grid->HandleAllocated() ? m_grid->Handle() : nullptr;
    }

private:
    // Takes the column's grid over: it closes up into this editor and is watched for going.
    void Bind(TPopupDataGridGx* grid)
    {
        if (grid == m_grid)
            return;
        Release();
        m_grid = grid;
        if (!m_grid)
            return;
        m_grid->FreeNotification(&m_bridge);
        m_grid->SetOnCloseUp(
            TCloseUpEventGx::FromFunction([this](TObject*, bool accept) { m_bridge.ClosePopup(accept); }));
    }

    void Release()
    {
        if (!m_grid)
            return;
        HidePopup(*m_grid);
        m_grid->SetOnCloseUp({});
        m_grid->SetListSource(nullptr);
        m_grid->RemoveFreeNotification(&m_bridge);
        m_grid = nullptr;
    }

    // One column per shown field, in the order named; made as the grid's own, so that they give
    // way to columns the program sets up.
    void ShowDisplayFields(const std::string& names)
    {
        TDBGridColumnsGx& columns = m_grid->Columns();
        columns.BeginUpdate();
        columns.Clear();
        std::size_t start = 0;
        while (start <= names.size()) {
            const std::size_t end = std::min(names.find(';', start), names.size());
            if (const std::string name = Trim(names.substr(start, end - start)); !name.empty())
                columns.AddDefaultColumn()->SetFieldName(name);
            start = end + 1;
        }
        columns.EndUpdate();
    }

    // The drop-down box's special row when it is shown, else the column's.
    void ShowSpecRow(TColumnGx& column)
    {
        const auto* boxRow = dynamic_cast<const TSpecRowGx*>(column.DropDownBox()->SpecRow());
        const auto* columnRow = dynamic_cast<const TSpecRowGx*>(column.DropDownSpecRow());
        const TSpecRowGx* shown = boxRow && boxRow->Visible() ? boxRow : columnRow;
        if (shown)
            m_grid->SpecRow()->Assign(shown);
        else
            m_grid->SpecRow()->SetVisible(false);
    }

    TCellPopupBridgeGx m_bridge;
    TPopupDataGridGx* m_grid = nullptr; // the column's, watched through the bridge
    std::unique_ptr<TDataSource> m_source;
};

// A lookup column's drop-down grid, made on first use without an owner.
std::unique_ptr<TCustomDBGridGx> MakeDropDownGrid(TColumnGx& /*column*/)
{
    auto grid = std::make_unique<TPopupDataGridGx>(nullptr);
    grid->SetName("DataList");
    return grid;
}

std::unique_ptr<ICellDropDownGx> MakeCellDropDown(TCellDropDownKindGx kind, ICellDropDownOwnerGx& owner)
{
    switch (kind) {
    case cdkCalendarGx:
        return std::make_unique<TCalendarCellDropDownGx>(owner);
    case cdkCalculatorGx:
        return std::make_unique<TCalculatorCellDropDownGx>(owner);
    case cdkLookupGridGx:
        break;
    }
    return std::make_unique<TLookupCellDropDownGx>(owner);
}

} // namespace

void RegisterGridCellDropDowns()
{
    SetCellDropDownFactory(&MakeCellDropDown);
    SetColumnDropDownGridMaker(&MakeDropDownGrid);
}
