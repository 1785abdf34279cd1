#pragma once

#include "grid/core/DBGridGx.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A form on a fresh headless screen with a focused data grid over a small table of people and
// cities (NAME, CITY), exception boxes recorded instead of shown:
//   1 Anna Paris / 2 Bob London / 3 anna-maria Oslo / 4 Carl Paris / 5 Dana Annapolis
class GridToolsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Pump();
    // A key as the user presses it on the window's form, with ModShift / ModControl / ModAlt held
    // around it.
    void Key(HWND window, unsigned virtualKey, unsigned modifiers = 0);
    void Type(HWND window, const std::string& text);

    // Puts the grid on the record and on the column bound to the field.
    void GoTo(int recNo, const std::string& fieldName);
    [[nodiscard]] int RecNo() const { return m_query->RecNo(); }
    [[nodiscard]] std::string CurrentField() const;

    HeadlessDisplay* m_display = nullptr;
    TempDir m_dir;
    std::unique_ptr<TForm> m_form;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
    TDBGridGx* m_grid = nullptr;
    std::vector<std::string> m_errors;
};
