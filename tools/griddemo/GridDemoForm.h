#pragma once

#include "platform/classlib/forms/Forms.h"

#include <memory>
#include <string>

class TADOQuery;
class TDataSource;
class TDBGridGx;

// A data grid over a sample call list in an SQLite file: titles that sort when clicked and size
// when their edges are dragged, a filter row, record marks, alternate row colours, a tick column,
// footers with a count and sums, and the find dialog on Ctrl+F. The grid follows the window's size.
class TGridDemoForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TGridDemoForm(TComponent* owner);
    ~TGridDemoForm() override;

    // The database the form shows; made (and filled) on first use.
    static void SetDatabase(std::string path) { s_database = std::move(path); }

private:
    void FillDatabase();
    void AddColumns();
    // The grid marks the sort order on its titles; the query puts the calls in that order.
    void SortMarkingChanged(TObject* sender);
    [[nodiscard]] std::string OrderBy() const;

    static inline std::string s_database;
    TADOQuery* m_query = nullptr;
    TDataSource* m_source = nullptr;
    TDBGridGx* m_grid = nullptr;
};
