#include "grid/tools/DBLookupGridColumnGx.h"

#include "grid/tools/DBLookupGridsGx.h"
#include "grid/tools/ListExtraRowGx.h"

#include <vector>

CLASSLIB_IMPLEMENT_CLASS(TGridColumnSpecCellGx, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBLookupGridColumnGx, TColumnGx, CollectionItemCreator<TDBLookupGridColumnGx>, nullptr)

// ---- TGridColumnSpecCellGx

TGridColumnSpecCellGx::TGridColumnSpecCellGx(TDBLookupGridColumnGx& column)
    : m_column(column), m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) {
        if (m_copyingFont)
            return;
        m_fontAssigned = true;
        Changed();
    }));
}

TGridColumnSpecCellGx::~TGridColumnSpecCellGx() = default;

TSpecRowGx* TGridColumnSpecCellGx::GridSpecRow() const { return m_column.GridSpecRow(); }

void TGridColumnSpecCellGx::Changed() { m_column.SpecCellChanged(); }

void TGridColumnSpecCellGx::Assign(const TPersistent* source)
{
    const auto* cell = dynamic_cast<const TGridColumnSpecCellGx*>(source);
    if (!cell) {
        TPersistent::Assign(source);
        return;
    }
    m_text = cell->m_text;
    m_textAssigned = cell->m_textAssigned;
    m_color = cell->m_color;
    m_colorAssigned = cell->m_colorAssigned;
    if (cell->m_fontAssigned)
        SetFont(cell->m_font.get());
    Changed();
}

std::string TGridColumnSpecCellGx::Text() const
{
    if (m_textAssigned)
        return m_text;
    const TSpecRowGx* row = GridSpecRow();
    return row ? row->CellText(m_column.Index()) : std::string();
}

void TGridColumnSpecCellGx::SetText(const std::string& value)
{
    if (m_textAssigned && value == m_text)
        return;
    if (!m_textAssigned && value == Text())
        return;
    m_text = value;
    m_textAssigned = true;
    Changed();
}

TColor TGridColumnSpecCellGx::Color() const
{
    if (m_colorAssigned)
        return m_color;
    const TSpecRowGx* row = GridSpecRow();
    return row ? row->Color() : m_column.Color();
}

void TGridColumnSpecCellGx::SetColor(TColor value)
{
    if (value == Color())
        return;
    m_color = value;
    m_colorAssigned = true;
    Changed();
}

// An unassigned font is the special row's, copied quietly whenever it is asked for.
TFont* TGridColumnSpecCellGx::Font() const
{
    if (!m_fontAssigned) {
        const TSpecRowGx* row = GridSpecRow();
        auto& self = const_cast<TGridColumnSpecCellGx&>(*this);
        self.m_copyingFont = true;
        m_font->Assign(row ? row->Font() : m_column.Font());
        self.m_copyingFont = false;
    }
    return m_font.get();
}

void TGridColumnSpecCellGx::SetFont(const TFont* value) { m_font->Assign(value); }

// ---- TDBLookupGridColumnGx

TDBLookupGridColumnGx::TDBLookupGridColumnGx(TCollection* collection)
    : TColumnGx(collection), m_specCell(std::make_unique<TGridColumnSpecCellGx>(*this))
{
}

TDBLookupGridColumnGx::~TDBLookupGridColumnGx() = default;

void TDBLookupGridColumnGx::Assign(const TPersistent* source)
{
    TColumnGx::Assign(source);
    if (const auto* column = dynamic_cast<const TDBLookupGridColumnGx*>(source))
        m_specCell->Assign(column->SpecCell());
}

TSpecRowGx* TDBLookupGridColumnGx::GridSpecRow() const
{
    IDataGridGx* grid = OwnerGrid();
    auto* lookup = grid ? dynamic_cast<TDBLookupGridGx*>(grid->GridComponent()) : nullptr;
    return lookup ? lookup->SpecRow() : nullptr;
}

void TDBLookupGridColumnGx::SetIndex(int index)
{
    const int from = Index();
    TSpecRowGx* row = GridSpecRow();
    IDataGridGx* grid = OwnerGrid();
    auto* lookup = grid ? dynamic_cast<TDBLookupGridGx*>(grid->GridComponent()) : nullptr;
    if (!row || !lookup || !lookup->ListActive() || from == index || !Collection() || index < 0 ||
        index >= Collection()->Count()) {
        TColumnGx::SetIndex(index);
        return;
    }
    std::vector<std::string> cells;
    for (int i = 0; i < Collection()->Count(); ++i)
        cells.push_back(row->CellText(i));
    const std::string moved = cells[static_cast<std::size_t>(from)];
    cells.erase(cells.begin() + from);
    cells.insert(cells.begin() + index, moved);
    const bool madeFromListFields = IsDefaultColumn();
    // The grid lays its columns out once everything has moved: rebuilt from the list fields in
    // between, it would put the column back (and free it).
    grid->LockLayout();
    try {
        TColumnGx::SetIndex(index);
        if (madeFromListFields) {
            std::string names;
            for (int i = 0; i < Collection()->Count(); ++i)
                names += (i > 0 ? ";" : "") + static_cast<TColumnGx*>(Collection()->Items(i))->FieldName();
            lookup->SetListFieldNames(names);
        }
        row->SetCellsText(JoinCellsText(cells));
    } catch (...) {
        grid->UnlockLayout();
        throw;
    }
    grid->UnlockLayout();
}
