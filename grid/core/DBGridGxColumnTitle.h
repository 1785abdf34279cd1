#pragma once

#include "grid/core/DataGridGx.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <memory>
#include <string>

class TColumnGx;

enum TSortMarkerGx { smNoneGx, smDownGx, smUpGx };

[[nodiscard]] const TTypeInfo& SortMarkerGxTypeInfo();
[[nodiscard]] const TTypeInfo& TextOrientationGxTypeInfo();

// The title settings of one column: caption, looks, and the column's sort marker with its place
// in a multi-column sort. Which properties were assigned is kept in the column's assigned set;
// the unassigned ones read the grid's title defaults (or plain defaults without a grid).
class TColumnTitleGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnTitleGx(TColumnGx* column = nullptr);
    ~TColumnTitleGx() override;

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] TColumnGx* Column() const { return m_column; }

    [[nodiscard]] TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    // The field's display name, or FieldName without a field.
    [[nodiscard]] std::string Caption() const;
    // A default column's caption is its field's display label.
    virtual void SetCaption(const std::string& value);
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    [[nodiscard]] bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    [[nodiscard]] TFont* Font() const;
    void SetFont(TFont* value);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& value) { m_hint = value; }
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);
    [[nodiscard]] TTextOrientationGx Orientation() const;
    void SetOrientation(TTextOrientationGx value);
    [[nodiscard]] int SortIndex() const { return m_sortIndex; }
    void SetSortIndex(int value);
    [[nodiscard]] TSortMarkerGx SortMarker() const { return m_sortMarker; }
    void SetSortMarker(TSortMarkerGx value);
    [[nodiscard]] bool TitleButton() const;
    void SetTitleButton(bool value);
    [[nodiscard]] bool ToolTips() const;
    void SetToolTips(bool value);

    [[nodiscard]] TColumnTitleDefaultsGx Defaults() const;
    [[nodiscard]] std::string DefaultCaption() const;
    virtual void RestoreDefaults();
    // Copies the default font in when the font is not assigned and differs.
    void ResyncDefaultFont() const;
    // A title click: cycles none, down, up and back (down without Multi); without Multi every
    // other column loses its marker.
    void ToggleSortMarker(bool multi);
    // Room the marker and its number take at the right of the caption.
    [[nodiscard]] int SortMarkerWidth() const;

    // Stored predicates: only assigned values that differ from the default.
    [[nodiscard]] bool IsAlignmentStored() const;
    [[nodiscard]] bool IsCaptionStored() const;
    [[nodiscard]] bool IsColorStored() const;
    [[nodiscard]] bool IsEndEllipsisStored() const;
    [[nodiscard]] bool IsFontStored() const;
    [[nodiscard]] bool IsOrientationStored() const;
    [[nodiscard]] bool IsTitleButtonStored() const;
    [[nodiscard]] bool IsToolTipsStored() const;

private:
    void FontChanged(TObject* sender);
    [[nodiscard]] TFont& DefaultFont() const;
    [[nodiscard]] IDataGridGx* Grid() const;
    [[nodiscard]] bool Assigned(int bit) const;
    void MarkAssigned(int bit);
    void Changed(bool allItems = false);
    void ChangeSortMarker(TSortMarkerGx value);

    TColumnGx* m_column;
    TAlignment m_alignment = taLeftJustify;
    std::string m_caption;
    TColor m_color = clBtnFace;
    bool m_endEllipsis = false;
    std::unique_ptr<TFont> m_font;
    std::string m_hint;
    int m_imageIndex = -1;
    TTextOrientationGx m_orientation = tohHorizontal;
    int m_sortIndex = 0;
    bool m_toolTips = false;
    TSortMarkerGx m_sortMarker = smNoneGx;
    bool m_titleButton = false;
};
