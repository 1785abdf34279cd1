#pragma once

#include "grid/core/DBGridGxColumnExtraRowHook.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/rtl/Variant.h"

#include <memory>
#include <string>
#include <vector>

// Parses the cells of a special row's text into `cells`: ';' separates cells; a cell that starts
// with '"' runs to the closing quote (a doubled quote inside stands for one; an unclosed one runs
// to the end); control characters around cells are skipped.
void SplitCellsText(TStrings& cells, const std::string& text);
// The cells joined into a special row's text that SplitCellsText reads back as the same cells: a
// cell holding ';', a quote, a control character or nothing at all is quoted.
[[nodiscard]] std::string JoinCellsText(const std::vector<std::string>& cells);

// The special first row of a lookup list: a "none" or "all" entry with its own texts, value,
// colour and font. Font and colour follow the owner's until set on the row itself.
class TSpecRowGx : public TPersistent, public IColumnSpecRowGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TSpecRowGx(TPersistent* owner);
    ~TSpecRowGx() override;

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override { return m_owner; }
    // Value, a variant, is stored by the filer itself when it is not Null.
    void DefineProperties(TFiler& filer) override;

    // The cell's text; '' outside the cells.
    [[nodiscard]] std::string CellText(int index) const override;
    [[nodiscard]] const TStrings& Cells() const { return *m_cells; }

    [[nodiscard]] const std::string& CellsText() const { return m_cellsText; }
    void SetCellsText(const std::string& value);
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    [[nodiscard]] bool OwnColor() const { return m_ownColor; }
    [[nodiscard]] TFont* Font() const;
    void SetFont(const TFont* value);
    [[nodiscard]] bool OwnFont() const { return m_ownFont; }
    [[nodiscard]] TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut value);
    [[nodiscard]] bool ShowIfNotInKeyList() const override { return m_showIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool value);
    [[nodiscard]] const Variant& Value() const override { return m_value; }
    void SetValue(const Variant& value);
    [[nodiscard]] bool Visible() const override { return m_visible; }
    void SetVisible(bool value);

    void BeginUpdate() { ++m_updateDepth; }
    void EndUpdate();

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

private:
    void Changed();
    void FontChanged();

    TPersistent* m_owner;
    std::string m_cellsText;
    std::unique_ptr<TStringList> m_cells;
    TColor m_color = clWindow;
    bool m_ownColor = false;
    std::unique_ptr<TFont> m_font;
    bool m_ownFont = false;
    bool m_copyingFont = false;
    TShortCut m_shortCut = static_cast<TShortCut>(scAlt | VK_DELETE);
    bool m_showIfNotInKeyList = true;
    Variant m_value = Null();
    bool m_visible = false;
    int m_updateDepth = 0;
    TNotifyEvent m_onChange;
};

// Gives every data-grid column made from now on a special row for its lookup drop-down; the
// program calls it once at start-up.
void RegisterColumnSpecialRows();
