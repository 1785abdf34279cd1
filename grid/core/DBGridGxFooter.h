#pragma once

#include "grid/core/DBSumLst.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Colors.h"

#include <memory>
#include <optional>
#include <string>

class TColumnGx;
class TFont;
class TObject;

// What a footer cell shows.
enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

[[nodiscard]] const TTypeInfo& FooterValueTypeTypeInfo();
// The sum list's operation behind a footer of that type; none for the types that read no sum.
[[nodiscard]] std::optional<TGroupOperation> FooterGroupOperation(TFooterValueType type);

// One footer cell of a column: its column's single Footer, or an item of its Footers for grids
// with several footer rows. Alignment, colour and font follow the field and the grid until assigned.
class TColumnFooterGx : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    // An item of a column's Footers.
    explicit TColumnFooterGx(TCollection* collection);
    // A column's single Footer.
    explicit TColumnFooterGx(TColumnGx* column);
    ~TColumnFooterGx() override;

    void Assign(const TPersistent* source) override;
    void RestoreDefaults();

    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    [[nodiscard]] TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    [[nodiscard]] const std::string& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const std::string& value);
    [[nodiscard]] bool EndEllipsis() const { return m_endEllipsis; }
    void SetEndEllipsis(bool value);
    // The grid's FooterFont (the column's font without a grid) until assigned.
    [[nodiscard]] TFont* Font() const;
    void SetFont(TFont* value);
    [[nodiscard]] bool IsFontStored() const { return m_fontAssigned; }
    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& value);
    [[nodiscard]] bool ToolTips() const { return m_toolTips; }
    void SetToolTips(bool value);
    [[nodiscard]] const std::string& Value() const { return m_value; }
    void SetValue(const std::string& value);
    [[nodiscard]] TFooterValueType ValueType() const { return m_valueType; }
    void SetValueType(TFooterValueType value);
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    // The field a sum or an average adds up: the footer's own, else the column's.
    [[nodiscard]] std::string SummedFieldName() const;

private:
    // Tells the grid; `sums` when what the sum list must keep has changed.
    void Changed(bool sums);
    void FontChanged(TObject* sender);

    TColumnGx* m_column;
    std::unique_ptr<TFont> m_font;
    bool m_fontAssigned = false;
    std::optional<TAlignment> m_alignment;
    std::optional<TColor> m_color;
    std::string m_displayFormat;
    bool m_endEllipsis = false;
    std::string m_fieldName;
    bool m_toolTips = false;
    std::string m_value;
    TFooterValueType m_valueType = fvtNon;
    bool m_wordWrap = false;
};

// A column's footers, one per footer row.
class TColumnFootersGx : public TCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnFootersGx(TColumnGx* column);
    // The column is going: clearing the items tells no grid.
    ~TColumnFootersGx() override { m_column = nullptr; }

    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] TColumnFooterGx* Add() { return static_cast<TColumnFooterGx*>(TCollection::Add()); }
    [[nodiscard]] TColumnFooterGx* FooterAt(int index) const { return static_cast<TColumnFooterGx*>(Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TColumnGx* m_column;
};

// The data grid's sum list: the sums, averages and counts its footers show.
class TDBGridGxSumList : public TDBSumListProducer {
    CLASSLIB_DECLARE_CLASS;
    using TDBSumListProducer::TDBSumListProducer;
};
