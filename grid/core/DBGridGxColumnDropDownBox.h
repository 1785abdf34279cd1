#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnExtraRowHook.h"
#include "grid/core/DropDownAlignGx.h"
#include "platform/classlib/core/Persistent.h"

#include <memory>

class TColumnGx;
class TDataLink;
class TDataSource;
struct TTypeInfo;

[[nodiscard]] const TTypeInfo& DropDownAlignTypeInfo();

// How a column's lookup list drops down: where it lines up, how many rows and how wide, whether it
// opens by itself, can be sized, shows titles (in several lines), fits its columns to its width, and
// which data source it lists (else the lookup field's data set). Its columns, column defaults,
// options and local sorting (and the column's OnDropDownBox events) are those of the column's
// drop-down data grid itself, made on
// first use; without a maker of such grids they read empty and writing them does nothing.
class TColumnDropDownBoxGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnDropDownBoxGx(TColumnGx* column);
    ~TColumnDropDownBoxGx() override;

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override;

    [[nodiscard]] TDropDownAlign Align() const { return m_align; }
    void SetAlign(TDropDownAlign value) { m_align = value; }
    [[nodiscard]] bool AutoDrop() const { return m_autoDrop; }
    void SetAutoDrop(bool value) { m_autoDrop = value; }
    [[nodiscard]] bool AutoFitColWidths() const { return m_autoFitColWidths; }
    void SetAutoFitColWidths(bool value) { m_autoFitColWidths = value; }
    // Null when its data source is destroyed.
    [[nodiscard]] TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);
    [[nodiscard]] int Rows() const { return m_rows; }
    void SetRows(int value) { m_rows = value; }
    [[nodiscard]] bool ShowTitles() const { return m_showTitles; }
    void SetShowTitles(bool value) { m_showTitles = value; }
    [[nodiscard]] bool Sizable() const { return m_sizable; }
    void SetSizable(bool value) { m_sizable = value; }
    [[nodiscard]] bool UseMultiTitle() const { return m_useMultiTitle; }
    void SetUseMultiTitle(bool value) { m_useMultiTitle = value; }
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int value) { m_width = value; }
    // The first row of the list standing for a value outside it; null without a maker of them.
    [[nodiscard]] IColumnSpecRowGx* SpecRow() const { return m_specRow.get(); }
    // The special row as form data sees it; null when the row has no published settings.
    [[nodiscard]] TPersistent* SpecRowObject() const { return dynamic_cast<TPersistent*>(m_specRow.get()); }

    // ---- The drop-down data grid's own settings
    [[nodiscard]] TCustomDBGridGx* DropDownGrid() const;
    [[nodiscard]] TDBGridColumnsGx* Columns() const;
    // Columns the program set up (else the list shows its display fields).
    [[nodiscard]] bool ColumnsCustomized() const;
    [[nodiscard]] TColumnDefValuesGx* ColumnDefValues() const;
    [[nodiscard]] TDBGridOptions Options() const;
    void SetOptions(TDBGridOptions value);
    [[nodiscard]] bool SortLocal() const;
    void SetSortLocal(bool value);

private:
    TColumnGx* m_column;
    std::unique_ptr<TDataLink> m_listLink;
    std::unique_ptr<IColumnSpecRowGx> m_specRow;
    mutable std::unique_ptr<TCustomDBGridGx> m_grid;
    TDropDownAlign m_align = ddaLeft;
    bool m_autoDrop = false;
    bool m_autoFitColWidths = true;
    int m_rows = 7;
    bool m_showTitles = false;
    bool m_sizable = false;
    bool m_useMultiTitle = false;
    int m_width = 0;
};
