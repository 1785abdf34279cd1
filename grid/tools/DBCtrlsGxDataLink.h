#pragma once

#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Variant.h"

#include <string>
#include <vector>

// The link of an editor to one field, to a ';'-separated list of fields, or to no data at all:
// without a data source and a field name the link keeps the value itself (data-independent).
class TFieldDataLinkGx : public TDataLink {
    CLASSLIB_DECLARE_CLASS;

    explicit TFieldDataLinkGx(TComponent* control = nullptr);

    [[nodiscard]] TComponent* Control() const { return m_control; }
    [[nodiscard]] bool DataIndependent() const { return m_unbound; }
    [[nodiscard]] const Variant& UnboundValue() const { return m_unboundValue; }
    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& name);
    void SetLinkDataSource(TDataSource* source);
    [[nodiscard]] TField* Field() const { return m_fields.empty() ? nullptr : m_fields.front(); }
    [[nodiscard]] const std::vector<TField*>& Fields() const { return m_fields; }

    // Data-independent, or linked to an open data set with the field.
    [[nodiscard]] bool LinkActive() const;
    [[nodiscard]] bool CanModify() const;
    // Whether the editor may change the value now: puts the data set in edit state when it can.
    bool EditValue();
    [[nodiscard]] bool EditingValue() const { return m_editing; }
    [[nodiscard]] bool IsModified() const { return m_modified; }
    void SetModified() { m_modified = true; }
    void AssignText(const std::string& text);
    // Several fields take the elements of an array (from 0), or all Null.
    void AssignValue(const Variant& value);
    // Reloads the value into the editor.
    void Reset() { RecordChanged(nullptr); }
    // The editor writes its pending change (data-independent editors too).
    void CommitPending();

    void SetOnDataChange(const TNotifyEvent& handler) { m_onDataChange = handler; }
    void SetOnEditingChange(const TNotifyEvent& handler) { m_onEditingChange = handler; }
    void SetOnUpdateData(const TNotifyEvent& handler) { m_onUpdateData = handler; }
    void SetOnActiveChange(const TNotifyEvent& handler) { m_onActiveChange = handler; }

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void ResolveFields();
    void SetEditing(bool editing);
    void UpdateUnbound();

    TComponent* m_control;
    bool m_unbound = true;
    Variant m_unboundValue = Null();
    bool m_editing = false;
    bool m_modified = false;
    std::string m_fieldName;
    std::vector<TField*> m_fields;
    TNotifyEvent m_onDataChange;
    TNotifyEvent m_onEditingChange;
    TNotifyEvent m_onUpdateData;
    TNotifyEvent m_onActiveChange;
};
