// The column's values: how they are shown, ticked, stepped through and written back.
#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"

#include "grid/core/DBGridGxDataLink.h"
#include "grid/core/DBGridGxRoutines.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

#include <vector>

namespace {

// The number types a check box reads as 1 or not 1; a word field is not one of them.
[[nodiscard]] bool IsCheckboxNumberType(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

// The number types whose value can be an image index or be stepped.
[[nodiscard]] bool IsSteppedNumberType(TFieldType type)
{
    return IsCheckboxNumberType(type) || type == ftWord;
}

// A key-list item holds one or more values separated by ";": "1;Y;" stands for "1", "Y" and "".
[[nodiscard]] std::vector<std::string> KeyValues(const std::string& item)
{
    std::vector<std::string> values;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = item.find(';', start);
        values.push_back(item.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return values;
        start = end + 1;
    }
}

[[nodiscard]] bool MatchesKeyItem(const std::string& item, const std::string& text)
{
    for (const std::string& value : KeyValues(item))
        if (value == text)
            return true;
    return false;
}

// Exact match: the list's own IndexOf ignores case.
[[nodiscard]] int IndexOfExact(const TStrings& list, const std::string& text)
{
    for (int i = 0; i < list.Count(); ++i)
        if (list.Strings(i) == text)
            return i;
    return -1;
}

[[nodiscard]] int Stepped(int current, int count, bool forward)
{
    if (forward)
        return current < 0 || current >= count - 1 ? 0 : current + 1;
    return current <= 0 ? count - 1 : current - 1;
}

} // namespace

int TColumnGx::FindKey(const std::string& text) const
{
    return HasKeyItems() ? IndexOfExact(*m_keyList, text) : -1;
}

TCellImageKindGx TColumnGx::CellImageKind() const
{
    if (Checkboxes())
        return cikCheckboxes;
    const TField* field = BoundField();
    if (field && field->Lookup())
        return cikLookup;
    if (HasPickItems() && !HasKeyItems())
        return cikPickList;
    if (m_imageList && !m_showImageAndText)
        return cikImages;
    if (HasKeyItems() && HasPickItems())
        return cikKeyPickList;
    return cikPlain;
}

std::string TColumnGx::DisplayText() const
{
    const TField* field = BoundField();
    if (!field || CellImageKind() == cikImages)
        return {};
    if (HasKeyItems()) {
        const int pickCount = m_pickList ? m_pickList->Count() : 0;
        const int key = FindKey(field->Text());
        if (key >= 0 && key < pickCount)
            return m_pickList->Strings(key);
        if (m_notInKeyListIndex >= 0 && m_notInKeyListIndex < pickCount)
            return m_pickList->Strings(m_notInKeyListIndex);
        return {};
    }
    const IDataGridGx* grid = OwnerGrid();
    if (grid && grid->DrawMemoText() && (field->DataType() == ftMemo || field->DataType() == ftFmtMemo))
        return field->AsString();
    if (ShowsSpecRow(*field))
        return m_dropDownSpecRow->CellText(0);
    return FieldTextWithFormat(*field, m_displayFormat);
}

bool TColumnGx::ShowsSpecRow(const TField& field) const
{
    if (!m_dropDownSpecRow || !m_dropDownSpecRow->Visible() || CellImageKind() != cikLookup)
        return false;
    if (m_dropDownSpecRow->ShowIfNotInKeyList()) {
        const TDataSet* list = field.LookupDataSet();
        if (!list || !list->Active() || field.IsNull())
            return true;
    }
    try {
        const Variant key = field.DataSet()->FieldValues(field.KeyFields());
        const Variant& value = m_dropDownSpecRow->Value();
        return VarIsNull(key) ? VarIsNull(value) : !VarIsNull(value) && key == value;
    } catch (const Exception&) {
        return false;
    }
}

// ---- The special-row maker the tools library installs

namespace {
TColumnSpecRowMakerGx SpecRowMaker = nullptr;
} // namespace

void SetColumnSpecRowMaker(TColumnSpecRowMakerGx maker) { SpecRowMaker = maker; }

TColumnSpecRowMakerGx ColumnSpecRowMaker() { return SpecRowMaker; }

int TColumnGx::ImageIndexOfValue() const
{
    const TField* field = BoundField();
    if (!field)
        return -1;
    int index = -1;
    if (HasKeyItems())
        index = FindKey(field->Text());
    else if (HasPickItems())
        index = IndexOfExact(*m_pickList, field->Text());
    else if (IsSteppedNumberType(field->DataType()))
        index = FieldValueAsInt32(*field, -1);
    return index == -1 ? m_notInKeyListIndex : index;
}

TCheckBoxStateGx TColumnGx::CheckboxState() const
{
    const TField* field = BoundField();
    if (!field)
        return cbUncheckedGx;
    if (!HasKeyItems()) {
        if (field->DataType() == ftBoolean)
            return field->IsNull() ? cbGrayedGx : (field->AsBoolean() ? cbCheckedGx : cbUncheckedGx);
        if (IsCheckboxNumberType(field->DataType())) {
            if (field->IsNull())
                return cbGrayedGx;
            return field->AsFloat() == 1.0 ? cbCheckedGx : cbUncheckedGx;
        }
    }
    const std::string text = field->Text();
    if (HasKeyItems() && MatchesKeyItem(m_keyList->Strings(0), text))
        return cbCheckedGx;
    if (m_keyList && m_keyList->Count() >= 2 && MatchesKeyItem(m_keyList->Strings(1), text))
        return cbUncheckedGx;
    return cbGrayedGx;
}

void TColumnGx::SetCheckboxState(TCheckBoxStateGx state)
{
    const TField* field = BoundField();
    if (!field)
        return;
    if (state == cbGrayedGx) {
        UpdateDataValues({}, Variant::MakeNull(), false);
        return;
    }
    const bool checked = state == cbCheckedGx;
    if (!HasKeyItems() && field->DataType() == ftBoolean) {
        UpdateDataValues({}, Variant(checked), false);
        return;
    }
    if (!HasKeyItems() && IsCheckboxNumberType(field->DataType())) {
        UpdateDataValues({}, Variant(checked ? 1 : 0), false);
        return;
    }
    const int item = checked ? 0 : 1;
    std::string text;
    if (m_keyList && item < m_keyList->Count())
        text = KeyValues(m_keyList->Strings(item)).front();
    UpdateDataValues(text, Variant(text), true);
}

void TColumnGx::UpdateDataValues(const std::string& text, const Variant& value, bool useText)
{
    IDataGridGx* grid = OwnerGrid();
    if (!grid)
        return;
    std::string newText = text;
    Variant newValue = value;
    bool handled = false;
    m_onUpdateData(this, newText, newValue, useText, handled);
    if (handled)
        return;
    TField* field = BoundField();
    if (!field)
        return;
    if (useText) {
        const bool memo = field->DataType() == ftMemo || field->DataType() == ftFmtMemo;
        if (memo && grid->DrawMemoText())
            field->SetAsString(newText);
        else
            field->SetText(newText);
    } else if (field->Lookup() && !field->KeyFields().empty()) {
        field->DataSet()->SetFieldValues(field->KeyFields(), newValue);
    } else {
        field->SetValue(newValue);
    }
    if (m_mruList->Active() && m_mruList->AutoAdd() && grid->EditorShowing())
        m_mruList->AddText(text);
}

bool TColumnGx::FieldWritable(TField& field) const
{
    if (field.Lookup()) {
        std::vector<TField*> keys;
        field.DataSet()->GetFieldList(keys, field.KeyFields());
        if (keys.empty() || !AllFieldsModifiable(keys))
            return false;
        return !keys.front()->IsBlob() || keys.front()->OnSetText().Assigned();
    }
    return field.CanModify() && (!field.IsBlob() || field.OnSetText().Assigned());
}

bool TColumnGx::CanModify(bool tryEdit) const
{
    IDataGridGx* grid = OwnerGrid();
    TField* field = BoundField();
    if (!grid || !field || grid->GridReadOnly() || ReadOnly())
        return false;
    TGridDataLinkGx& link = grid->DataLink();
    if (!link.Active() || link.ReadOnly() || !FieldWritable(*field))
        return false;
    TDataSet* dataSet = link.DataSet();
    if (!grid->AllowsChange(dataSet->IsEmpty()))
        return false;
    if (!tryEdit)
        return true;
    if (!link.Edit())
        return false;
    link.MarkModified();
    return true;
}

TBuiltInButtonKindGx TColumnGx::BuiltInButtonKind() const
{
    switch (m_buttonStyle) {
    case cbsEllipsis:
        return bbkEllipsis;
    case cbsNone:
        return bbkNone;
    case cbsUpDown:
        return bbkUpDown;
    case cbsDropDown:
        return bbkDropDown;
    case cbsAuto:
        break;
    }
    TField* field = BoundField();
    if (!field)
        return bbkNone;
    if (field->Lookup()) {
        IDataGridGx* grid = OwnerGrid();
        std::vector<TField*> keys;
        field->DataSet()->GetFieldList(keys, field->KeyFields());
        const bool gridBlocks = grid && grid->GridReadOnly() && grid->DataLink().Active() && !grid->DataLink().ReadOnly();
        const bool usable = !keys.empty() && AllFieldsModifiable(keys) && !(m_assigned.Contains(cvReadOnly) && m_readOnly);
        return usable && !gridBlocks ? bbkLookupDropDown : bbkNone;
    }
    if (HasPickItems() && !ReadOnly())
        return bbkPickListDropDown;
    if ((field->DataType() == ftDate || field->DataType() == ftDateTime || field->DataType() == ftTimeStamp) &&
        !ReadOnly())
        return bbkDateDropDown;
    return bbkNone;
}

TDataSet* TColumnGx::LookupListDataSet() const
{
    if (m_dropDownBox && m_dropDownBox->ListSource() && m_dropDownBox->ListSource()->DataSet())
        return m_dropDownBox->ListSource()->DataSet();
    const TField* field = BoundField();
    return field && field->Lookup() ? field->LookupDataSet() : nullptr;
}

void TColumnGx::SetNextFieldValue(long double step)
{
    if (step == 0 || !CanModify(true))
        return;
    TField* field = BoundField();
    const bool forward = step > 0;
    IDataGridGx* grid = OwnerGrid();
    const std::string currentText = grid->EditorShowing() ? grid->EditorText() : field->Text();
    switch (CellImageKind()) {
    case cikCheckboxes:
        SetCheckboxState(CheckboxState() == cbCheckedGx ? cbUncheckedGx : cbCheckedGx);
        return;
    case cikKeyPickList:
    case cikImages:
        if (HasKeyItems()) {
            const int next = Stepped(FindKey(field->Text()), m_keyList->Count(), forward);
            UpdateDataValues(currentText, Variant(m_keyList->Strings(next)), false);
        }
        return;
    case cikPickList:
        StepListValue(*m_pickList, IndexOfExact(*m_pickList, field->Text()), forward);
        return;
    case cikLookup:
        StepLookupValue(forward);
        return;
    case cikPlain:
        break;
    }
    if (!IsSteppedNumberType(field->DataType()))
        return;
    const long double base = field->IsNull() ? -step : static_cast<long double>(field->AsFloat());
    try {
        UpdateDataValues({}, Variant(static_cast<double>(base + step)), false);
    } catch (const EDatabaseError&) {
        // A value the field refuses leaves it as it was; stepping is a convenience.
    }
}

// A wrap to the other end goes through the field's text, a plain step writes the item as value.
void TColumnGx::StepListValue(const TStrings& list, int current, bool forward)
{
    const int count = list.Count();
    const bool wrapped = current < 0 || (forward ? current >= count - 1 : current <= 0);
    const std::string item = list.Strings(Stepped(current, count, forward));
    UpdateDataValues(item, Variant(item), wrapped);
}

void TColumnGx::StepLookupValue(bool forward)
{
    TField* field = BoundField();
    TDataSet* list = LookupListDataSet();
    if (!list || !list->Active())
        return;
    const Variant keys = field->DataSet()->FieldValues(field->KeyFields());
    if (field->IsNull() || !list->Locate(field->LookupKeyFields(), keys, 0)) {
        list->First();
    } else if (forward) {
        list->Next();
        if (list->Eof())
            list->First();
    } else {
        list->Prior();
        if (list->Bof())
            list->Last();
    }
    UpdateDataValues(list->FieldByName(field->LookupResultField())->Text(), list->FieldValues(field->LookupKeyFields()),
                     false);
}
