#pragma once

#include "grid/core/FilterExpression.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/Persistent.h"

#include <string>

class TColumnGx;
class TField;

// The condition a column's filter cell holds: the text the user gave and its parsed form. A column
// with a pick list and a key list shows pick texts and filters on the keys, so the parsed form
// carries the keys.
class TSTColumnFilterGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TSTColumnFilterGx(TColumnGx* column);

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override;

    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    // The field the condition applies to when it is not the column's own.
    [[nodiscard]] const std::string& DataField() const { return m_dataField; }
    void SetDataField(const std::string& value) { m_dataField = value; }
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    [[nodiscard]] const FilterExpressionRec& Expression() const { return m_expression; }
    [[nodiscard]] const std::string& ExpressionStr() const { return m_expressionStr; }
    // Parses the text (raising the parser's error and keeping the previous condition when it is
    // malformed) and repaints the grid.
    void SetExpressionStr(const std::string& text);
    // A value chosen from the cell's list: the condition is equality with exactly that value,
    // whatever characters it holds; the text shows the value as it was listed.
    void SetExpressionValue(const std::string& value);
    void Clear();
    // Fills the parsed form from the text and returns its normalised text.
    std::string ParseExpression(const std::string& text);
    // The parsed form written back as text: "= 'abc'", "In (1,2,3)", ">= 5 AND <= 10". Quotes
    // inside a string are doubled, so the text reads back as the same condition.
    [[nodiscard]] std::string ExpressionAsString() const;
    [[nodiscard]] bool HasCondition() const { return m_expression.Operator1 != foNoneGx; }

    // DataField, else the column's FieldName.
    [[nodiscard]] std::string FilterFieldName() const;

private:
    [[nodiscard]] std::uint8_t ValueTypeOfColumn() const;
    void RecodePickToKey(Variant& operand) const;
    void Repaint();

    TColumnGx* m_column;
    std::string m_dataField;
    bool m_visible = true;
    FilterExpressionRec m_expression;
    std::string m_expressionStr;
};

// The grid-wide switch of the filter row.
class TSTDBGridGxFilter : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    // `changed` runs when the row appears or goes.
    explicit TSTDBGridGxFilter(TNotifyEvent changed) : m_changed(std::move(changed)) {}

    void Assign(const TPersistent* source) override;

    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    // Whether the grid filters the records it has in memory itself (rather than a handler of
    // OnApplyFilter doing it); stored for the program, the grid reads OnApplyFilter only.
    [[nodiscard]] bool Local() const { return m_local; }
    void SetLocal(bool value) { m_local = value; }
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate() { --m_updateCount; }
    [[nodiscard]] bool Updating() const { return m_updateCount > 0; }

private:
    TNotifyEvent m_changed;
    bool m_visible = false;
    bool m_local = false;
    int m_updateCount = 0;
};

// The parser's value type for a field's data type.
[[nodiscard]] std::uint8_t FilterValueTypeOfField(const TField* field);
