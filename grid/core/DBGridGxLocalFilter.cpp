#include "grid/core/DBGridGxLocalFilter.h"

#include "platform/classlib/data/DBFields.h"

TDBGridGxLocalFilter::TDBGridGxLocalFilter() : TComponent(nullptr) {}

TDBGridGxLocalFilter::~TDBGridGxLocalFilter() { Detach(); }

void TDBGridGxLocalFilter::Apply(TDataSet* dataSet, TConditions conditions)
{
    if (dataSet != m_dataSet)
        Detach();
    if (!dataSet || conditions.empty()) {
        Detach();
        return;
    }
    m_conditions = std::move(conditions);
    if (!m_dataSet)
        Attach(dataSet);
    Refilter(*dataSet, true);
}

void TDBGridGxLocalFilter::SetLifted(bool value)
{
    m_lifted = value;
    if (m_dataSet)
        Refilter(*m_dataSet, true);
}

void TDBGridGxLocalFilter::Attach(TDataSet* dataSet)
{
    m_dataSet = dataSet;
    m_previousHandler = dataSet->OnFilterRecord();
    m_previousFiltered = dataSet->Filtered();
    dataSet->SetOnFilterRecord(TFilterRecordEvent(this, &TDBGridGxLocalFilter::FilterRecord));
    dataSet->FreeNotification(this);
}

void TDBGridGxLocalFilter::Detach()
{
    m_conditions.clear();
    TDataSet* dataSet = std::exchange(m_dataSet, nullptr);
    if (!dataSet)
        return;
    dataSet->RemoveFreeNotification(this);
    dataSet->SetOnFilterRecord(m_previousHandler);
    Refilter(*dataSet, m_previousFiltered);
}

void TDBGridGxLocalFilter::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_dataSet) {
        m_dataSet = nullptr;
        m_conditions.clear();
    }
}

// Switching Filtered off and on again makes the data set ask every record anew.
void TDBGridGxLocalFilter::Refilter(TDataSet& dataSet, bool filtered)
{
    dataSet.SetFiltered(false);
    dataSet.SetFiltered(filtered);
}

void TDBGridGxLocalFilter::FilterRecord(TDataSet* dataSet, bool& accept)
{
    m_previousHandler(dataSet, accept);
    if (m_lifted)
        return;
    for (const auto& [fieldName, condition] : m_conditions) {
        if (!accept)
            return;
        if (const TField* field = dataSet->FindField(fieldName))
            accept = FilterExpressionAccepts(condition, field->Value());
    }
}
