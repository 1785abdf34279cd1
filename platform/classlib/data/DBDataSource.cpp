#include "platform/classlib/data/DBDataSource.h"

#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

namespace {

void DescribeDataSource(TClassBuilder& c)
{
    c.Object("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    c.Boolean("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(1);
    c.Boolean("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit).Default(1);
    c.Event("OnStateChange", &TDataSource::OnStateChange, &TDataSource::SetOnStateChange);
    c.Event("OnDataChange", &TDataSource::OnDataChange, &TDataSource::SetOnDataChange);
    c.Event("OnUpdateData", &TDataSource::OnUpdateData, &TDataSource::SetOnUpdateData);
}

}  // namespace

CLASSLIB_IMPLEMENT_CLASS(TDataSource, TComponent, ComponentCreator<TDataSource>, DescribeDataSource)
CLASSLIB_IMPLEMENT_CLASS(TDataLink, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TFieldDataLink, TDataLink, DefaultCreator<TFieldDataLink>, nullptr)

// ---- TDataSource ---------------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource()
{
    Destroying();
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(m_links))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_state != dsInactive) {
        // Links let go of the old data set before they bind to the new one.
        m_state = dsInactive;
        NotifyLinks(deUpdateState, 0);
    }
    if (m_dataSet) {
        m_dataSet->RemoveDataSource(this);
        m_dataSet->RemoveFreeNotification(this);
    }
    m_dataSet = dataSet;
    if (m_dataSet) {
        m_dataSet->FreeNotification(this);
        m_dataSet->AddDataSource(this);
    }
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    UpdateState();
}

void TDataSource::Edit()
{
    if (m_autoEdit && m_dataSet && m_state == dsBrowse)
        m_dataSet->Edit();
}

void TDataSource::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_dataSet)
        SetDataSet(nullptr);
}

void TDataSource::UpdateState()
{
    const TDataSetState state = m_enabled && m_dataSet ? m_dataSet->State() : dsInactive;
    const bool changed = state != m_state;
    // Links re-bind even when the state is the same: the data set behind them may be another.
    m_state = state;
    NotifyLinks(deUpdateState, 0);
    if (changed)
        m_onStateChange(this);
}

void TDataSource::NotifyLinks(TDataEvent event, std::intptr_t info)
{
    for (TDataLink* link : std::vector<TDataLink*>(m_links))
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->DataEvent(event, info);
}

void TDataSource::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (m_state == dsInactive)
        return;
    NotifyLinks(event, info);
    switch (event) {
    case deFieldChange:
        m_onDataChange(this, reinterpret_cast<TField*>(info));
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        m_onDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        m_onUpdateData(this);
        break;
    default:
        break;
    }
}

// ---- TDataLink -----------------------------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (m_dataSource) {
        auto& links = m_dataSource->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
        if (TDataSet* dataSet = m_dataSource->DataSet(); dataSet && dataSet->Active())
            dataSet->UpdateBufferCount();
    }
}

TDataSet* TDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == m_dataSource)
        return;
    if (m_dataSource) {
        auto& links = m_dataSource->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
        if (TDataSet* dataSet = m_dataSource->DataSet(); dataSet && dataSet->Active())
            dataSet->UpdateBufferCount();
    }
    m_dataSource = source;
    if (m_dataSource) {
        m_dataSource->m_links.push_back(this);
        if (TDataSet* dataSet = DataSet(); dataSet && dataSet->Active())
            dataSet->UpdateBufferCount();
    }
    SetActive(m_dataSource && m_dataSource->State() != dsInactive);
    UpdateEditing();
}

void TDataLink::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    m_firstRecord = 0;
    if (active)
        UpdateRange(0);
    ActiveChanged();
}

void TDataLink::UpdateEditing()
{
    const TDataSet* dataSet = DataSet();
    const bool editing = m_active && !m_readOnly && dataSet &&
                         (dataSet->State() == dsEdit || dataSet->State() == dsInsert);
    if (editing == m_editing)
        return;
    m_editing = editing;
    EditingChanged();
}

void TDataLink::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    UpdateEditing();
}

int TDataLink::ActiveRecord() const
{
    const TDataSet* dataSet = DataSet();
    return m_active && dataSet ? dataSet->ActiveRecord() - m_firstRecord : 0;
}

void TDataLink::SetActiveRecord(int value)
{
    if (TDataSet* dataSet = DataSet(); m_active && dataSet)
        dataSet->SetActiveRecord(value + m_firstRecord);
}

void TDataLink::SetBufferCount(int value)
{
    m_bufferCount = std::max(1, value);
    if (TDataSet* dataSet = DataSet(); m_active && dataSet) {
        dataSet->UpdateBufferCount();
        UpdateRange(0);
    }
}

int TDataLink::RecordCount() const
{
    const TDataSet* dataSet = DataSet();
    if (!m_active || !dataSet)
        return 0;
    return std::clamp(dataSet->BufferRecordCount() - m_firstRecord, 0, m_bufferCount);
}

int TDataLink::UpdateRange(int dataSetDistance)
{
    const TDataSet* dataSet = DataSet();
    const int available = dataSet->BufferRecordCount();
    int first = m_firstRecord + dataSetDistance;
    if (available == 0) {
        first = 0;
    } else {
        const int cursor = dataSet->CursorRecord();
        if (cursor < first)
            first = cursor;
        if (cursor >= first + m_bufferCount)
            first = cursor - m_bufferCount + 1;
        first = std::clamp(first, 0, std::max(0, available - m_bufferCount));
    }
    const int distance = dataSetDistance + m_firstRecord - first;
    m_firstRecord = first;
    return distance;
}

bool TDataLink::Edit()
{
    if (m_dataSource && !m_readOnly)
        m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord()
{
    if (m_updating)
        return;
    m_updating = true;
    try {
        UpdateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

void TDataLink::Modified()
{
    if (TDataSet* dataSet = DataSet(); dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert))
        dataSet->m_modified = true;
}

int TDataLink::MoveBy(int distance)
{
    TDataSet* dataSet = DataSet();
    return dataSet ? dataSet->MoveBy(distance) : 0;
}

void TDataLink::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == deUpdateState) {
        SetActive(m_dataSource && m_dataSource->State() != dsInactive);
        UpdateEditing();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating)
            RecordChanged(reinterpret_cast<TField*>(info));
        break;
    case deDataSetChange:
        UpdateRange(0);
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(UpdateRange(static_cast<int>(info)));
        break;
    case deLayoutChange:
        UpdateRange(0);
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl: {
        TField* field = reinterpret_cast<TField*>(info);
        FocusControl(&field);
        break;
    }
    default:
        break;
    }
}

// ---- TFieldDataLink ------------------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string& name)
{
    m_fieldName = name;
    UpdateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && m_field && m_field->CanModify();
}

void TFieldDataLink::UpdateField()
{
    m_field = Active() && !m_fieldName.empty() ? DataSet()->FindField(m_fieldName) : nullptr;
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    m_onActiveChange(this);
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
    RecordChanged(nullptr);
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (!field || field == m_field)
        m_onDataChange(this);
}

void TFieldDataLink::EditingChanged()
{
    m_onEditingChange(this);
}

void TFieldDataLink::UpdateData()
{
    m_onUpdateData(this);
}
