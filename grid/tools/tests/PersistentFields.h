#pragma once

#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"

#include <initializer_list>
#include <string>
#include <utility>

// Fields made by the program on a closed data set, as form data makes them: the data set then
// shows these instead of its columns.
inline void AddDataFields(TDataSet& dataSet, std::initializer_list<std::pair<const char*, TFieldType>> fields)
{
    for (const auto& [name, type] : fields) {
        TField* field = CreateFieldOfType(type, &dataSet);
        field->SetFieldName(name);
        field->SetDataSet(&dataSet);
    }
}

// A lookup field `name`: for the key in `keyField` it shows `resultField` of the `lookup` record
// whose `lookupKey` matches.
inline void AddLookupField(TDataSet& dataSet, const std::string& name, const std::string& keyField, TDataSet& lookup,
                           const std::string& lookupKey, const std::string& resultField)
{
    auto* field = new TStringField(&dataSet);
    field->SetFieldName(name);
    field->SetFieldKind(fkLookup);
    field->SetKeyFields(keyField);
    field->SetLookupDataSet(&lookup);
    field->SetLookupKeyFields(lookupKey);
    field->SetLookupResultField(resultField);
    field->SetDataSet(&dataSet);
}
