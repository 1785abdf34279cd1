#pragma once

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBFields.h"

#include <string>
#include <vector>

// The rows `sql` selects through `connection`, the named fields of each joined by '|': how the
// end-to-end tests read what the program stored.
[[nodiscard]] inline std::vector<std::string> DatabaseRows(const std::string& connection, const std::string& sql,
                                                           const std::vector<std::string>& fields)
{
    TADOQuery query(nullptr);
    query.SetConnectionString(connection);
    query.SQL()->SetText(sql);
    query.Open();
    std::vector<std::string> rows;
    for (query.First(); !query.Eof(); query.Next()) {
        std::string row;
        for (const auto& field : fields)
            row += (row.empty() ? "" : "|") + query.FieldByName(field)->AsString();
        rows.push_back(row);
    }
    return rows;
}
