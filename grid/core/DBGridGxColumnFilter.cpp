#include "grid/core/DBGridGxColumnFilter.h"

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"

namespace {

void DescribeColumnFilter(TClassBuilder& c)
{
    using C = TSTColumnFilterGx;
    c.String("DataField", &C::DataField, &C::SetDataField);
    c.Boolean("Visible", &C::Visible, &C::SetVisible).Default(true);
}

void DescribeGridFilter(TClassBuilder& c)
{
    using C = TSTDBGridGxFilter;
    c.Boolean("Local", &C::Local, &C::SetLocal).Default(false);
    c.Boolean("Visible", &C::Visible, &C::SetVisible).Default(false);
}

// A value as the normalised text shows it: numbers plain, dates in the short date format,
// anything else in single quotes with inner quotes doubled.
[[nodiscard]] std::string ValueText(const Variant& value)
{
    switch (VarType(value)) {
    case varDouble:
        return FloatToStr(value.ToDouble());
    case varDate:
        return DateToStr(value.ToDateTime());
    default: {
        std::string quoted = "'";
        for (const char c : VarToStr(value))
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    }
    }
}

[[nodiscard]] std::string ConditionText(std::uint8_t op, const Variant& value)
{
    if (op == foNullGx)
        return "=Null";
    if (op == foNotNullGx)
        return "<>Null";
    const std::string shown(FilterOperatorText(op));
    if (op != foInGx && op != foNotInGx)
        return shown + " " + ValueText(value);
    std::string list;
    if (VarIsArray(value)) {
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            list += (list.empty() ? "" : ",") + ValueText(value.Element(i));
    } else {
        list = ValueText(value);
    }
    return shown + " (" + list + ")";
}

[[nodiscard]] bool HasLists(const TColumnGx& column)
{
    return column.KeyList()->Count() > 0 && column.PickList()->Count() > 0;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSTColumnFilterGx, TPersistent, nullptr, DescribeColumnFilter)
CLASSLIB_IMPLEMENT_CLASS(TSTDBGridGxFilter, TPersistent, nullptr, DescribeGridFilter)

std::uint8_t FilterValueTypeOfField(const TField* field)
{
    if (!field)
        return fvtOtherGx;
    switch (field->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
        return fvtStringGx;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
        return fvtNumberGx;
    case ftDate:
    case ftTime:
    case ftDateTime:
        return fvtDateTimeGx;
    case ftBoolean:
        return fvtBooleanGx;
    default:
        return fvtOtherGx;
    }
}

// ---- Column filter

TSTColumnFilterGx::TSTColumnFilterGx(TColumnGx* column) : m_column(column) {}

void TSTColumnFilterGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TSTColumnFilterGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_dataField = other->m_dataField;
    SetVisible(other->m_visible);
}

TPersistent* TSTColumnFilterGx::GetOwner() const { return m_column; }

void TSTColumnFilterGx::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    if (IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr)
        grid->RelayoutColumns();
}

void TSTColumnFilterGx::SetExpressionStr(const std::string& text)
{
    FilterExpressionRec previous = m_expression;
    try {
        (void)ParseExpression(text);
    } catch (...) {
        m_expression = std::move(previous);
        throw;
    }
    m_expressionStr = text;
    Repaint();
}

void TSTColumnFilterGx::SetExpressionValue(const std::string& value)
{
    FilterExpressionRec expression;
    expression.ValueType = ValueTypeOfColumn();
    expression.Operator1 = foEqualGx;
    expression.Operand1 = Variant(value);
    if (expression.ValueType == fvtNumberGx)
        expression.Operand1 = Variant(StrToFloat(value));
    else if (expression.ValueType == fvtDateTimeGx)
        expression.Operand1 = Variant::FromDateTime(StrToDateTime(value));
    else
        expression.ValueType = fvtStringGx;
    RecodePickToKey(expression.Operand1);
    m_expression = std::move(expression);
    m_expressionStr = value;
    Repaint();
}

void TSTColumnFilterGx::Clear()
{
    m_expression.ValueType = ValueTypeOfColumn();
    ResetFilterExpression(m_expression);
    m_expressionStr.clear();
    Repaint();
}

std::string TSTColumnFilterGx::ParseExpression(const std::string& text)
{
    m_expression.ValueType = ValueTypeOfColumn();
    (void)ParseFilterExpression(text, m_expression);
    if (m_expression.Operator1 >= foEqualGx && m_expression.Operator1 <= foNotInGx)
        RecodePickToKey(m_expression.Operand1);
    if (m_expression.Operator2 >= foEqualGx && m_expression.Operator2 <= foNotInGx)
        RecodePickToKey(m_expression.Operand2);
    return ExpressionAsString();
}

std::string TSTColumnFilterGx::ExpressionAsString() const
{
    if (m_expression.ValueType == fvtOtherGx || m_expression.Operator1 == foNoneGx)
        return {};
    std::string text = ConditionText(m_expression.Operator1, m_expression.Operand1);
    if (m_expression.Relation != foNoneGx)
        text += " " + std::string(FilterOperatorText(m_expression.Relation)) + " " +
                ConditionText(m_expression.Operator2, m_expression.Operand2);
    return text;
}

std::string TSTColumnFilterGx::FilterFieldName() const
{
    if (!m_dataField.empty() || !m_column)
        return m_dataField;
    return m_column->FieldName();
}

// Pick and key lists make every condition one on strings (the keys); otherwise the field says.
std::uint8_t TSTColumnFilterGx::ValueTypeOfColumn() const
{
    if (!m_column)
        return fvtStringGx;
    if (HasLists(*m_column))
        return fvtStringGx;
    const std::uint8_t type = FilterValueTypeOfField(m_column->Field());
    return type == fvtOtherGx ? fvtStringGx : type;
}

// Each shown pick text becomes the key at its index; a text whose index the key list does not
// reach stays as it is.
void TSTColumnFilterGx::RecodePickToKey(Variant& operand) const
{
    if (!m_column || !HasLists(*m_column) || VarIsNull(operand))
        return;
    const TStrings& picks = *m_column->PickList();
    const TStrings& keys = *m_column->KeyList();
    const auto recode = [&](const Variant& value) {
        const int index = picks.IndexOf(VarToStr(value));
        return index >= 0 && index < keys.Count() ? Variant(keys.Strings(index)) : value;
    };
    if (!VarIsArray(operand)) {
        operand = recode(operand);
        return;
    }
    for (int i = operand.LowBound(); i <= operand.HighBound(); ++i)
        operand.SetElement(i, recode(operand.Element(i)));
}

void TSTColumnFilterGx::Repaint()
{
    if (IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr)
        grid->InvalidateGrid();
}

// ---- Grid filter

void TSTDBGridGxFilter::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TSTDBGridGxFilter*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_local = other->m_local;
    SetVisible(other->m_visible);
}

void TSTDBGridGxFilter::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    m_changed(this);
}

// ---- The column's side

TSTColumnFilterGx* TColumnGx::STFilter() const
{
    if (!m_stFilter)
        m_stFilter = std::make_unique<TSTColumnFilterGx>(const_cast<TColumnGx*>(this));
    return m_stFilter.get();
}
