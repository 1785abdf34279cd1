#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/core/Events.h"
#include "platform/rtl/Variant.h"

#include <string>
#include <string_view>
#include <vector>

class TField;

using TFieldNotifyEvent = TEvent<TField*>;
using TFieldGetTextEvent = TEvent<TField*, std::string&, bool>;
using TFieldSetTextEvent = TEvent<TField*, const std::string&>;

// One column of a data set, or a calculated or lookup value beside them. A field reads and
// writes the data set's active record: the cursor's, or whichever buffered row a data link made
// active for painting. Fields are components: created by the data set on Open (default fields,
// freed on Close) or beforehand by their owner (persistent fields, kept across Close).
class TField : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TField(TComponent* owner);
    ~TField() override;

    [[nodiscard]] TDataSet* DataSet() const { return m_dataSet; }
    // Joins the data set's field list (it must be closed).
    void SetDataSet(TDataSet* dataSet);
    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& name) { m_fieldName = name; }
    [[nodiscard]] std::string DisplayLabel() const { return m_displayLabel.empty() ? m_fieldName : m_displayLabel; }
    void SetDisplayLabel(const std::string& label);
    [[nodiscard]] std::string DisplayName() const { return DisplayLabel(); }
    [[nodiscard]] int DisplayWidth() const;
    void SetDisplayWidth(int width);
    [[nodiscard]] TFieldType DataType() const { return m_dataType; }
    [[nodiscard]] TFieldKind FieldKind() const { return m_fieldKind; }
    void SetFieldKind(TFieldKind kind) { m_fieldKind = kind; }
    [[nodiscard]] bool Calculated() const { return m_fieldKind == fkCalculated; }
    [[nodiscard]] bool Lookup() const { return m_fieldKind == fkLookup; }
    [[nodiscard]] int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    [[nodiscard]] bool Required() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // Writable: not read-only, a data field (or any field while calculating) of a data set that
    // can be modified.
    [[nodiscard]] bool CanModify() const;
    [[nodiscard]] virtual bool IsBlob() const { return false; }
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] const std::string& EditMask() const { return m_editMask; }
    void SetEditMask(const std::string& mask) { m_editMask = mask; }
    // Whether a typed character suits the field (digits for numbers, ...).
    [[nodiscard]] virtual bool IsValidChar(char c) const;
    // Position in the data set's Fields; setting it moves the field.
    [[nodiscard]] int Index() const;
    void SetIndex(int index);
    // 1-based position of the column in the data set's records; 0 for calculated and lookups.
    [[nodiscard]] int FieldNo() const { return m_fieldKind == fkData ? m_slot + 1 : 0; }

    [[nodiscard]] Variant Value() const;
    void SetValue(const Variant& value);
    [[nodiscard]] Variant AsVariant() const { return Value(); }
    void SetAsVariant(const Variant& value) { SetValue(value); }
    [[nodiscard]] std::string AsString() const;
    void SetAsString(const std::string& value);
    [[nodiscard]] int AsInteger() const;
    void SetAsInteger(int value) { SetValue(Variant(value)); }
    [[nodiscard]] std::int64_t AsLargeInt() const;
    void SetAsLargeInt(std::int64_t value) { SetValue(Variant(static_cast<long long>(value))); }
    [[nodiscard]] double AsFloat() const;
    void SetAsFloat(double value) { SetValue(Variant(value)); }
    [[nodiscard]] Currency AsCurrency() const;
    void SetAsCurrency(Currency value) { SetValue(Variant(value)); }
    [[nodiscard]] virtual bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(Variant(value)); }
    [[nodiscard]] TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value) { SetValue(Variant::FromDateTime(value)); }
    [[nodiscard]] bool IsNull() const { return VarIsClear(Value()); }
    void Clear() { SetValue(Variant::MakeNull()); }

    // The text shown (DisplayFormat, OnGetText) and the text edited (EditFormat).
    [[nodiscard]] std::string DisplayText() const { return TextFor(true); }
    [[nodiscard]] std::string Text() const { return TextFor(false); }
    // Goes through OnSetText when assigned; an empty text clears the field.
    void SetText(const std::string& text);

    // Lookup fields: KeyFields of this data set matched against LookupKeyFields of
    // LookupDataSet give LookupResultField.
    [[nodiscard]] const std::string& KeyFields() const { return m_keyFields; }
    void SetKeyFields(const std::string& names) { m_keyFields = names; }
    [[nodiscard]] TDataSet* LookupDataSet() const { return m_lookupDataSet; }
    void SetLookupDataSet(TDataSet* dataSet);
    [[nodiscard]] const std::string& LookupKeyFields() const { return m_lookupKeyFields; }
    void SetLookupKeyFields(const std::string& names) { m_lookupKeyFields = names; }
    [[nodiscard]] const std::string& LookupResultField() const { return m_lookupResultField; }
    void SetLookupResultField(const std::string& name) { m_lookupResultField = name; }

    // Asks the data set's links to put the focus on the control showing this field.
    void FocusControl();

    // Form data writes a data set's persistent fields inside it; reading one joins that data set.
    [[nodiscard]] bool HasParent() const override { return true; }
    [[nodiscard]] TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    [[nodiscard]] const TFieldGetTextEvent& OnGetText() const { return m_onGetText; }
    void SetOnGetText(const TFieldGetTextEvent& handler) { m_onGetText = handler; }
    [[nodiscard]] const TFieldSetTextEvent& OnSetText() const { return m_onSetText; }
    void SetOnSetText(const TFieldSetTextEvent& handler) { m_onSetText = handler; }
    [[nodiscard]] const TFieldNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TFieldNotifyEvent& handler) { m_onChange = handler; }

protected:
    TField(TComponent* owner, TFieldType dataType, int size);

    // The value in this field's own type; Null and Empty stay Null.
    [[nodiscard]] virtual Variant Coerce(const Variant& value) const;
    [[nodiscard]] virtual std::string GetText(const Variant& value, bool display) const;
    // Parses a non-empty edit text.
    [[nodiscard]] virtual Variant ParseText(const std::string& text) const;
    [[nodiscard]] virtual int DefaultWidth() const { return 10; }
    void Notification(TComponent* component, TOperation operation) override;
    void PropertyChanged(bool layout);

private:
    friend class TDataSet;

    [[nodiscard]] std::string TextFor(bool display) const;

    TDataSet* m_dataSet = nullptr;
    int m_slot = -1;  // the value's place in a record, set while the data set is open
    std::string m_fieldName;
    std::string m_displayLabel;
    int m_displayWidth = 0;
    TFieldType m_dataType = ftUnknown;
    TFieldKind m_fieldKind = fkData;
    int m_size = 0;
    bool m_required = false;
    bool m_readOnly = false;
    bool m_visible = true;
    TAlignment m_alignment = taLeftJustify;
    std::string m_editMask;
    std::string m_keyFields;
    TDataSet* m_lookupDataSet = nullptr;
    std::string m_lookupKeyFields;
    std::string m_lookupResultField;
    TFieldGetTextEvent m_onGetText;
    TFieldSetTextEvent m_onSetText;
    TFieldNotifyEvent m_onChange;
};

class TStringField : public TField {
    CLASSLIB_DECLARE_CLASS;
    explicit TStringField(TComponent* owner) : TStringField(owner, ftString) {}

protected:
    TStringField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, 20) {}
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override { return Variant(text); }
    [[nodiscard]] int DefaultWidth() const override { return Size(); }
};

class TWideStringField : public TStringField {
    CLASSLIB_DECLARE_CLASS;
    explicit TWideStringField(TComponent* owner) : TStringField(owner, ftWideString) {}
};

// Long text. It shows its text like a string field.
class TMemoField : public TStringField {
    CLASSLIB_DECLARE_CLASS;
    explicit TMemoField(TComponent* owner) : TStringField(owner, ftMemo) { SetSize(0); }
    [[nodiscard]] bool IsBlob() const override { return true; }

protected:
    [[nodiscard]] int DefaultWidth() const override { return 10; }
};

// Numbers: right-aligned, DisplayFormat and EditFormat as FormatFloat pictures.
class TNumericField : public TField {
    CLASSLIB_DECLARE_CLASS;
    [[nodiscard]] const std::string& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const std::string& format);
    [[nodiscard]] const std::string& EditFormat() const { return m_editFormat; }
    void SetEditFormat(const std::string& format) { m_editFormat = format; }
    [[nodiscard]] bool IsValidChar(char c) const override;

protected:
    TNumericField(TComponent* owner, TFieldType dataType);
    [[nodiscard]] std::string FormatFor(bool display) const { return display ? m_displayFormat : m_editFormat; }

private:
    std::string m_displayFormat;
    std::string m_editFormat;
};

class TIntegerField : public TNumericField {
    CLASSLIB_DECLARE_CLASS;
    explicit TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger, INT32_MIN, INT32_MAX) {}
    [[nodiscard]] std::int64_t MinValue() const { return m_minValue; }
    [[nodiscard]] std::int64_t MaxValue() const { return m_maxValue; }

protected:
    TIntegerField(TComponent* owner, TFieldType dataType, std::int64_t minValue, std::int64_t maxValue);
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] std::string GetText(const Variant& value, bool display) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override;
    [[nodiscard]] bool IsValidChar(char c) const override;

private:
    std::int64_t m_minValue;
    std::int64_t m_maxValue;
};

class TSmallintField : public TIntegerField {
    CLASSLIB_DECLARE_CLASS;
    explicit TSmallintField(TComponent* owner) : TIntegerField(owner, ftSmallint, -32768, 32767) {}
};

class TWordField : public TIntegerField {
    CLASSLIB_DECLARE_CLASS;
    explicit TWordField(TComponent* owner) : TIntegerField(owner, ftWord, 0, 65535) {}
};

class TAutoIncField : public TIntegerField {
    CLASSLIB_DECLARE_CLASS;
    explicit TAutoIncField(TComponent* owner) : TIntegerField(owner, ftAutoInc, INT32_MIN, INT32_MAX) {}
};

class TLargeintField : public TIntegerField {
    CLASSLIB_DECLARE_CLASS;
    explicit TLargeintField(TComponent* owner) : TIntegerField(owner, ftLargeint, INT64_MIN, INT64_MAX) {}
};

class TFloatField : public TNumericField {
    CLASSLIB_DECLARE_CLASS;
    explicit TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}
    // Significant digits shown (2..15).
    [[nodiscard]] int Precision() const { return m_precision; }
    void SetPrecision(int precision);
    // Shown as money (CurrencyString, CurrencyDecimals).
    [[nodiscard]] bool Currency() const { return m_currency; }
    void SetCurrency(bool currency);

protected:
    TFloatField(TComponent* owner, TFieldType dataType);
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] std::string GetText(const Variant& value, bool display) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override;

private:
    int m_precision = 15;
    bool m_currency = false;
};

class TCurrencyField : public TFloatField {
    CLASSLIB_DECLARE_CLASS;
    explicit TCurrencyField(TComponent* owner);
};

// Exact decimals held as a Currency.
class TBCDField : public TNumericField {
    CLASSLIB_DECLARE_CLASS;
    explicit TBCDField(TComponent* owner) : TNumericField(owner, ftBCD) {}
    [[nodiscard]] int Precision() const { return m_precision; }
    void SetPrecision(int precision) { m_precision = precision; }
    [[nodiscard]] bool Currency() const { return m_currency; }
    void SetCurrency(bool currency);

protected:
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] std::string GetText(const Variant& value, bool display) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override;

private:
    int m_precision = 18;
    bool m_currency = false;
};

class TBooleanField : public TField {
    CLASSLIB_DECLARE_CLASS;
    explicit TBooleanField(TComponent* owner) : TField(owner, ftBoolean, 0) {}
    // "True;False" by default: the texts shown and accepted for each value.
    [[nodiscard]] const std::string& DisplayValues() const { return m_displayValues; }
    void SetDisplayValues(const std::string& values);

protected:
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] std::string GetText(const Variant& value, bool display) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override;
    [[nodiscard]] int DefaultWidth() const override { return 5; }

private:
    [[nodiscard]] std::string Part(int index) const;

    std::string m_displayValues = "True;False";
};

// Date and time; shown with DisplayFormat or the locale's short date and long time.
class TDateTimeField : public TField {
    CLASSLIB_DECLARE_CLASS;
    explicit TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}
    [[nodiscard]] const std::string& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const std::string& format);

protected:
    TDateTimeField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, 0) {}
    [[nodiscard]] Variant Coerce(const Variant& value) const override;
    [[nodiscard]] std::string GetText(const Variant& value, bool display) const override;
    [[nodiscard]] Variant ParseText(const std::string& text) const override;
    [[nodiscard]] int DefaultWidth() const override { return 18; }
    [[nodiscard]] virtual std::string DefaultFormat() const { return "c"; }

private:
    std::string m_displayFormat;
};

class TDateField : public TDateTimeField {
    CLASSLIB_DECLARE_CLASS;
    explicit TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}

protected:
    [[nodiscard]] std::string DefaultFormat() const override { return "ddddd"; }
    [[nodiscard]] int DefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
    CLASSLIB_DECLARE_CLASS;
    explicit TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}

protected:
    [[nodiscard]] std::string DefaultFormat() const override { return "tt"; }
    [[nodiscard]] int DefaultWidth() const override { return 10; }
};

// The field class for a type (string types give TWideStringField/TStringField, ...).
[[nodiscard]] TField* CreateFieldOfType(TFieldType dataType, TComponent* owner);

// The data set's fields in order. Does not own them.
class TFields {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(m_fields.size()); }
    // Raises EDatabaseError "Field index out of range".
    [[nodiscard]] TField* Fields(int index) const;
    [[nodiscard]] TField* operator[](int index) const { return Fields(index); }
    [[nodiscard]] int IndexOf(const TField* field) const;
    // Case-insensitive; null when absent.
    [[nodiscard]] TField* FindField(std::string_view name) const;

private:
    friend class TDataSet;
    std::vector<TField*> m_fields;
};
