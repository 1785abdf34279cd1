#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/core/Events.h"

#include <cstdint>
#include <string>
#include <vector>

class TDataLink;

// Connects data-aware controls (through their links) to a data set. DataSet may be switched at
// run time: every link re-binds at once.
class TDataSource : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TDataSource(TComponent* owner);
    ~TDataSource() override;

    [[nodiscard]] TDataSet* DataSet() const { return m_dataSet; }
    // Raises "Circular datalinks are not allowed" never here; a source cannot be its own set.
    void SetDataSet(TDataSet* dataSet);
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
    // dsInactive when disabled or without a data set.
    [[nodiscard]] TDataSetState State() const { return m_state; }
    // Puts the data set in edit mode when AutoEdit allows and it browses.
    void Edit();
    [[nodiscard]] bool IsLinkedTo(const TDataSet* dataSet) const { return m_dataSet == dataSet; }

    [[nodiscard]] const TNotifyEvent& OnStateChange() const { return m_onStateChange; }
    void SetOnStateChange(const TNotifyEvent& handler) { m_onStateChange = handler; }
    [[nodiscard]] const TEvent<TObject*, TField*>& OnDataChange() const { return m_onDataChange; }
    void SetOnDataChange(const TEvent<TObject*, TField*>& handler) { m_onDataChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnUpdateData() const { return m_onUpdateData; }
    void SetOnUpdateData(const TNotifyEvent& handler) { m_onUpdateData = handler; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent event, std::intptr_t info);
    void NotifyLinks(TDataEvent event, std::intptr_t info);
    void UpdateState();

    TDataSet* m_dataSet = nullptr;
    bool m_enabled = true;
    bool m_autoEdit = true;
    TDataSetState m_state = dsInactive;
    std::vector<TDataLink*> m_links;
    TNotifyEvent m_onStateChange;
    TEvent<TObject*, TField*> m_onDataChange;
    TNotifyEvent m_onUpdateData;
};

// What a data-aware control holds to follow a data source. Override the notifications. The link
// sees its own window of BufferCount records inside the data set's window.
class TDataLink : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TDataLink();
    ~TDataLink() override;

    [[nodiscard]] TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* source);
    [[nodiscard]] bool DataSourceFixed() const { return m_dataSourceFixed; }
    void SetDataSourceFixed(bool fixed) { m_dataSourceFixed = fixed; }
    [[nodiscard]] TDataSet* DataSet() const;
    // The source is enabled and its data set open.
    [[nodiscard]] bool Active() const { return m_active; }
    [[nodiscard]] int ActiveRecord() const;
    void SetActiveRecord(int value);
    [[nodiscard]] int BufferCount() const { return m_bufferCount; }
    void SetBufferCount(int value);
    // Records in this link's window.
    [[nodiscard]] int RecordCount() const;
    [[nodiscard]] bool Editing() const { return m_editing; }
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    // Puts the data set in edit mode through the source; answers whether it now edits.
    bool Edit();
    // Has the control write its contents (UpdateData) unless this link is already doing so.
    void UpdateRecord();
    // Marks the data set's record modified on behalf of the control.
    void Modified();
    [[nodiscard]] int MoveBy(int distance);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { (void)distance; DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void FocusControl(TField** field) { (void)field; }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void UpdateData() {}
    virtual void DataEvent(TDataEvent event, std::intptr_t info);

private:
    friend class TDataSource;

    void SetActive(bool active);
    void UpdateEditing();
    // Keeps the data set's cursor inside this link's window; returns the window's shift.
    int UpdateRange(int dataSetDistance);

    TDataSource* m_dataSource = nullptr;
    bool m_dataSourceFixed = false;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    int m_bufferCount = 1;
    int m_firstRecord = 0;
};

// The link of a control that shows one field.
class TFieldDataLink : public TDataLink {
    CLASSLIB_DECLARE_CLASS;

    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& name);
    // The field of that name in the data set, or null.
    [[nodiscard]] TField* Field() const { return m_field; }
    [[nodiscard]] bool CanModify() const;

    [[nodiscard]] const TNotifyEvent& OnActiveChange() const { return m_onActiveChange; }
    void SetOnActiveChange(const TNotifyEvent& handler) { m_onActiveChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnDataChange() const { return m_onDataChange; }
    void SetOnDataChange(const TNotifyEvent& handler) { m_onDataChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnEditingChange() const { return m_onEditingChange; }
    void SetOnEditingChange(const TNotifyEvent& handler) { m_onEditingChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnUpdateData() const { return m_onUpdateData; }
    void SetOnUpdateData(const TNotifyEvent& handler) { m_onUpdateData = handler; }

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void EditingChanged() override;
    void UpdateData() override;

private:
    void UpdateField();

    std::string m_fieldName;
    TField* m_field = nullptr;
    TNotifyEvent m_onActiveChange;
    TNotifyEvent m_onDataChange;
    TNotifyEvent m_onEditingChange;
    TNotifyEvent m_onUpdateData;
};
