#pragma once

#include "grid/core/FilterExpression.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/DBDataSet.h"

#include <string>
#include <utility>
#include <vector>

// Filters the records a data set holds in memory by conditions on its fields: while any
// condition is set it takes the data set's OnFilterRecord, passing each record first to the
// handler that was there, and gives that handler (and the data set's Filtered) back when the last
// condition goes, when it moves to another data set, and when it is destroyed. The values the user
// typed are compared here and never become part of any query text.
class TDBGridGxLocalFilter : public TComponent {
public:
    // A field name with the condition its values must meet.
    using TConditions = std::vector<std::pair<std::string, FilterExpressionRec>>;

    TDBGridGxLocalFilter();
    ~TDBGridGxLocalFilter() override;

    // Filters `dataSet` by the conditions; with none, the data set is left as it was found.
    void Apply(TDataSet* dataSet, TConditions conditions);
    [[nodiscard]] TDataSet* FilteredDataSet() const { return m_dataSet; }
    // While lifted, the conditions let every record through (the handler that was there still rules).
    void SetLifted(bool value);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Attach(TDataSet* dataSet);
    void Detach();
    void FilterRecord(TDataSet* dataSet, bool& accept);
    static void Refilter(TDataSet& dataSet, bool filtered);

    TDataSet* m_dataSet = nullptr;
    TFilterRecordEvent m_previousHandler;
    bool m_previousFiltered = false;
    TConditions m_conditions;
    bool m_lifted = false;
};
