#include "grid/tools/DBCtrlsGxDataLink.h"

#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TFieldDataLinkGx, TDataLink, nullptr, nullptr)

TFieldDataLinkGx::TFieldDataLinkGx(TComponent* control) : m_control(control) {}

void TFieldDataLinkGx::SetFieldName(const std::string& name)
{
    if (name != m_fieldName) {
        m_fieldName = name;
        ResolveFields();
    }
    UpdateUnbound();
}

void TFieldDataLinkGx::SetLinkDataSource(TDataSource* source)
{
    if (source != DataSource())
        SetDataSource(source);
    UpdateUnbound();
}

void TFieldDataLinkGx::UpdateUnbound()
{
    const bool unbound = DataSource() == nullptr && m_fieldName.empty();
    if (unbound == m_unbound)
        return;
    m_unbound = unbound;
    m_unboundValue = Null();
}

bool TFieldDataLinkGx::LinkActive() const { return m_unbound || (Active() && Field()); }

bool TFieldDataLinkGx::CanModify() const
{
    if (!Field())
        return m_unbound;
    return !ReadOnly() && std::all_of(m_fields.begin(), m_fields.end(), [](TField* f) { return f->CanModify(); });
}

bool TFieldDataLinkGx::EditValue()
{
    if (m_unbound) {
        if (!m_editing && !ReadOnly()) {
            m_editing = true;
            m_modified = false;
            m_onEditingChange(this);
        }
    } else if (CanModify()) {
        (void)Edit();
    }
    return m_editing;
}

void TFieldDataLinkGx::AssignText(const std::string& text)
{
    if (m_unbound) {
        m_unboundValue = Variant(text);
        RecordChanged(nullptr);
        return;
    }
    if (TField* field = Field()) {
        if (field->DataType() == ftMemo)
            field->SetAsString(text);
        else
            field->SetText(text);
    }
}

void TFieldDataLinkGx::AssignValue(const Variant& value)
{
    if (m_unbound) {
        m_unboundValue = value;
        RecordChanged(nullptr);
        return;
    }
    if (m_fields.size() <= 1) {
        if (TField* field = Field())
            field->SetAsVariant(value);
        return;
    }
    if (VarIsNull(value)) {
        for (TField* field : m_fields)
            field->Clear();
        return;
    }
    // An array with one element per field, or the conversion error of the variant library.
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->SetAsVariant(value.Element(static_cast<int>(i) + value.LowBound()));
}

void TFieldDataLinkGx::CommitPending()
{
    if (m_unbound)
        UpdateData();
    else
        UpdateRecord();
}

void TFieldDataLinkGx::UpdateData()
{
    if (m_unbound) {
        if (m_modified)
            m_onUpdateData(this);
        SetEditing(false);
    } else if (m_modified && Field()) {
        m_onUpdateData(this);
    }
    m_modified = false;
}

void TFieldDataLinkGx::RecordChanged(TField* field)
{
    if (field && std::find(m_fields.begin(), m_fields.end(), field) == m_fields.end())
        return;
    m_onDataChange(this);
    m_modified = false;
}

void TFieldDataLinkGx::ActiveChanged()
{
    ResolveFields();
    m_onActiveChange(this);
}

void TFieldDataLinkGx::EditingChanged()
{
    SetEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLinkGx::LayoutChanged() { ResolveFields(); }

void TFieldDataLinkGx::SetEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    m_modified = false;
    m_onEditingChange(this);
}

void TFieldDataLinkGx::ResolveFields()
{
    std::vector<TField*> fields;
    if (Active() && !m_fieldName.empty()) {
        if (m_fieldName.find(';') != std::string::npos) {
            try {
                DataSet()->GetFieldList(fields, m_fieldName);
            } catch (const EDatabaseError& error) {
                DatabaseError(error.Message(), m_control);
            }
        } else {
            fields.push_back(DataSet()->FieldByName(m_fieldName));
        }
    }
    m_fields = std::move(fields);
    EditingChanged();
    RecordChanged(nullptr);
}
