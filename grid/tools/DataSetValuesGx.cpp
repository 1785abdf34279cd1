#include "grid/tools/DataSetValuesGx.h"

#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Strings.h"

namespace {

// The names of a field list as the data sets split them: ';'-separated, blanks around trimmed.
[[nodiscard]] std::vector<std::string> FieldNames(std::string_view names)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(';', start), names.size());
        if (std::string name = Trim(names.substr(start, end - start)); !name.empty())
            out.push_back(std::move(name));
        start = end + 1;
    }
    return out;
}

} // namespace

void TDataLinkGx::DataEvent(TDataEvent event, std::intptr_t info)
{
    TDataLink::DataEvent(event, info);
    m_onDataEvent(event, info);
}

TDatasetFieldValueListGx::TDatasetFieldValueListGx()
    : m_values(std::make_unique<TStringList>()), m_source(std::make_unique<TDataSource>(nullptr)),
      m_link(std::make_unique<TDataLinkGx>())
{
    m_values->SetSorted(true);
    m_values->SetDuplicates(TDuplicates::dupIgnore);
    m_link->SetDataSource(m_source.get());
    m_link->SetOnDataEvent(TDataEventHandlerGx::FromFunction([this](TDataEvent event, std::intptr_t) {
        if (event == deDataSetChange || event == dePropertyChange || event == deFieldListChange)
            m_stale = true;
    }));
}

TDatasetFieldValueListGx::~TDatasetFieldValueListGx() { m_link->SetDataSource(nullptr); }

const TStrings& TDatasetFieldValueListGx::ValueStrings()
{
    if (m_stale)
        Refresh();
    return *m_values;
}

void TDatasetFieldValueListGx::ChangeFieldName(const std::string& name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    m_stale = true;
}

void TDatasetFieldValueListGx::ChangeDataSet(TDataSet* dataSet)
{
    if (dataSet == m_source->DataSet())
        return;
    m_source->SetDataSet(dataSet);
    m_stale = true;
}

// The walk leaves the data set where it found it: the list's data set is often shown elsewhere.
void TDatasetFieldValueListGx::Refresh()
{
    m_values->Clear();
    TDataSet* dataSet = m_source->DataSet();
    const TField* field = dataSet && dataSet->Active() ? dataSet->FindField(m_fieldName) : nullptr;
    if (!field)
        return;
    const TBookmarkStr position = dataSet->IsEmpty() ? TBookmarkStr() : dataSet->Bookmark();
    dataSet->DisableControls();
    try {
        m_values->BeginUpdate();
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            m_values->Add(field->AsString());
        m_values->EndUpdate();
        if (!position.empty())
            dataSet->SetBookmark(position);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
    m_stale = false;
}

void FindFieldList(std::vector<TField*>* list, const TDataSet& dataSet, const TComponent* component,
                   std::string_view names)
{
    for (const std::string& name : FieldNames(names)) {
        TField* field = dataSet.FindField(name);
        if (!field)
            DatabaseErrorFmt("Field '%s' not found", name, component);
        if (list)
            list->push_back(field);
    }
}

void FieldListToArray(const TDataSet& dataSet, const TComponent* component, std::string_view names,
                      std::vector<TField*>& fields)
{
    fields.clear();
    FindFieldList(&fields, dataSet, component, names);
}

void SetDataSetFieldsValue(TDataSet& dataSet, std::string_view names, const Variant& value)
{
    if (!VarIsNull(value)) {
        dataSet.SetFieldValues(names, value);
        return;
    }
    std::vector<TField*> fields;
    dataSet.GetFieldList(fields, names);
    for (TField* field : fields)
        field->Clear();
}
