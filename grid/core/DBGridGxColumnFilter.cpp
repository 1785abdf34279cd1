#include "grid/core/DBGridGxColumnFilter.h"

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/core/TypInfo.h"
#include "grid/core/DBGridGxDataLink.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"

namespace {

void DescribeColumnFilter(TClassBuilder& c)
{
    using C = TSTColumnFilterGx;
    c.String("DataField", &C::DataField, &C::SetDataField);
    c.Integer("DropDownListRows", &C::DropDownListRows, &C::SetDropDownListRows).Default(0);
    c.Integer("DropDownListWidth", &C::DropDownListWidth, &C::SetDropDownListWidth).Default(0);
    c.String("KeyField", &C::KeyField, &C::SetKeyField);
    c.String("ListField", &C::ListField, &C::SetListField);
    c.Object("ListSource", &C::ListSource, &C::SetListSource);
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

TSTColumnFilterGx::TSTColumnFilterGx(TColumnGx* column)
    : m_column(column), m_listLink(std::make_unique<TFieldDataLink>())
{
}

TSTColumnFilterGx::~TSTColumnFilterGx() = default;

void TSTColumnFilterGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TSTColumnFilterGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_dataField = other->m_dataField;
    m_keyField = other->m_keyField;
    m_dropDownListWidth = other->m_dropDownListWidth;
    m_dropDownListRows = other->m_dropDownListRows;
    m_listField = other->m_listField;
    SetListSource(other->ListSource());
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
    TranslateToKeys(text);
    m_expressionStr = text;
    Repaint();
}

void TSTColumnFilterGx::TranslateToKeys(const std::string& text)
{
    const std::string keyField = KeyFieldName();
    if (keyField.empty() || m_expression.Operator1 == foNullGx || m_expression.Operator1 == foNotNullGx)
        return;
    m_keyValues = Null();
    if (TDataSet* list = LookupDataSet(); list && list->Active() && !text.empty())
        m_keyValues = list->Lookup(ListFieldName(), Variant(text), keyField);
    ResetFilterExpression(m_expression);
    m_expression.ValueType = fvtStringGx;
    if (VarIsNull(m_keyValues)) {
        m_expression.Operator1 = text.empty() ? foNoneGx : foNullGx;
    } else {
        m_expression.Operator1 = foInGx;
        m_expression.Operand1 = Variant(text);
    }
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
    TranslateToKeys(value);
    m_expressionStr = value;
    Repaint();
}

void TSTColumnFilterGx::Clear()
{
    m_keyValues = Null();
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
    // A list source's condition reads as its values.
    if (ListSource() && m_expression.Operator1 != foNullGx && m_expression.Operator1 != foNotNullGx) {
        const Variant& operand = m_expression.Operand1;
        if (!VarIsArray(operand))
            return VarToStr(operand);
        std::string list;
        for (int i = operand.LowBound(); i <= operand.HighBound(); ++i)
            list += (list.empty() ? "" : ",") + ValueText(operand.Element(i));
        return list;
    }
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
    if (const TField* lookup = LookupField())
        return lookup->KeyFields();
    return m_column->FieldName();
}

TDataSource* TSTColumnFilterGx::ListSource() const { return m_listLink->DataSource(); }

void TSTColumnFilterGx::SetListSource(TDataSource* source) { m_listLink->SetDataSource(source); }

// The column's field when it is a lookup field of an active grid.
TField* TSTColumnFilterGx::LookupField() const
{
    if (!m_column || !m_column->OwnerGrid() || !m_column->OwnerGrid()->DataLink().Active())
        return nullptr;
    TField* field = m_column->Field();
    return field && field->Lookup() ? field : nullptr;
}

TDataSet* TSTColumnFilterGx::LookupDataSet() const
{
    if (TDataSet* list = m_listLink->DataSet())
        return list;
    const TField* lookup = LookupField();
    return lookup ? lookup->LookupDataSet() : nullptr;
}

std::string TSTColumnFilterGx::KeyFieldName() const
{
    if (!m_keyField.empty())
        return m_keyField;
    const TField* lookup = LookupField();
    return lookup ? lookup->LookupKeyFields() : std::string();
}

std::string TSTColumnFilterGx::ListFieldName() const
{
    if (!m_listField.empty())
        return m_listField;
    if (const TField* lookup = LookupField())
        return lookup->LookupResultField();
    return m_column ? m_column->FieldName() : std::string();
}

Variant TSTColumnFilterGx::Operand1() const
{
    return KeyFieldName().empty() ? m_expression.Operand1 : m_keyValues;
}

FilterExpressionRec TSTColumnFilterGx::AppliedExpression() const
{
    FilterExpressionRec applied = m_expression;
    if (applied.Operator1 != foNullGx && applied.Operator1 != foNotNullGx)
        applied.Operand1 = Operand1();
    return applied;
}

// Pick and key lists make every condition one on strings (the keys); otherwise the field says.
std::uint8_t TSTColumnFilterGx::ValueTypeOfColumn() const
{
    if (!m_column)
        return fvtStringGx;
    if (HasLists(*m_column))
        return fvtStringGx;
    const std::uint8_t type = FilterValueTypeOfField(m_column->Field());
    return type == fvtOtherGx ? std::uint8_t{fvtStringGx} : type;
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
