#pragma once

#include <string_view>

class TDataSet;
class TObject;

// The data set of a published data-source property of `instance` ("MasterSource"); null when
// the property is missing, is no object property, holds no data source, or cannot be read.
[[nodiscard]] TDataSet* DataSourceDataSetOfProperty(const TObject& instance, std::string_view propertyName);
