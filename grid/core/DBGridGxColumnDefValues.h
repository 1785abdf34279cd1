#pragma once

#include "grid/core/DataGridGx.h"
#include "platform/classlib/core/Persistent.h"

#include <optional>

class TCustomDBGridGx;

// What an unassigned column title takes from its grid. Alignment and colour follow the grid (left
// alignment, centred under multi-line titles; the grid's fixed colour) until assigned.
class TColumnTitleDefValuesGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnTitleDefValuesGx(TCustomDBGridGx* grid) : m_grid(grid) {}

    // Copies what the source has assigned, and its flags and orientation.
    void Assign(const TPersistent* source) override;

    // Centred under multi-line titles, else left, until assigned.
    [[nodiscard]] TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    // Form data keeps only what was assigned.
    [[nodiscard]] bool IsAlignmentStored() const { return m_alignment.has_value(); }
    [[nodiscard]] bool IsColorStored() const { return m_color.has_value(); }
    [[nodiscard]] bool EndEllipsis() const { return m_endEllipsis; }
    void SetEndEllipsis(bool value);
    [[nodiscard]] TTextOrientationGx Orientation() const { return m_orientation; }
    void SetOrientation(TTextOrientationGx value);
    [[nodiscard]] bool TitleButton() const { return m_titleButton; }
    void SetTitleButton(bool value);
    [[nodiscard]] bool ToolTips() const { return m_toolTips; }
    void SetToolTips(bool value) { m_toolTips = value; }

private:
    void Changed(bool layout);

    TCustomDBGridGx* m_grid;
    std::optional<TAlignment> m_alignment;
    std::optional<TColor> m_color;
    bool m_endEllipsis = false;
    TTextOrientationGx m_orientation = tohHorizontal;
    bool m_titleButton = false;
    bool m_toolTips = false;
};

// The grid's defaults for its columns' unassigned flags, titles and footers (ColumnDefValues).
class TColumnDefValuesGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnDefValuesGx(TCustomDBGridGx* grid);
    ~TColumnDefValuesGx() override;

    // Copies the title defaults and the flags; not the layout, the required-field mark or the
    // footer defaults.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] TColumnTitleDefValuesGx* Title() const { return m_title.get(); }
    void SetTitle(TColumnTitleDefValuesGx* value) { m_title->Assign(value); }
    [[nodiscard]] bool FooterToolTips() const { return m_footerToolTips; }
    void SetFooterToolTips(bool value) { m_footerToolTips = value; }
    [[nodiscard]] bool Flag(TColumnDefaultFlagGx flag) const;
    void SetFlag(TColumnDefaultFlagGx flag, bool value);
    // One flag as a property of its own (form data names each).
    template <TColumnDefaultFlagGx F>
    [[nodiscard]] bool FlagValue() const
    {
        return Flag(F);
    }
    template <TColumnDefaultFlagGx F>
    void SetFlagValue(bool value)
    {
        SetFlag(F, value);
    }
    [[nodiscard]] TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout value);

private:
    TCustomDBGridGx* m_grid;
    std::unique_ptr<TColumnTitleDefValuesGx> m_title;
    bool m_footerToolTips = false;
    unsigned m_flags = 0;
    TTextLayout m_layout = tlTop;
};
