#include "grid/core/DataSourceDataSetOfProperty.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSource.h"

TDataSet* DataSourceDataSetOfProperty(const TObject& instance, std::string_view propertyName)
{
    const TPropInfo* prop = GetPropInfo(instance, propertyName);
    if (!prop || !prop->GetObject)
        return nullptr;
    try {
        const auto* source = dynamic_cast<const TDataSource*>(prop->GetObject(instance));
        return source ? source->DataSet() : nullptr;
    } catch (const Exception&) {
        return nullptr;
    }
}
