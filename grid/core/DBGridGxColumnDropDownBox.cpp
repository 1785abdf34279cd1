#include "grid/core/DBGridGxColumnDropDownBox.h"

#include "grid/core/DBGridGxColumnDropDownGrid.h"
#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSource.h"

namespace {

TColumnDropDownGridMakerGx g_gridMaker = nullptr;

void DescribeDropDownBox(TClassBuilder& c)
{
    using C = TColumnDropDownBoxGx;
    c.Enum("Align", DropDownAlignTypeInfo(), &C::Align, &C::SetAlign).Default(ddaLeft);
    c.Boolean("AutoDrop", &C::AutoDrop, &C::SetAutoDrop).Default(false);
    c.Boolean("AutoFitColWidths", &C::AutoFitColWidths, &C::SetAutoFitColWidths).Default(true);
    c.Object("ColumnDefValues", &C::ColumnDefValues);
    c.Object("Columns", &C::Columns).StoredWhen(&C::ColumnsCustomized);
    c.Object("ListSource", &C::ListSource, &C::SetListSource);
    c.Set("Options", DBGridOptionsTypeInfo(), &C::Options, &C::SetOptions);
    c.Integer("Rows", &C::Rows, &C::SetRows).Default(7);
    c.Boolean("ShowTitles", &C::ShowTitles, &C::SetShowTitles).Default(false);
    c.Boolean("Sizable", &C::Sizable, &C::SetSizable).Default(false);
    c.Boolean("SortLocal", &C::SortLocal, &C::SetSortLocal).Default(false);
    c.Object("SpecRow", &C::SpecRowObject);
    c.Boolean("UseMultiTitle", &C::UseMultiTitle, &C::SetUseMultiTitle).Default(false);
    c.Integer("Width", &C::Width, &C::SetWidth).Default(0);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnDropDownBoxGx, TPersistent, nullptr, DescribeDropDownBox)

const TTypeInfo& DropDownAlignTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDropDownAlign", {"ddaLeft", "ddaRight", "ddaCenter"});
    return info;
}

void SetColumnDropDownGridMaker(TColumnDropDownGridMakerGx maker) { g_gridMaker = maker; }
TColumnDropDownGridMakerGx ColumnDropDownGridMaker() { return g_gridMaker; }

TColumnDropDownBoxGx::TColumnDropDownBoxGx(TColumnGx* column)
    : m_column(column), m_listLink(std::make_unique<TDataLink>())
{
    if (const TColumnSpecRowMakerGx maker = ColumnSpecRowMaker(); maker && column)
        m_specRow = maker(*column, [] {});
}

TColumnDropDownBoxGx::~TColumnDropDownBoxGx() = default;

TPersistent* TColumnDropDownBoxGx::GetOwner() const { return m_column; }

void TColumnDropDownBoxGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnDropDownBoxGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_align = other->m_align;
    m_autoDrop = other->m_autoDrop;
    m_autoFitColWidths = other->m_autoFitColWidths;
    m_rows = other->m_rows;
    m_width = other->m_width;
    m_sizable = other->m_sizable;
    m_showTitles = other->m_showTitles;
    m_useMultiTitle = other->m_useMultiTitle;
    SetListSource(other->ListSource());
    // A source that never made its drop-down grid has nothing set on one; copying from it makes
    // no grid here either.
    if (!other->m_grid) {
        if (m_grid)
            m_grid->Columns().Clear();
        return;
    }
    if (TCustomDBGridGx* grid = DropDownGrid()) {
        grid->ColumnDefValues()->Assign(other->ColumnDefValues());
        if (other->ColumnsCustomized())
            grid->Columns().Assign(other->Columns());
        else
            grid->Columns().Clear();
        grid->SetOptions(other->Options());
    }
}

TCustomDBGridGx* TColumnDropDownBoxGx::DropDownGrid() const
{
    if (!m_grid && g_gridMaker && m_column)
        m_grid = g_gridMaker(*m_column);
    return m_grid.get();
}

TDBGridColumnsGx* TColumnDropDownBoxGx::Columns() const
{
    TCustomDBGridGx* grid = DropDownGrid();
    return grid ? &grid->Columns() : nullptr;
}

bool TColumnDropDownBoxGx::ColumnsCustomized() const
{
    const TDBGridColumnsGx* columns = Columns();
    return columns && columns->State() == csCustomizedGx;
}

TColumnDefValuesGx* TColumnDropDownBoxGx::ColumnDefValues() const
{
    TCustomDBGridGx* grid = DropDownGrid();
    return grid ? grid->ColumnDefValues() : nullptr;
}

TDBGridOptions TColumnDropDownBoxGx::Options() const
{
    TCustomDBGridGx* grid = DropDownGrid();
    return grid ? grid->Options() : TDBGridOptions{};
}

void TColumnDropDownBoxGx::SetOptions(TDBGridOptions value)
{
    if (TCustomDBGridGx* grid = DropDownGrid())
        grid->SetOptions(value);
}

bool TColumnDropDownBoxGx::SortLocal() const
{
    const TCustomDBGridGx* grid = DropDownGrid();
    return grid && grid->SortLocal();
}

void TColumnDropDownBoxGx::SetSortLocal(bool value)
{
    if (TCustomDBGridGx* grid = DropDownGrid())
        grid->SetSortLocal(value);
}






TDataSource* TColumnDropDownBoxGx::ListSource() const { return m_listLink->DataSource(); }

void TColumnDropDownBoxGx::SetListSource(TDataSource* source) { m_listLink->SetDataSource(source); }

// ---- The column's side

TColumnDropDownBoxGx* TColumnGx::DropDownBox() const
{
    if (!m_dropDownBox)
        m_dropDownBox = std::make_unique<TColumnDropDownBoxGx>(const_cast<TColumnGx*>(this));
    return m_dropDownBox.get();
}

// The column's drop-down box events are its drop-down data grid's.
namespace {

template <class E>
E GridEvent(const TColumnGx& column, const E& (TCustomDBGridGx::*get)() const)
{
    const TCustomDBGridGx* grid = column.DropDownBox()->DropDownGrid();
    return grid ? (grid->*get)() : E{};
}

template <class E>
void SetGridEvent(const TColumnGx& column, void (TCustomDBGridGx::*set)(const E&), const E& handler)
{
    if (TCustomDBGridGx* grid = column.DropDownBox()->DropDownGrid())
        (grid->*set)(handler);
}

} // namespace

TCheckTitleButtonEventGx TColumnGx::OnDropDownBoxCheckButton() const
{
    return GridEvent(*this, &TCustomDBGridGx::OnCheckButton);
}
void TColumnGx::SetOnDropDownBoxCheckButton(const TCheckTitleButtonEventGx& handler)
{
    SetGridEvent(*this, &TCustomDBGridGx::SetOnCheckButton, handler);
}
TDrawColumnCellEventGx TColumnGx::OnDropDownBoxDrawColumnCell() const
{
    return GridEvent(*this, &TCustomDBGridGx::OnDrawColumnCell);
}
void TColumnGx::SetOnDropDownBoxDrawColumnCell(const TDrawColumnCellEventGx& handler)
{
    SetGridEvent(*this, &TCustomDBGridGx::SetOnDrawColumnCell, handler);
}
TGetCellParamsEventGx TColumnGx::OnDropDownBoxGetCellParams() const
{
    return GridEvent(*this, &TCustomDBGridGx::OnGetCellParams);
}
void TColumnGx::SetOnDropDownBoxGetCellParams(const TGetCellParamsEventGx& handler)
{
    SetGridEvent(*this, &TCustomDBGridGx::SetOnGetCellParams, handler);
}
TNotifyEvent TColumnGx::OnDropDownBoxSortMarkingChanged() const
{
    return GridEvent(*this, &TCustomDBGridGx::OnSortMarkingChanged);
}
void TColumnGx::SetOnDropDownBoxSortMarkingChanged(const TNotifyEvent& handler)
{
    SetGridEvent(*this, &TCustomDBGridGx::SetOnSortMarkingChanged, handler);
}
TTitleButtonClickEventGx TColumnGx::OnDropDownBoxTitleBtnClick() const
{
    return GridEvent(*this, &TCustomDBGridGx::OnTitleBtnClick);
}
void TColumnGx::SetOnDropDownBoxTitleBtnClick(const TTitleButtonClickEventGx& handler)
{
    SetGridEvent(*this, &TCustomDBGridGx::SetOnTitleBtnClick, handler);
}
