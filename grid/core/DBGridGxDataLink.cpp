#include "grid/core/DBGridGxDataLink.h"

#include "grid/core/DataGridGx.h"
#include "grid/core/DBGridGxColumns.h"
#include "grid/core/InvalidGridOperationGx.h"
#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TGridDataLinkGx, TDataLink, nullptr, nullptr)

TGridDataLinkGx::TGridDataLinkGx(IDataGridGx& grid) : m_grid(grid) {}

TGridDataLinkGx::~TGridDataLinkGx() = default;

bool TGridDataLinkGx::AddFieldMapping(std::string_view fieldName)
{
    if (MapCount() >= MaxMapCount)
        throw EInvalidGridOperationGx(SGridTooManyColumns);
    TField* field = nullptr;
    if (TDataSet* dataSet = DataSet())
        field = m_mapByName ? dataSet->FindField(fieldName) : dataSet->FieldByName(fieldName);
    Reserve(m_map.size() + 1);
    if (field) {
        m_map.push_back(field->Index());
        field->FreeNotification(m_grid.GridComponent());
    } else {
        m_map.push_back(-1);
    }
    return true;
}

// Capacity 8 when empty, else double: many columns are mapped one by one.
void TGridDataLinkGx::Reserve(std::size_t needed)
{
    if (needed <= m_map.capacity())
        return;
    std::size_t capacity = m_map.capacity() == 0 ? 8 : m_map.capacity() * 2;
    capacity = std::clamp(capacity, needed, static_cast<std::size_t>(MaxMapCount));
    m_map.reserve(capacity);
}

void TGridDataLinkGx::ClearMapping()
{
    m_map.clear();
    m_map.shrink_to_fit();
}

TField* TGridDataLinkGx::GetMappedField(int index) const
{
    if (index < 0 || index >= MapCount() || m_map[static_cast<std::size_t>(index)] < 0)
        return nullptr;
    TDataSet* dataSet = DataSet();
    const int fieldIndex = m_map[static_cast<std::size_t>(index)];
    if (!dataSet || fieldIndex >= dataSet->FieldCount())
        return nullptr;
    return dataSet->Fields()[fieldIndex];
}

bool TGridDataLinkGx::DefaultFields() const
{
    const TDataSet* dataSet = DataSet();
    if (!dataSet)
        return true;
    if (m_mapByName && std::ranges::find(m_map, -1) != m_map.end())
        return false;
    return dataSet->DefaultFields();
}

void TGridDataLinkGx::RevertEdit()
{
    if (m_editorChanged)
        RecordChanged(nullptr);
    else if (TDataSet* dataSet = DataSet())
        dataSet->Cancel();
}

void TGridDataLinkGx::ActiveChanged()
{
    m_grid.LinkActiveChanged(Active());
    m_editorChanged = false;
}

void TGridDataLinkGx::DataSetChanged()
{
    m_grid.LinkDataSetChanged();
    m_editorChanged = false;
}

void TGridDataLinkGx::DataSetScrolled(int distance)
{
    m_grid.LinkDataSetScrolled(distance);
}

void TGridDataLinkGx::EditingChanged()
{
    m_grid.LinkEditingChanged();
}

void TGridDataLinkGx::FocusControl(TField** field)
{
    if (field && *field && m_grid.FocusField(*field)) {
        *field = nullptr;
        m_grid.ShowCellEditor();
    }
}

void TGridDataLinkGx::LayoutChanged()
{
    const bool old = m_grid.LayoutFromDataSet();
    m_grid.SetLayoutFromDataSet(true);
    try {
        m_grid.LinkLayoutChanged();
    } catch (...) {
        m_grid.SetLayoutFromDataSet(old);
        throw;
    }
    m_grid.SetLayoutFromDataSet(old);
    TDataLink::LayoutChanged();
}

void TGridDataLinkGx::RecordChanged(TField* field)
{
    m_grid.LinkRecordChanged(field);
    m_editorChanged = false;
}

// The grid's write may post or refresh the record, which asks for UpdateData again.
void TGridDataLinkGx::UpdateData()
{
    if (m_writingBack)
        return;
    m_writingBack = true;
    try {
        if (m_editorChanged)
            m_grid.WriteEditorToField();
    } catch (...) {
        m_writingBack = false;
        throw;
    }
    m_writingBack = false;
    m_editorChanged = false;
}

void TGridDataLinkGx::DataEvent(TDataEvent event, std::intptr_t info)
{
    TDataLink::DataEvent(event, info);
    if (event == deDisabledStateChange)
        m_grid.Columns().InvalidateFieldReferences();
}
