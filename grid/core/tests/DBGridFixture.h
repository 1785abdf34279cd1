#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/tests/GridTestClasses.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"
#include "tests/support/TempDir.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <functional>
#include <memory>
#include <string>

// The manager's look: a read-only row-select list with titles, record marks and a tick column.
inline const TDBGridOptions ManagerOptions{dgTitles, dgIndicator,   dgColLines,     dgRowLines,
                                    dgTabs,   dgRowSelect, dgConfirmDelete, dgCancelOnExit};

// A table of `rows` people in a temporary SQLite database, shown by a data grid on the form of the
// base grid's fixture (its own test grid hidden), input and pixels going to the data grid.
class DBGridFixture : public GridFixture {
protected:
    void SetUp() override { GridFixture::SetUp(); }
    void TearDown() override
    {
        SetMessageDlgHandler({});
        GridFixture::TearDown();
        m_source.reset();
        m_query.reset();
    }

    void ShowPeople(int rows)
    {
        Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), SEL BOOLEAN)");
        Exec("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(rows) +
             ") INSERT INTO P SELECT x, 'Name ' || x, x % 2 FROM n");
        ShowQuery("SELECT ID, NAME, SEL FROM P ORDER BY ID", [](TDBGridGx& grid) {
            TColumnGx* name = grid.Columns().Add();
            name->SetFieldName("NAME");
            name->SetWidth(150);
            name->Title()->SetCaption("Name");
            TColumnGx* sel = grid.Columns().Add();
            sel->SetFieldName("SEL");
            sel->SetWidth(40);
        });
    }

    // Opens `sql` and shows it in a 400 x 300 data grid with the manager's options; `setUp` adds
    // columns (none: the grid makes one per field) before the grid is bound.
    void ShowQuery(const std::string& sql, const std::function<void(TDBGridGx&)>& setUp = {})
    {
        m_query = Query(sql);
        m_query->Open();
        m_source = std::make_unique<TDataSource>(nullptr);
        m_source->SetDataSet(m_query.get());

        m_grid->SetVisible(false);
        m_db = new TDBGridGx(m_form.get());
        m_db->SetParent(m_form.get());
        m_db->SetBorderStyle(bsNoneGx);
        m_db->SetBounds(0, 0, 400, 300);
        m_db->SetOptions(ManagerOptions);
        if (setUp)
            setUp(*m_db);
        m_db->SetDataSource(m_source.get());
        m_target = m_db;
        m_form->SetActiveControl(m_db);
        Pump();
    }

    void Exec(const std::string& sql) { (void)Query(sql)->ExecSQL(); }

    // A left click with ModControl / ModShift held.
    void ClickWith(POINT client, unsigned modifiers)
    {
        const HWND hwnd = TargetHandle();
        m_display->InjectMouseButton(TopLevelId(hwnd), InTopLevel(hwnd, client), MouseButton::Left, true, modifiers);
        Pump();
        m_display->InjectMouseButton(TopLevelId(hwnd), InTopLevel(hwnd, client), MouseButton::Left, false,
                                     modifiers | ModLeftButton);
        Pump();
    }

    [[nodiscard]] std::unique_ptr<TADOQuery> Query(const std::string& sql) const
    {
        auto query = std::make_unique<TADOQuery>(nullptr);
        query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "grid.db").string());
        query->SQL()->SetText(sql);
        return query;
    }

    [[nodiscard]] bool StoredSel(int id) const
    {
        auto query = Query("SELECT SEL FROM P WHERE ID = " + std::to_string(id));
        query->Open();
        return query->FieldByName("SEL")->AsBoolean();
    }

    [[nodiscard]] POINT CellCentre(int col, int row) const
    {
        const TRect rect = m_db->CellRect(col, row);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    [[nodiscard]] int RecNo() const { return m_query->RecNo(); }
    [[nodiscard]] int VisibleRows() const { return m_db->RowCount() - m_db->TitleOffset(); }

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
    TDBGridGx* m_db = nullptr;
};

