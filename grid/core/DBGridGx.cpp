#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxFilterRow.h"
#include "grid/core/DBGridGxIndicatorTitle.h"
#include "grid/core/DBGridGxMultiTitle.h"
#include "grid/core/DBGridGxStyle.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <stdexcept>

namespace {

// What form data gives a grid: its columns and its title settings.
void DescribeDBGrid(TClassBuilder& c)
{
    using C = TCustomDBGridGx;
    c.Object("Columns", &C::ColumnsCollection).StoredWhen(&C::ColumnsCustomized);
    c.Boolean("RowSizingAllowed", &C::RowSizingAllowed, &C::SetRowSizingAllowed).Default(false);
    c.Integer("TitleHeight", &C::TitleHeight, &C::SetTitleHeight).Default(0);
    c.Integer("TitleLines", &C::TitleLines, &C::SetTitleLines).Default(0);
    c.Boolean("UseMultiTitle", &C::UseMultiTitle, &C::SetUseMultiTitle).Default(false);
    c.Integer("VTitleMargin", &C::VTitleMargin, &C::SetVTitleMargin).Default(10);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomDBGridGx, TCustomGridGx, nullptr, DescribeDBGrid)

const TTypeInfo& DBGridOptionsTypeInfo()
{
    static const TTypeInfo member = EnumerationTypeInfo(
        "TDBGridOption", {"dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize", "dgColLines",
                          "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
                          "dgCancelOnExit", "dgMultiSelect"});
    static const TTypeInfo info = SetTypeInfo("TDBGridOptions", member);
    return info;
}
CLASSLIB_IMPLEMENT_CLASS(TDBGridGx, TCustomDBGridGx, ComponentCreator<TDBGridGx>, nullptr)

TCustomDBGridGx::TCustomDBGridGx(TComponent* owner) : TCustomDBGridGx(owner, TDBGridColumnGx::StaticClass()) {}

TCustomDBGridGx::TCustomDBGridGx(TComponent* owner, TClass columnClass)
    : TCustomGridGx(owner), m_columns(std::make_unique<TDBGridColumnsGx>(this, columnClass)),
      m_dataLink(std::make_unique<TGridDataLinkGx>(*this)), m_titleFont(std::make_unique<TFont>()),
      m_footerFont(std::make_unique<TFont>()), m_columnDefValues(std::make_unique<TColumnDefValuesGx>(this)),
      m_sumList(std::make_unique<TDBGridGxSumList>(this)),
      m_selectedRows(std::make_unique<TBookmarkListGx>(*this)), m_selection(std::make_unique<TDBGridGxSelection>(*this)),
      m_horzScrollBar(std::make_unique<TDBGridGxScrollBar>(*this, sbHorizontal)),
      m_vertScrollBar(std::make_unique<TVertDBGridGxScrollBar>(*this)),
      m_stFilter(std::make_unique<TSTDBGridGxFilter>(TNotifyEvent::FromFunction([this](TObject*) { FilterRowSwitched(); }))),
      m_filterRow(std::make_unique<TDBGridGxFilterRow>(*this))
{
    m_titleFont->Assign(Font());
    m_footerFont->Assign(Font());
    m_sumList->SetActive(false);
    m_sumList->SetSumListChanged(TNotifyEvent::FromFunction([this](TObject*) { InvalidateFooter(); }));
    m_style = DefaultGridStyle();
    if (m_style)
        m_style->RegisterGrid(this);
    m_center = GridCenter();
    if (m_center)
        m_center->RegisterGrid(this);
    m_indicatorTitle = std::make_unique<TDBGridGxIndicatorTitle>(*this);
    // The base grid's options follow ours (SetOptions maps them); start from a clean mapping.
    m_options = {};
    SetOptions(DefaultDBGridOptions);
    SetColCount(2);
    SetRowCount(2);
    SetFixedCols(1);
    SetFixedRows(1);
    SetColor(clWindow);
    SetTabStop(true);
    // The vertical bar counts records, not grid rows: the grid keeps it (CreateParams) and the
    // base grid only the horizontal one.
    SetScrollBars(ssHorizontalGx);
    LayoutChanged();
}

TCustomDBGridGx::~TCustomDBGridGx()
{
    m_filterRow.reset();
    m_onSelectionChanged = {};
    if (m_style)
        m_style->UnregisterGrid(this);
    if (m_center)
        m_center->UnregisterGrid(this);
    m_indicatorTitle.reset();
    m_dataLink->SetDataSource(nullptr);
    m_sumList.reset();
    m_selection.reset();
    m_selectedRows.reset();
    m_columns.reset();
    m_dataLink.reset();
}

// ---- Data ---------------------------------------------------------------------------------------------------------

TDataSource* TCustomDBGridGx::DataSource() const { return m_dataLink->DataSource(); }

void TCustomDBGridGx::SetDataSource(TDataSource* source)
{
    if (source == DataSource())
        return;
    m_dataLink->SetDataSource(source);
    LayoutChanged();
}

TField* TCustomDBGridGx::SelectedField() const
{
    const TColumnGx* column = ColumnAtGridCol(Col());
    return column ? column->Field() : nullptr;
}

TColumnGx* TCustomDBGridGx::ColumnByFieldName(const std::string& name) const
{
    for (int i = 0; i < m_columns->Count(); ++i) {
        TColumnGx* column = m_columns->ColumnAt(i);
        if (SameText(column->FieldName(), name))
            return column;
    }
    throw std::runtime_error(Format("Field name '%s' not found", {name}));
}

TColumnGx* TCustomDBGridGx::ColumnAtGridCol(int gridCol) const
{
    const int index = gridCol - m_indicatorOffset;
    return index >= 0 && index < m_columns->Count() ? m_columns->ColumnAt(index) : nullptr;
}

// ---- Options ------------------------------------------------------------------------------------------------------

void TCustomDBGridGx::SetOptions(TDBGridOptions value)
{
    // Row select and the text editor exclude each other: a whole selected row has no one cell to edit.
    if (value.Contains(dgRowSelect)) {
        value.Exclude(dgEditing);
        value.Exclude(dgAlwaysShowEditor);
    }
    if (value == m_options)
        return;
    const TDBGridOptions relayoutOn{dgEditing, dgAlwaysShowEditor, dgTitles,    dgIndicator,
                                    dgColLines, dgRowLines,        dgRowSelect, dgAlwaysShowSelection};
    const bool relayout = !(((value - m_options) + (m_options - value)) * relayoutOn).Empty();
    m_options = value;

    TGridOptionsGx base;
    if (value.Contains(dgColLines))
        base = base + TGridOptionsGx{goFixedVertLines, goVertLines};
    if (value.Contains(dgRowLines))
        base = base + TGridOptionsGx{goFixedHorzLines, goHorzLines};
    if (value.Contains(dgColumnResize))
        base = base + TGridOptionsGx{goColSizing, goColMoving};
    if (value.Contains(dgTabs))
        base.Include(goTabs);
    if (value.Contains(dgRowSelect))
        base.Include(goRowSelect);
    if (m_rowSizingAllowed)
        base.Include(goRowSizing);
    if (value.Contains(dgEditing))
        base.Include(goEditing);
    if (value.Contains(dgAlwaysShowEditor))
        base.Include(goAlwaysShowEditor);
    TCustomGridGx::SetOptions(base);
    if (relayout)
        LayoutChanged();
}

void TCustomDBGridGx::SetOptionsGx(TDBGridGxOptions value)
{
    if (value == m_optionsGx)
        return;
    m_optionsGx = value;
    LayoutChanged();
}

void TCustomDBGridGx::SetEvenRowColor(TColor value)
{
    m_evenRowColor = value;
    Invalidate();
}

void TCustomDBGridGx::SetOddRowColor(TColor value)
{
    m_oddRowColor = value;
    Invalidate();
}

void TCustomDBGridGx::SetFrozenCols(int value)
{
    if (value < 0 || value == m_frozenCols)
        return;
    m_frozenCols = value;
    LayoutChanged();
}

void TCustomDBGridGx::SetRowLines(int value)
{
    m_rowLines = std::max(0, value);
    LayoutChanged();
}

void TCustomDBGridGx::SetRowHeight(int value)
{
    m_rowHeight = std::max(0, value);
    LayoutChanged();
}

// ---- IDataGridGx ----------------------------------------------------------------------------------------------------

bool TCustomDBGridGx::GridLoading() const { return ComponentState().Contains(csLoading); }

TColumnTitleDefaultsGx TCustomDBGridGx::TitleDefaults() const
{
    const TColumnTitleDefValuesGx& title = *m_columnDefValues->Title();
    return {title.Alignment(), title.Color(),       title.EndEllipsis(),
            title.Orientation(), title.TitleButton(), title.ToolTips()};
}

int TCustomDBGridGx::SortNumberWidth(int sortIndex)
{
    return Canvas()->TextWidth(std::to_string(sortIndex));
}

void TCustomDBGridGx::ColumnsUpdated()
{
    if (Col() < m_indicatorOffset && ColCount() > m_indicatorOffset)
        SetCol(m_indicatorOffset);
    if (!LayoutLocked())
        Invalidate();
}

bool TCustomDBGridGx::AllowsChange(bool dataSetEmpty) const
{
    return dataSetEmpty ? !(m_allowedOperations * TDBGridGxAllowedOperations{alopInsertGx, alopAppendGx}).Empty()
                        : m_allowedOperations.Contains(alopUpdateGx);
}

void TCustomDBGridGx::LinkActiveChanged(bool active)
{
    m_selection->LinkActive(active);
    FollowDataSetWithSums();
    LayoutChanged();
}

void TCustomDBGridGx::LinkDataSetChanged()
{
    UpdateRowCountAndTop();
    SyncCurrentRow();
    UpdateVertScrollBar();
    Invalidate();
    RefreshEditorFromField(nullptr);
}

void TCustomDBGridGx::LinkDataSetScrolled(int distance) { ScrollRows(distance); }

void TCustomDBGridGx::LinkLayoutChanged() { LayoutChanged(); }

void TCustomDBGridGx::LinkRecordChanged(TField* field)
{
    Invalidate();
    RefreshEditorFromField(field);
}

void TCustomDBGridGx::LinkEditingChanged() { InvalidateCurrentRow(); }

bool TCustomDBGridGx::FocusField(TField* field)
{
    for (int i = 0; i < m_columns->Count(); ++i) {
        if (m_columns->ColumnAt(i)->Field() == field) {
            SetCol(i + m_indicatorOffset);
            return Focused();
        }
    }
    return false;
}

void TCustomDBGridGx::InvalidateCurrentRow()
{
    if (m_dataLink->Active() && HandleAllocated())
        InvalidateGridRect({0, Row(), ColCount() - 1, Row()});
}

int TCustomDBGridGx::VisibleDataRowCount() const { return m_dataLink->Active() ? m_dataLink->RecordCount() : 0; }

int TCustomDBGridGx::TopRecordNumber() const
{
    if (!m_dataLink->Active())
        return 0;
    return m_dataLink->DataSet()->RecNo() - m_dataLink->ActiveRecord();
}

bool TCustomDBGridGx::RecordsNumbered() const
{
    return m_dataLink->Active() && m_dataLink->DataSet()->IsSequenced();
}

void TCustomDBGridGx::StyleGone(TDBGridGxStyle* style)
{
    if (m_style == style)
        m_style = nullptr;
}

void TCustomDBGridGx::CenterGone(TDBGridGxCenter* center)
{
    if (m_center == center)
        m_center = nullptr;
}

// ---- Component life ---------------------------------------------------------------------------------------------

void TCustomDBGridGx::Loaded()
{
    TCustomGridGx::Loaded();
    LayoutChanged();
}

void TCustomDBGridGx::CreateParams(TCreateParams& params)
{
    TCustomGridGx::CreateParams(params);
    params.Style |= WS_VSCROLL;
}

void TCustomDBGridGx::CreateWnd()
{
    TCustomGridGx::CreateWnd();
    LayoutChanged();
}

// Leaving the grid drops an untouched new record, or else writes what the editor holds into its
// field; a field that refuses it keeps the focus in the grid.
void TCustomDBGridGx::DoExit()
{
    TDataSet* dataSet = m_dataLink->Active() ? m_dataLink->DataSet() : nullptr;
    if (dataSet && m_options.Contains(dgCancelOnExit) && dataSet->State() == dsInsert && !dataSet->Modified()) {
        dataSet->Cancel();
    } else if (dataSet) {
        try {
            m_dataLink->UpdateRecord();
        } catch (...) {
            SetFocus();
            throw;
        }
    }
    TCustomGridGx::DoExit();
}
