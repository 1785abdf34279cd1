#pragma once

#include "platform/classlib/forms/Forms.h"

#include <memory>
#include <string>

class TADOQuery;
class TDataSource;
class TDBGridGx;

// A data grid over a sample call list in an SQLite file: titles, a filter row, record marks,
// alternate row colours, a tick column, and footers with a count, sums and an average.
class TGridDemoForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TGridDemoForm(TComponent* owner);
    ~TGridDemoForm() override;

    // The database the form shows; made (and filled) on first use.
    static void SetDatabase(std::string path) { s_database = std::move(path); }

private:
    void FillDatabase();
    void AddColumns();

    static inline std::string s_database;
    TADOQuery* m_query = nullptr;
    TDataSource* m_source = nullptr;
    TDBGridGx* m_grid = nullptr;
};
