// The filter row of the data grid: its cells, its editor with the list of special items and
// values, and applying the columns' conditions.
#include "grid/core/DBGridGxFilterRow.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxStyle.h"
#include "grid/core/DBGridGxTextDrawing.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/DrawHelpers.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct TFilterItem {
    const char* Text;
    TFilterItemTagGx Tag;
};

constexpr std::array<TFilterItem, 4> AlwaysItems{{{"(Empty)", fitEmptyGx},
                                                   {"(Not empty)", fitNotEmptyGx},
                                                   {"(All)", fitAllGx},
                                                   {"(Clear filter)", fitClearFilterGx}}};
constexpr std::array<TFilterItem, 3> SortItems{
    {{"-", fitLineGx}, {"(Order by ascending)", fitOrderAscendingGx}, {"(Order by descending)", fitOrderDescendingGx}}};

constexpr int ListRows = 17;
constexpr int ListWidth = 100;

// The fixed colour with an eighth added to each channel, at most 255.
[[nodiscard]] TColor FilterCellColor(TColor fixed)
{
    const COLORREF rgb = ColorToRGB(fixed);
    const auto lighter = [](int channel) { return std::min(255, channel + channel / 8); };
    return static_cast<TColor>(RGB(lighter(GetRValue(rgb)), lighter(GetGValue(rgb)), lighter(GetBValue(rgb))));
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TInplaceFilterEditGx, TCustomComboBox, nullptr, nullptr)

// ---- The editor

TInplaceFilterEditGx::TInplaceFilterEditGx(TComponent* owner) : TCustomComboBox(owner)
{
    SetStyle(csDropDown);
    SetDropDownCount(ListRows);
}

// An open list takes Enter and Esc itself, to close.
void TInplaceFilterEditGx::KeyDown(WORD& key, TShiftState shift)
{
    // Esc on an open list takes back what the list's keys put in the box.
    if (key == VK_ESCAPE && shift.Empty() && DroppedDown()) {
        key = 0;
        CloseListUnchosen();
        SetText(m_textBeforeList);
        return;
    }
    TCustomComboBox::KeyDown(key, shift);
    if (DroppedDown() || !shift.Empty())
        return;
    if (key == VK_RETURN) {
        key = 0;
        TakePendingItem();
        if (OnApply)
            OnApply();
    } else if (key == VK_ESCAPE) {
        key = 0;
        if (OnCancel)
            OnCancel();
    }
}

void TInplaceFilterEditGx::KeyPress(char& key)
{
    TCustomComboBox::KeyPress(key);
    if (key == '\r' || key == '\x1b' || key == '\t')
        key = 0;
}

bool TInplaceFilterEditGx::HasFocus()
{
    return HandleAllocated() && (Focused() || (EditHandle() && GetFocus() == EditHandle()));
}

// A mouse pick closes the list before it reports the item: the item is taken at once then.
void TInplaceFilterEditGx::Select()
{
    TCustomComboBox::Select();
    m_pendingItem = ItemIndex();
    if (std::exchange(m_closedUp, false))
        TakePendingItem();
}

void TInplaceFilterEditGx::TakePendingItem()
{
    const int index = std::exchange(m_pendingItem, -1);
    if (index >= 0 && OnChoose)
        OnChoose(index);
}

void TInplaceFilterEditGx::DropDown()
{
    m_textBeforeList = Text();
    TCustomComboBox::DropDown();
    SetText(m_textBeforeList);
}

void TInplaceFilterEditGx::CloseListUnchosen()
{
    if (!DroppedDown())
        return;
    m_pendingItem = -1;
    m_cancelled = true;
    SetDroppedDown(false);
    m_cancelled = false;
}

void TInplaceFilterEditGx::CloseUp()
{
    TCustomComboBox::CloseUp();
    if (m_cancelled)
        return;
    m_closedUp = true;
    if (HandleAllocated())
        (void)PostMessageA(Handle(), WM_APPLY_AFTER_CLOSEUP, 0, 0);
}

void TInplaceFilterEditGx::Dispatch(TMessage& message)
{
    if (message.Msg == CM_CANCELMODE) {
        // Another control took over: an open list closes without choosing or applying.
        if (reinterpret_cast<TControl*>(message.LParam) != this)
            CloseListUnchosen();
        TCustomComboBox::Dispatch(message);
        return;
    }
    if (message.Msg == WM_APPLY_AFTER_CLOSEUP) {
        m_closedUp = false;
        TakePendingItem();
        const TDBGridGxStyle* style = DefaultGridStyle();
        if (Visible() && OnApply && (!style || style->ApplyFilterOnCloseUp()))
            OnApply();
        return;
    }
    TCustomComboBox::Dispatch(message);
}

// ---- The row

TDBGridGxFilterRow::TDBGridGxFilterRow(TCustomDBGridGx& grid)
    : m_grid(grid), m_localFilter(std::make_unique<TDBGridGxLocalFilter>())
{
}

TDBGridGxFilterRow::~TDBGridGxFilterRow() = default;

bool TDBGridGxFilterRow::HasCell(int dataCol) const
{
    if (!m_grid.STFilter()->Visible() || dataCol < 0 || dataCol >= m_grid.Columns().Count())
        return false;
    const TColumnGx* column = m_grid.Columns().ColumnAt(dataCol);
    return column->Visible() && column->STFilter()->Visible();
}

TColumnGx* TDBGridGxFilterRow::EditedColumnObject() const
{
    return HasCell(m_dataCol) ? m_grid.Columns().ColumnAt(m_dataCol) : nullptr;
}

void TDBGridGxFilterRow::CreateEditor()
{
    m_editor = std::make_unique<TInplaceFilterEditGx>(nullptr);
    m_editor->SetVisible(false);
    m_editor->SetParent(&m_grid);
    m_editor->Font()->Assign(m_grid.Font());
    m_editor->Font()->SetColor(clBlue);
    m_editor->SetColor(FilterCellColor(m_grid.FixedColor()));
    m_editor->OnApply = [this] { Apply(); };
    m_editor->OnCancel = [this] { CloseEditor(); };
    m_editor->SetOnDropDown(TNotifyEvent::FromFunction([this](TObject*) {
        if (TColumnGx* column = EditedColumnObject())
            FillItems(*column);
    }));
    m_editor->OnChoose = [this](int index) { ChooseItem(index); };
}

void TDBGridGxFilterRow::ShowEditor(int dataCol)
{
    if (!HasCell(dataCol))
        return;
    if (TDataSet* dataSet = m_grid.DataLink().DataSet(); dataSet && dataSet->Active())
        dataSet->CheckBrowseMode();
    if (!m_editor)
        CreateEditor();
    const int filterRow = m_grid.TitleRowCount() - 1;
    const int gridCol = dataCol + m_grid.IndicatorOffset();
    if (m_active && m_dataCol != dataCol) {
        m_editor->SetVisible(false);
        m_grid.InvalidateCell(m_dataCol + m_grid.IndicatorOffset(), filterRow);
    }
    m_dataCol = dataCol;
    m_active = true;
    m_grid.HideEditor();
    if (m_grid.Options().Contains(dgRowSelect)) {
        if (gridCol >= m_grid.FixedCols() && gridCol < m_grid.LeftCol())
            m_grid.SetLeftCol(gridCol);
        while (gridCol >= m_grid.FixedCols() && gridCol >= m_grid.LeftCol() + m_grid.VisibleColCount() &&
               m_grid.LeftCol() < gridCol)
            m_grid.SetLeftCol(m_grid.LeftCol() + 1);
    } else {
        m_grid.SetCol(gridCol);
    }
    m_grid.InvalidateCell(gridCol, filterRow);
    PlaceEditor(true);
}

void TDBGridGxFilterRow::DropDown()
{
    if (m_active && m_editor && m_editor->Visible())
        m_editor->SetDroppedDown(true);
}

void TDBGridGxFilterRow::PlaceEditor(bool refill)
{
    // An inactive row leaves the cell editor alone.
    if (m_grid.STFilter()->Updating() || !m_editor || !m_active)
        return;
    if (!HasCell(m_dataCol)) {
        CloseEditor();
        return;
    }
    if (m_grid.DataSelection().SelectionType() != gstNon) {
        m_editor->SetVisible(false);
        return;
    }
    const TRect cell = m_grid.CellRect(m_dataCol + m_grid.IndicatorOffset(), m_grid.TitleRowCount() - 1);
    if (cell.right <= cell.left) {
        m_editor->SetVisible(false);
        return;
    }
    m_editor->SetBounds(cell.left + 1, cell.top, cell.right - cell.left - 1, cell.bottom - cell.top);
    if (!refill)
        return;
    SetupEditor();
    m_editor->SetVisible(true);
    if (m_editor->CanFocus())
        m_editor->SetFocus();
    if (m_editor->HandleAllocated())
        (void)SendMessageA(m_editor->EditHandle(), EM_SETSEL, 0, -1);
}

void TDBGridGxFilterRow::SetupEditor()
{
    m_editor->Items()->Clear();
    m_itemTags.clear();
    const TColumnGx* column = EditedColumnObject();
    if (!column)
        return;
    const TSTColumnFilterGx& filter = *column->STFilter();
    m_editor->SetText(filter.ExpressionStr());
    m_editor->SetDropDownCount(filter.DropDownListRows() > 0 ? filter.DropDownListRows() : ListRows);
    if (m_editor->HandleAllocated())
        (void)SendMessageA(m_editor->Handle(), CB_SETDROPPEDWIDTH,
                           static_cast<WPARAM>(filter.DropDownListWidth() > 0 ? filter.DropDownListWidth() : ListWidth), 0);
}

// The cell editor comes back (with dgAlwaysShowEditor) only when the row was the one editing.
void TDBGridGxFilterRow::CloseEditor()
{
    if (m_grid.STFilter()->Updating())
        return;
    const bool wasActive = std::exchange(m_active, false);
    if (m_editor && m_editor->Visible()) {
        if (m_editor->HasFocus() && m_grid.CanFocus())
            m_grid.SetFocus();
        m_editor->SetVisible(false);
    }
    if (!wasActive)
        return;
    if (m_grid.TitleOffset() > 0)
        m_grid.InvalidateCell(m_dataCol + m_grid.IndicatorOffset(), m_grid.TitleRowCount() - 1);
    if (m_grid.Options().Contains(dgAlwaysShowEditor))
        m_grid.ShowEditor();
    else
        m_grid.HideEditor();
}

// The editor's text becomes its column's condition unless it is what the column already holds
// (a value chosen from the list keeps its exact condition that way).
void TDBGridGxFilterRow::TakeEditorText()
{
    TColumnGx* column = EditedColumnObject();
    if (!column || !m_editor || !m_editor->Visible())
        return;
    const std::string text = m_editor->Text();
    if (text != column->STFilter()->ExpressionStr())
        column->STFilter()->SetExpressionStr(text);
}

void TDBGridGxFilterRow::Apply()
{
    const int leftCol = m_grid.LeftCol();
    const auto settle = [&] {
        if (leftCol < m_grid.ColCount() && leftCol >= m_grid.FixedCols())
            m_grid.SetLeftCol(leftCol);
        PlaceEditor(true);
        if (m_grid.SumList()->Active())
            m_grid.SumList()->RecalculateTotals();
        m_grid.Invalidate();
    };
    try {
        TakeEditorText();
        if (m_grid.OnApplyFilter()) {
            m_grid.OnApplyFilter()(&m_grid);
        } else {
            m_grid.BeginLayout();
            try {
                // The centre hands the conditions to the data set's own filtering where its class
                // has some, else back to the grid to filter in memory.
                if (TDBGridGxCenter* center = m_grid.Center())
                    center->ApplyFilter(m_grid);
                else
                    ApplyInMemory();
            } catch (...) {
                m_grid.EndLayout();
                throw;
            }
            m_grid.EndLayout();
        }
    } catch (...) {
        settle();
        throw;
    }
    settle();
}

void TDBGridGxFilterRow::ApplyInMemory()
{
    TDBGridGxLocalFilter::TConditions conditions;
    for (int i = 0; i < m_grid.Columns().Count(); ++i) {
        const TSTColumnFilterGx* filter = m_grid.Columns().ColumnAt(i)->STFilter();
        if (filter->HasCondition() && !filter->FilterFieldName().empty())
            conditions.emplace_back(filter->FilterFieldName(), filter->AppliedExpression());
    }
    m_localFilter->Apply(m_grid.DataLink().Active() ? m_grid.DataLink().DataSet() : nullptr, std::move(conditions));
}

void TDBGridGxFilterRow::ClearColumnFilters()
{
    CloseEditor();
    for (int i = 0; i < m_grid.Columns().Count(); ++i)
        m_grid.Columns().ColumnAt(i)->STFilter()->Clear();
    m_grid.Invalidate();
}

// ---- The list

void TDBGridGxFilterRow::FillItems(TColumnGx& column)
{
    TStrings* items = m_editor->Items();
    items->BeginUpdate();
    items->Clear();
    m_itemTags.clear();
    const auto add = [&](const std::string& text, TFilterItemTagGx tag) {
        items->Add(text);
        m_itemTags.push_back(tag);
    };
    for (const TFilterItem& item : AlwaysItems)
        add(item.Text, item.Tag);
    if (m_grid.OptionsGx().Contains(dghAutoSortMarking) && column.Title()->TitleButton())
        for (const TFilterItem& item : SortItems)
            add(item.Text, item.Tag);
    for (const std::string& value : ColumnValues(column))
        add(value, fitValueGx);
    items->EndUpdate();
}

// The distinct values of a field over the records, in order; the cursor stays where it was.
std::vector<std::string> TDBGridGxFilterRow::DistinctValues(TDataSet& dataSet, const TField& field) const
{
    std::vector<std::string> values;
    const TBookmarkStr position = dataSet.Bookmark();
    const bool lift = m_localFilter->FilteredDataSet() == &dataSet;
    dataSet.DisableControls();
    try {
        if (lift)
            m_localFilter->SetLifted(true);
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            if (!field.IsNull())
                values.push_back(field.AsString());
        if (lift)
            m_localFilter->SetLifted(false);
        if (!position.empty())
            dataSet.SetBookmark(position);
    } catch (...) {
        if (lift)
            m_localFilter->SetLifted(false);
        dataSet.EnableControls();
        throw;
    }
    dataSet.EnableControls();
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// A column that filters on keys lists the shown values of its list records. Otherwise the column's
// values over the records shown; with a key list and a pick list, the pick text of each key it
// lists (a key beyond the pick list shows itself).
std::vector<std::string> TDBGridGxFilterRow::ColumnValues(TColumnGx& column) const
{
    const TSTColumnFilterGx& filter = *column.STFilter();
    if (TDataSet* list = filter.LookupDataSet(); list && list->Active() && !filter.KeyFieldName().empty()) {
        const TField* shown = list->FindField(filter.ListFieldName());
        return shown ? DistinctValues(*list, *shown) : std::vector<std::string>{};
    }
    const TField* field = column.Field();
    TDataSet* dataSet = m_grid.DataLink().Active() ? m_grid.DataLink().DataSet() : nullptr;
    if (!field || !dataSet)
        return {};
    std::vector<std::string> values = DistinctValues(*dataSet, *field);
    const TStrings& keys = *column.KeyList();
    const TStrings& picks = *column.PickList();
    if (keys.Count() > 0 && picks.Count() > 0)
        for (std::string& value : values)
            if (const int index = keys.IndexOf(value); index >= 0 && index < picks.Count())
                value = picks.Strings(index);
    return values;
}

void TDBGridGxFilterRow::ChooseItem(int index)
{
    TColumnGx* column = EditedColumnObject();
    if (!column || index < 0 || index >= static_cast<int>(m_itemTags.size()))
        return;
    TSTColumnFilterGx& filter = *column->STFilter();
    switch (m_itemTags[static_cast<std::size_t>(index)]) {
    case fitValueGx:
        filter.SetExpressionValue(m_editor->Items()->Strings(index));
        m_editor->SetText(filter.ExpressionStr());
        break;
    case fitEmptyGx:
        m_editor->SetText("=Null");
        break;
    case fitNotEmptyGx:
        m_editor->SetText("<>Null");
        break;
    case fitAllGx:
        m_editor->SetText("");
        break;
    case fitClearFilterGx:
        ClearColumnFilters();
        Apply();
        break;
    case fitLineGx:
        m_editor->SetText(filter.ExpressionStr());
        break;
    case fitOrderAscendingGx:
    case fitOrderDescendingGx:
        m_editor->SetText(filter.ExpressionStr());
        SortByItem(*column, m_itemTags[static_cast<std::size_t>(index)] == fitOrderAscendingGx);
        break;
    }
}

// Only this column stays marked: down for ascending, up for descending.
void TDBGridGxFilterRow::SortByItem(TColumnGx& column, bool ascending)
{
    for (int i = 0; i < m_grid.Columns().Count(); ++i)
        m_grid.Columns().ColumnAt(i)->Title()->SetSortMarker(smNoneGx);
    m_grid.SortMarkedColumns().clear();
    column.Title()->SetSortMarker(ascending ? smDownGx : smUpGx);
    m_grid.Invalidate();
    m_grid.SortMarkingChanged();
}

// ---- Painting

// Blue text on the fixed colour lightened, and the sign of the list at the right.
void TDBGridGxFilterRow::PaintCell(TColumnGx& column, TRect rect)
{
    TCanvas* canvas = m_grid.Canvas();
    canvas->Font()->Assign(m_grid.Font());
    canvas->Font()->SetColor(clBlue);
    canvas->Brush()->SetColor(FilterCellColor(m_grid.FixedColor()));
    canvas->FillRect(rect);
    if (!column.STFilter()->Visible())
        return;
    const int buttonWidth = std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, rect.right - rect.left));
    TRect textRect = rect;
    textRect.right -= buttonWidth;
    DrawCellText(*canvas, textRect, true, 2, 0, column.STFilter()->ExpressionStr(), taLeftJustify, column.Layout(),
                 false, false, 0, 0, false);
    RECT button{rect.right - buttonWidth, rect.top, rect.right, rect.bottom};
    if (buttonWidth > 0)
        (void)DrawFrameControl(canvas->Handle(), &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
}
