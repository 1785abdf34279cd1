#pragma once

#include "grid/core/FilterExpression.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/Persistent.h"

#include <memory>
#include <string>

class TColumnGx;
class TDataSet;
class TDataSource;
class TField;
class TFieldDataLink;

// The condition a column's filter cell holds: the text the user gave and its parsed form. A column
// with a pick list and a key list shows pick texts and filters on the keys, so the parsed form
// carries the keys. A column that shows one value and filters on another (a lookup field, or an
// explicit ListSource with ListField shown and KeyField kept) turns the shown text into the key
// values of the list records that show it.
class TSTColumnFilterGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TSTColumnFilterGx(TColumnGx* column);
    ~TSTColumnFilterGx() override;

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override;

    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    // The field the condition applies to when it is not the column's own.
    [[nodiscard]] const std::string& DataField() const { return m_dataField; }
    void SetDataField(const std::string& value) { m_dataField = value; }
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    // The size of the cell's list: its width in pixels (100 when 0 or less) and its rows (17 when 0
    // or less).
    [[nodiscard]] int DropDownListWidth() const { return m_dropDownListWidth; }
    void SetDropDownListWidth(int value) { m_dropDownListWidth = value; }
    [[nodiscard]] int DropDownListRows() const { return m_dropDownListRows; }
    void SetDropDownListRows(int value) { m_dropDownListRows = value; }
    [[nodiscard]] const std::string& KeyField() const { return m_keyField; }
    void SetKeyField(const std::string& value) { m_keyField = value; }
    [[nodiscard]] const std::string& ListField() const { return m_listField; }
    void SetListField(const std::string& value) { m_listField = value; }
    [[nodiscard]] TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);
    // The list's rows of the cell's drop-down: their shown values, and the keys the condition is on.
    [[nodiscard]] TDataSet* LookupDataSet() const;
    [[nodiscard]] std::string KeyFieldName() const;
    [[nodiscard]] std::string ListFieldName() const;

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

    // DataField, else a lookup field's KeyFields, else the column's FieldName.
    [[nodiscard]] std::string FilterFieldName() const;
    // The operand the records are compared with: the key values with a key field, else the parsed
    // one.
    [[nodiscard]] Variant Operand1() const;
    // The condition as the records are to meet it (the key values in place of the shown text).
    [[nodiscard]] FilterExpressionRec AppliedExpression() const;

private:
    [[nodiscard]] std::uint8_t ValueTypeOfColumn() const;
    void RecodePickToKey(Variant& operand) const;
    // With a key field, a shown text (not a null test) becomes In (its key values), or Null when no
    // list record shows it.
    void TranslateToKeys(const std::string& text);
    [[nodiscard]] TField* LookupField() const;
    void Repaint();

    TColumnGx* m_column;
    std::string m_dataField;
    std::string m_keyField;
    std::string m_listField;
    std::unique_ptr<TFieldDataLink> m_listLink;
    bool m_visible = true;
    int m_dropDownListWidth = 0;
    int m_dropDownListRows = 0;
    FilterExpressionRec m_expression;
    std::string m_expressionStr;
    Variant m_keyValues = Null();
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
