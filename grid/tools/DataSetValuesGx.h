#pragma once

#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/rtl/Variant.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TComponent;
class TDataSet;
class TField;

using TDataEventHandlerGx = TEvent<TDataEvent, std::intptr_t>;

// A data link that tells a handler of every data set event, after the link's own handling.
class TDataLinkGx : public TDataLink {
public:
    [[nodiscard]] const TDataEventHandlerGx& OnDataEvent() const { return m_onDataEvent; }
    void SetOnDataEvent(const TDataEventHandlerGx& handler) { m_onDataEvent = handler; }

protected:
    void DataEvent(TDataEvent event, std::intptr_t info) override;

private:
    TDataEventHandlerGx m_onDataEvent;
};

// What a list of distinct field values offers its users.
class IMemTableDataFieldValueListGx {
public:
    virtual ~IMemTableDataFieldValueListGx() = default;
    [[nodiscard]] virtual const TStrings& ValueStrings() = 0;
};

// The sorted distinct values (as strings) of one field of a data set, read again on the first
// request after the data set, its field list or its properties changed. Reading walks the data
// set and puts it back on the record it was on.
class TDatasetFieldValueListGx : public IMemTableDataFieldValueListGx {
public:
    TDatasetFieldValueListGx();
    ~TDatasetFieldValueListGx() override;

    [[nodiscard]] const TStrings& ValueStrings() override;
    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void ChangeFieldName(const std::string& name);
    [[nodiscard]] TDataSet* DataSet() const { return m_source->DataSet(); }
    void ChangeDataSet(TDataSet* dataSet);

private:
    void Refresh();

    std::unique_ptr<TStringList> m_values;
    std::string m_fieldName;
    std::unique_ptr<TDataSource> m_source;
    std::unique_ptr<TDataLinkGx> m_link;
    bool m_stale = true;
};

// The fields named in a ';'-separated list, each of which must exist in the data set, else
// EDatabaseError "Field '%s' not found" from `component`. FindFieldList adds them to `list` when
// it is given (and only checks them when not).
void FindFieldList(std::vector<TField*>* list, const TDataSet& dataSet, const TComponent* component,
                   std::string_view names);
void FieldListToArray(const TDataSet& dataSet, const TComponent* component, std::string_view names,
                      std::vector<TField*>& fields);
// Sets the named fields from `value` (a variant array for several); Null clears them all.
void SetDataSetFieldsValue(TDataSet& dataSet, std::string_view names, const Variant& value);
