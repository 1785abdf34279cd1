#pragma once

#include "ToolsFixture.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "tests/support/TempDir.h"

#include <memory>
#include <string>

// A form with a data source over a table of a fresh database:
// T (ID, NAME TEXT(20), CODE TEXT(5), AMOUNT FLOAT, FLAG BOOLEAN, ANSWER TEXT(10)).
class DataFixture : public ToolsFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    void Exec(const std::string& sql);
    // Opens the table's rows, ordered by ID, on the data source.
    void Open();
    [[nodiscard]] TField& FieldOf(const std::string& name) const { return *m_query->FieldByName(name); }

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
};
