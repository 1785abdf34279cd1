#pragma once

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <memory>
#include <string>

class TDBLookupGridColumnGx;
class TSpecRowGx;

// The special row's cell of one lookup-grid column. What the column does not set itself comes
// from the grid's special row: the text of the cell at the column's index, its colour and font.
class TGridColumnSpecCellGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TGridColumnSpecCellGx(TDBLookupGridColumnGx& column);
    ~TGridColumnSpecCellGx() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] std::string Text() const;
    void SetText(const std::string& value);
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    [[nodiscard]] TFont* Font() const;
    void SetFont(const TFont* value);

    [[nodiscard]] bool TextAssigned() const { return m_textAssigned; }
    [[nodiscard]] bool ColorAssigned() const { return m_colorAssigned; }
    [[nodiscard]] bool FontAssigned() const { return m_fontAssigned; }

private:
    [[nodiscard]] TSpecRowGx* GridSpecRow() const;
    void Changed();

    TDBLookupGridColumnGx& m_column;
    std::string m_text;
    TColor m_color = clWindow;
    std::unique_ptr<TFont> m_font;
    bool m_textAssigned = false;
    bool m_colorAssigned = false;
    bool m_fontAssigned = false;
    bool m_copyingFont = false;
};

// A column of a lookup grid: a data-grid column with its own cell in the special row.
class TDBLookupGridColumnGx : public TColumnGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TDBLookupGridColumnGx(TCollection* collection);
    ~TDBLookupGridColumnGx() override;

    void Assign(const TPersistent* source) override;
    // The column takes its special-row cell text along to its new place.
    void SetIndex(int index) override;

    [[nodiscard]] TGridColumnSpecCellGx* SpecCell() const { return m_specCell.get(); }
    void SetSpecCell(const TGridColumnSpecCellGx* value) { m_specCell->Assign(value); }
    // The special row of the column's grid; null outside a lookup grid.
    [[nodiscard]] TSpecRowGx* GridSpecRow() const;
    // The special-row cell changed: the grid repaints the column.
    void SpecCellChanged() { Changed(); }

private:
    std::unique_ptr<TGridColumnSpecCellGx> m_specCell;
};
