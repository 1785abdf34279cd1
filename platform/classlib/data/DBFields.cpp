#include "platform/classlib/data/DBFields.h"

#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/SqliteDatabase.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cctype>

namespace {

const TTypeInfo& FieldKindTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TFieldKind", {"fkData", "fkCalculated", "fkLookup", "fkInternalCalc", "fkAggregate"});
    return info;
}

const TTypeInfo& AlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

void DescribeField(TClassBuilder& c)
{
    c.String("FieldName", &TField::FieldName, &TField::SetFieldName);
    c.Enum("FieldKind", FieldKindTypeInfo(), &TField::FieldKind, &TField::SetFieldKind).Default(fkData);
    c.Enum("Alignment", AlignmentTypeInfo(), &TField::Alignment, &TField::SetAlignment).Default(taLeftJustify);
    c.String("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
    c.Integer("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth);
    c.Integer("Size", &TField::Size, &TField::SetSize).Default(0);
    c.Boolean("Required", &TField::Required, &TField::SetRequired).Default(0);
    c.Boolean("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly).Default(0);
    c.Boolean("Visible", &TField::Visible, &TField::SetVisible).Default(1);
    c.String("EditMask", &TField::EditMask, &TField::SetEditMask);
    c.String("KeyFields", &TField::KeyFields, &TField::SetKeyFields);
    c.Object("LookupDataSet", &TField::LookupDataSet, &TField::SetLookupDataSet);
    c.String("LookupKeyFields", &TField::LookupKeyFields, &TField::SetLookupKeyFields);
    c.String("LookupResultField", &TField::LookupResultField, &TField::SetLookupResultField);
    c.Event("OnGetText", &TField::OnGetText, &TField::SetOnGetText);
    c.Event("OnSetText", &TField::OnSetText, &TField::SetOnSetText);
    c.Event("OnChange", &TField::OnChange, &TField::SetOnChange);
}

void DescribeNumericField(TClassBuilder& c)
{
    c.String("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat);
    c.String("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
}

void DescribeFloatField(TClassBuilder& c)
{
    c.Integer("Precision", &TFloatField::Precision, &TFloatField::SetPrecision).Default(15);
    c.Boolean("Currency", &TFloatField::Currency, &TFloatField::SetCurrency).Default(0);
}

void DescribeDateTimeField(TClassBuilder& c)
{
    c.String("DisplayFormat", &TDateTimeField::DisplayFormat, &TDateTimeField::SetDisplayFormat);
}

void DescribeBooleanField(TClassBuilder& c)
{
    c.String("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
}

}  // namespace

CLASSLIB_IMPLEMENT_CLASS(TField, TComponent, nullptr, DescribeField)
CLASSLIB_IMPLEMENT_CLASS(TStringField, TField, ComponentCreator<TStringField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TWideStringField, TStringField, ComponentCreator<TWideStringField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TMemoField, TStringField, ComponentCreator<TMemoField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TNumericField, TField, nullptr, DescribeNumericField)
CLASSLIB_IMPLEMENT_CLASS(TIntegerField, TNumericField, ComponentCreator<TIntegerField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TSmallintField, TIntegerField, ComponentCreator<TSmallintField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TWordField, TIntegerField, ComponentCreator<TWordField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TAutoIncField, TIntegerField, ComponentCreator<TAutoIncField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TLargeintField, TIntegerField, ComponentCreator<TLargeintField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TFloatField, TNumericField, ComponentCreator<TFloatField>, DescribeFloatField)
CLASSLIB_IMPLEMENT_CLASS(TCurrencyField, TFloatField, ComponentCreator<TCurrencyField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TBCDField, TNumericField, ComponentCreator<TBCDField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TBooleanField, TField, ComponentCreator<TBooleanField>, DescribeBooleanField)
CLASSLIB_IMPLEMENT_CLASS(TDateTimeField, TField, ComponentCreator<TDateTimeField>, DescribeDateTimeField)
CLASSLIB_IMPLEMENT_CLASS(TDateField, TDateTimeField, ComponentCreator<TDateField>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TTimeField, TDateTimeField, ComponentCreator<TTimeField>, nullptr)

// ---- TField ------------------------------------------------------------------------------------

TField::TField(TComponent* owner) : TField(owner, ftUnknown, 0) {}

TField::TField(TComponent* owner, TFieldType dataType, int size)
    : TComponent(owner), m_dataType(dataType), m_size(size)
{
}

TField::~TField()
{
    if (m_dataSet)
        m_dataSet->RemoveField(this);
}

TComponent* TField::GetParentComponent() const
{
    return m_dataSet;
}

void TField::SetParentComponent(TComponent* parent)
{
    if (auto* dataSet = dynamic_cast<TDataSet*>(parent))
        SetDataSet(dataSet);
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (dataSet)
        dataSet->CheckInactive();
    if (m_dataSet) {
        m_dataSet->CheckInactive();
        m_dataSet->RemoveField(this);
    }
    if (dataSet)
        dataSet->AddField(this);
}

void TField::PropertyChanged(bool layout)
{
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(layout ? deLayoutChange : deDataSetChange, 0);
}

void TField::SetDisplayLabel(const std::string& label)
{
    m_displayLabel = label == m_fieldName ? std::string() : label;
    PropertyChanged(true);
}

int TField::DisplayWidth() const
{
    return m_displayWidth > 0 ? m_displayWidth : DefaultWidth();
}

void TField::SetDisplayWidth(int width)
{
    m_displayWidth = width;
    PropertyChanged(true);
}

void TField::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    PropertyChanged(false);
}

void TField::SetVisible(bool visible)
{
    m_visible = visible;
    PropertyChanged(true);
}

void TField::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    PropertyChanged(false);
}

bool TField::CanModify() const
{
    if (m_readOnly || !m_dataSet)
        return false;
    if (m_dataSet->State() == dsCalcFields)
        return m_fieldKind != fkData;
    return m_fieldKind == fkData && m_dataSet->CanModify();
}

bool TField::IsValidChar(char c) const
{
    return c != '\0';
}

int TField::Index() const
{
    return m_dataSet ? m_dataSet->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (m_dataSet)
        m_dataSet->MoveField(this, index);
}

Variant TField::Value() const
{
    return m_dataSet ? m_dataSet->FieldValue(*this) : Variant::MakeNull();
}

void TField::SetValue(const Variant& value)
{
    if (!m_dataSet)
        DatabaseErrorFmt("Field '%s' has no dataset", m_fieldName, this);
    m_dataSet->SetFieldValue(*this, VarIsClear(value) ? Variant::MakeNull() : Coerce(value));
    m_onChange(this);
}

std::string TField::AsString() const
{
    return GetText(Value(), false);
}

void TField::SetAsString(const std::string& value)
{
    SetValue(value.empty() && m_dataType != ftString && m_dataType != ftWideString && m_dataType != ftMemo
                 ? Variant::MakeNull()
                 : ParseText(value));
}

int TField::AsInteger() const
{
    const Variant value = Value();
    return VarIsClear(value) ? 0 : value.ToInteger();
}

std::int64_t TField::AsLargeInt() const
{
    const Variant value = Value();
    return VarIsClear(value) ? 0 : value.ToInt64();
}

double TField::AsFloat() const
{
    const Variant value = Value();
    return VarIsClear(value) ? 0.0 : value.ToDouble();
}

Currency TField::AsCurrency() const
{
    const Variant value = Value();
    return VarIsClear(value) ? Currency() : value.ToCurrency();
}

bool TField::AsBoolean() const
{
    const Variant value = Value();
    return !VarIsClear(value) && value.ToBoolean();
}

TDateTime TField::AsDateTime() const
{
    const Variant value = Value();
    return VarIsClear(value) ? 0.0 : value.ToDateTime();
}

std::string TField::TextFor(bool display) const
{
    if (m_onGetText.Assigned()) {
        std::string text;
        m_onGetText(const_cast<TField*>(this), text, display);
        return text;
    }
    return GetText(Value(), display);
}

void TField::SetText(const std::string& text)
{
    if (m_onSetText.Assigned()) {
        m_onSetText(this, text);
        return;
    }
    SetValue(text.empty() ? Variant::MakeNull() : ParseText(text));
}

Variant TField::Coerce(const Variant& value) const
{
    return value;
}

std::string TField::GetText(const Variant& value, bool) const
{
    return VarToStr(value);
}

Variant TField::ParseText(const std::string& text) const
{
    return Variant(text);
}

void TField::SetLookupDataSet(TDataSet* dataSet)
{
    if (dataSet && dataSet == m_dataSet)
        DatabaseError(SCircularDataLink, this);
    if (m_lookupDataSet)
        m_lookupDataSet->RemoveFreeNotification(this);
    m_lookupDataSet = dataSet;
    if (dataSet)
        dataSet->FreeNotification(this);
}

void TField::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == m_lookupDataSet)
        m_lookupDataSet = nullptr;
    // The data set is going: the field leaves its list now, as it will not be told again.
    if (component == m_dataSet)
        m_dataSet->RemoveField(this);
}

void TField::FocusControl()
{
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deFocusControl, reinterpret_cast<std::intptr_t>(this));
}

// ---- strings -----------------------------------------------------------------------------------

Variant TStringField::Coerce(const Variant& value) const
{
    return Variant(value.ToString());
}

// ---- numbers -----------------------------------------------------------------------------------

TNumericField::TNumericField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, 0)
{
    SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const std::string& format)
{
    m_displayFormat = format;
    PropertyChanged(false);
}

bool TNumericField::IsValidChar(char c) const
{
    return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == DecimalSeparator || c == 'e' ||
           c == 'E';
}

TIntegerField::TIntegerField(TComponent* owner, TFieldType dataType, std::int64_t minValue, std::int64_t maxValue)
    : TNumericField(owner, dataType), m_minValue(minValue), m_maxValue(maxValue)
{
}

Variant TIntegerField::Coerce(const Variant& value) const
{
    const std::int64_t number = value.ToInt64();
    if (number < m_minValue || number > m_maxValue)
        DatabaseError(Format("%d is not a valid value for field '%s'. The allowed range is %d to %d",
                             {static_cast<long long>(number), FieldName(), static_cast<long long>(m_minValue),
                              static_cast<long long>(m_maxValue)}));
    if (number >= INT32_MIN && number <= INT32_MAX)
        return Variant(static_cast<int>(number));
    return Variant(static_cast<long long>(number));
}

std::string TIntegerField::GetText(const Variant& value, bool display) const
{
    if (VarIsClear(value))
        return {};
    const std::string format = FormatFor(display);
    if (!format.empty())
        return FormatFloat(format, static_cast<double>(value.ToInt64()));
    return IntToStr(value.ToInt64());
}

Variant TIntegerField::ParseText(const std::string& text) const
{
    return Variant(static_cast<long long>(StrToInt64(text)));
}

bool TIntegerField::IsValidChar(char c) const
{
    return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-';
}

TFloatField::TFloatField(TComponent* owner, TFieldType dataType) : TNumericField(owner, dataType) {}

void TFloatField::SetPrecision(int precision)
{
    m_precision = std::clamp(precision, 2, 15);
    PropertyChanged(false);
}

void TFloatField::SetCurrency(bool currency)
{
    m_currency = currency;
    PropertyChanged(false);
}

Variant TFloatField::Coerce(const Variant& value) const
{
    return Variant(value.ToDouble());
}

std::string TFloatField::GetText(const Variant& value, bool display) const
{
    if (VarIsClear(value))
        return {};
    const double number = value.ToDouble();
    const std::string format = FormatFor(display);
    if (!format.empty())
        return FormatFloat(format, number);
    if (m_currency)
        return display ? FloatToStrF(number, ffCurrency, m_precision, CurrencyDecimals)
                       : FloatToStrF(number, ffFixed, m_precision, CurrencyDecimals);
    return FloatToStrF(number, ffGeneral, m_precision, 0);
}

Variant TFloatField::ParseText(const std::string& text) const
{
    return Variant(StrToFloat(text));
}

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency)
{
    SetCurrency(true);
}

void TBCDField::SetCurrency(bool currency)
{
    m_currency = currency;
    PropertyChanged(false);
}

Variant TBCDField::Coerce(const Variant& value) const
{
    return Variant(value.ToCurrency());
}

std::string TBCDField::GetText(const Variant& value, bool display) const
{
    if (VarIsClear(value))
        return {};
    const ::Currency amount = value.ToCurrency();
    const std::string format = FormatFor(display);
    if (!format.empty())
        return FormatCurr(format, amount);
    if (m_currency)
        return CurrToStrF(amount, display ? ffCurrency : ffFixed, CurrencyDecimals);
    return CurrToStr(amount);
}

Variant TBCDField::ParseText(const std::string& text) const
{
    return Variant(StrToCurr(text));
}

// ---- Booleans ----------------------------------------------------------------------------------

void TBooleanField::SetDisplayValues(const std::string& values)
{
    m_displayValues = values;
    PropertyChanged(false);
}

std::string TBooleanField::Part(int index) const
{
    const std::size_t split = m_displayValues.find(';');
    if (split == std::string::npos)
        return index == 0 ? m_displayValues : std::string();
    return index == 0 ? m_displayValues.substr(0, split) : m_displayValues.substr(split + 1);
}

Variant TBooleanField::Coerce(const Variant& value) const
{
    if (VarIsStr(value))
        return ParseText(value.ToString());
    return Variant(value.ToBoolean());
}

std::string TBooleanField::GetText(const Variant& value, bool) const
{
    if (VarIsClear(value))
        return {};
    return Part(value.ToBoolean() ? 0 : 1);
}

Variant TBooleanField::ParseText(const std::string& text) const
{
    const std::string trimmed = Trim(text);
    for (int index = 0; index < 2; ++index) {
        const std::string part = Part(index);
        if (!part.empty() && !trimmed.empty() && AnsiStrLIComp(trimmed, part, trimmed.size()) == 0 &&
            trimmed.size() <= part.size())
            return Variant(index == 0);
    }
    DatabaseErrorFmt(SNotBoolean, text);
}

// ---- date-times --------------------------------------------------------------------------------

void TDateTimeField::SetDisplayFormat(const std::string& format)
{
    m_displayFormat = format;
    PropertyChanged(false);
}

Variant TDateTimeField::Coerce(const Variant& value) const
{
    if (VarIsStr(value))
        return ParseText(value.ToString());
    return Variant::FromDateTime(value.ToDateTime());
}

std::string TDateTimeField::GetText(const Variant& value, bool display) const
{
    if (VarIsClear(value))
        return {};
    const std::string format = display && !m_displayFormat.empty() ? m_displayFormat : DefaultFormat();
    return FormatDateTime(format, value.ToDateTime());
}

Variant TDateTimeField::ParseText(const std::string& text) const
{
    TDateTime value;
    if (TryIsoToDateTime(text, value))
        return Variant::FromDateTime(value);
    return Variant::FromDateTime(StrToDateTime(text));
}

// ---- TFields -----------------------------------------------------------------------------------

TField* TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(SFieldIndexError);
    return m_fields[static_cast<std::size_t>(index)];
}

int TFields::IndexOf(const TField* field) const
{
    const auto found = std::find(m_fields.begin(), m_fields.end(), field);
    return found == m_fields.end() ? -1 : static_cast<int>(found - m_fields.begin());
}

TField* TFields::FindField(std::string_view name) const
{
    for (TField* field : m_fields)
        if (AnsiSameText(field->FieldName(), name))
            return field;
    return nullptr;
}

TField* CreateFieldOfType(TFieldType dataType, TComponent* owner)
{
    switch (dataType) {
    case ftWideString:
        return new TWideStringField(owner);
    case ftMemo:
    case ftFmtMemo:
        return new TMemoField(owner);
    case ftSmallint:
        return new TSmallintField(owner);
    case ftInteger:
        return new TIntegerField(owner);
    case ftWord:
        return new TWordField(owner);
    case ftAutoInc:
        return new TAutoIncField(owner);
    case ftLargeint:
        return new TLargeintField(owner);
    case ftFloat:
        return new TFloatField(owner);
    case ftCurrency:
        return new TCurrencyField(owner);
    case ftBCD:
    case ftFMTBcd:
        return new TBCDField(owner);
    case ftBoolean:
        return new TBooleanField(owner);
    case ftDate:
        return new TDateField(owner);
    case ftTime:
        return new TTimeField(owner);
    case ftDateTime:
    case ftTimeStamp:
        return new TDateTimeField(owner);
    default:
        return new TStringField(owner);
    }
}
