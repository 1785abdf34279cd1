#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <string>
#include <vector>

class THeadTreeNode;

// What the exporters, the importers and the clipboard actions need of a data grid: its data set
// and columns, what is selected, its position, how it colours cells, titles and footers. Keeping
// them behind this interface lets them serve any grid that can answer it.
class IImpExpGridGx {
public:
    // What the user selected.
    enum class TSelection { None, RecordBookmarks, Rectangle, Columns, All };

    // A block of cells: grid columns LeftCol..RightCol (indices into GridColumns, both inclusive)
    // of the records from TopRow to BottomRow.
    struct TRectangle {
        int LeftCol = 0;
        int RightCol = -1;
        TBookmark TopRow;
        TBookmark BottomRow;
    };

    // Footers whose values the exporters total themselves; every other kind shows the grid's text.
    enum class TFooterKind { Text, Sum, Count };

    struct TFooter {
        TFooterKind Kind = TFooterKind::Text;
        // The field totalled; empty: the column's field.
        std::string FieldName;
        const TFont* Font = nullptr;
        TColor Color = clBtnFace;
        TAlignment Alignment = taLeftJustify;
    };

    // A data cell as the grid would paint it.
    struct TCellParams {
        TFont* Font = nullptr;
        TColor Background = clWindow;
        TAlignment Alignment = taLeftJustify;
        int ImageIndex = -1;
        std::string Text;
        TCheckBoxStateGx CheckState = cbUncheckedGx;
    };

    // Where the grid stands: its current record.
    struct TPosition {
        TBookmark Record;
    };

    virtual ~IImpExpGridGx() = default;

    // Null when the grid has no data source or the source no data set.
    [[nodiscard]] virtual TDataSet* DataSet() const = 0;
    [[nodiscard]] virtual std::vector<TColumnGx*> GridColumns() const = 0;
    [[nodiscard]] virtual TDBGridOptions Options() const = 0;
    [[nodiscard]] virtual TDBGridGxAllowedOperations AllowedOperations() const = 0;

    // ---- Selection
    [[nodiscard]] virtual TSelection SelectionKind() const = 0;
    // In the order they were selected.
    [[nodiscard]] virtual std::vector<TBookmark> SelectedBookmarks() const = 0;
    [[nodiscard]] virtual TRectangle SelectedRectangle() const = 0;
    // In the order they were selected.
    [[nodiscard]] virtual std::vector<TColumnGx*> SelectedColumns() const = 0;
    virtual void ClearSelection() = 0;

    // ---- Position
    [[nodiscard]] virtual TPosition SavePosition() const = 0;
    virtual void RestorePosition(const TPosition& position) = 0;
    [[nodiscard]] virtual TColumnGx* CurrentColumn() const = 0;
    virtual void SetCurrentColumn(TColumnGx* column) = 0;

    // ---- Cells
    // The grid's cell-colouring handler, with an empty draw state.
    virtual void GetCellParams(TColumnGx& column, TFont& font, TColor& background) = 0;
    // The column's own say over its cell (text, font, alignment, image), outside editing.
    virtual void ColumnCellParams(TColumnGx& column, TCellParams& params) = 0;

    // ---- Titles
    [[nodiscard]] virtual bool UseMultiTitle() const = 0;
    // With multi-level titles: the title leaf of each grid column, in GridColumns order; the
    // groups above a leaf are its parents up to the root.
    [[nodiscard]] virtual std::vector<THeadTreeNode*> TitleLeaves() const = 0;
    [[nodiscard]] virtual TFont& TitleFont() const = 0;
    [[nodiscard]] virtual TColor FixedColor() const = 0;
    [[nodiscard]] virtual int VTitleMargin() const = 0;
    [[nodiscard]] virtual bool Flat() const = 0;
    // LOGPIXELSX of the grid's canvas.
    [[nodiscard]] virtual int PixelsPerInch() const = 0;

    // ---- Footers
    [[nodiscard]] virtual int FooterRowCount() const = 0;
    [[nodiscard]] virtual TFooter Footer(TColumnGx& column, int footerRow) const = 0;
    // The text the grid shows in a footer cell.
    [[nodiscard]] virtual std::string FooterText(TColumnGx& column, int footerRow) const = 0;
    // The grid's footer-colouring handler, with an empty draw state.
    virtual void GetFooterParams(TColumnGx& column, int footerRow, TFont& font, TColor& background,
                                 TAlignment& alignment, std::string& text) = 0;
};

// A data grid as the exporters see it: its selection, titles and footers as the grid keeps them.
class TDBGridGxImpExpAdapter : public IImpExpGridGx {
public:
    explicit TDBGridGxImpExpAdapter(TCustomDBGridGx& grid) : m_grid(grid) {}

    [[nodiscard]] TDataSet* DataSet() const override;
    [[nodiscard]] std::vector<TColumnGx*> GridColumns() const override;
    [[nodiscard]] TDBGridOptions Options() const override { return m_grid.Options(); }
    [[nodiscard]] TDBGridGxAllowedOperations AllowedOperations() const override { return m_grid.AllowedOperations(); }

    [[nodiscard]] TSelection SelectionKind() const override;
    [[nodiscard]] std::vector<TBookmark> SelectedBookmarks() const override;
    [[nodiscard]] TRectangle SelectedRectangle() const override;
    [[nodiscard]] std::vector<TColumnGx*> SelectedColumns() const override;
    void ClearSelection() override { m_grid.DataSelection().Clear(); }

    [[nodiscard]] TPosition SavePosition() const override;
    void RestorePosition(const TPosition& position) override;
    [[nodiscard]] TColumnGx* CurrentColumn() const override;
    void SetCurrentColumn(TColumnGx* column) override;

    void GetCellParams(TColumnGx& column, TFont& font, TColor& background) override;
    void ColumnCellParams(TColumnGx&, TCellParams&) override {}

    [[nodiscard]] bool UseMultiTitle() const override { return m_grid.UseMultiTitle(); }
    [[nodiscard]] std::vector<THeadTreeNode*> TitleLeaves() const override { return m_grid.TitleLeaves(); }
    [[nodiscard]] TFont& TitleFont() const override { return *m_grid.TitleFont(); }
    [[nodiscard]] TColor FixedColor() const override { return m_grid.FixedColor(); }
    [[nodiscard]] int VTitleMargin() const override { return m_grid.VTitleMargin(); }
    [[nodiscard]] bool Flat() const override { return m_grid.Flat(); }
    [[nodiscard]] int PixelsPerInch() const override;

    [[nodiscard]] int FooterRowCount() const override { return m_grid.FooterRowCount(); }
    [[nodiscard]] TFooter Footer(TColumnGx& column, int footerRow) const override;
    [[nodiscard]] std::string FooterText(TColumnGx& column, int footerRow) const override
    {
        return m_grid.GetFooterValue(footerRow, column);
    }
    void GetFooterParams(TColumnGx& column, int footerRow, TFont& font, TColor& background, TAlignment& alignment,
                         std::string& text) override;

private:
    TCustomDBGridGx& m_grid;
};
