#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/data/DBFilter.h"
#include "platform/classlib/data/DBRecord.h"
#include "platform/classlib/data/DBSubscriptions.h"
#include "platform/classlib/core/Events.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TDataSource;

using TFilterRecordEvent = TEvent<TDataSet*, bool&>;

// A column a data set's records hold.
struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftString;
    int Size = 0;
    bool Required = false;
};

// One record held in memory. Values has a place for each column, then one for each
// calculated or lookup field.
struct TRecordData {
    TRecordValues Values;
    std::int64_t Key = 0;       // the database's row id; meaningful when HasKey
    bool HasKey = false;
    std::uint64_t Serial = 0;   // what its bookmark names
    int Order = 0;              // position among all records
    int ViewIndex = -1;         // position among the records the filter lets through
};

// A data set whose records are all held in memory in the order its source gave them, with the
// filter applied in memory, a window of buffered records for the controls, bookmarks that compare
// in record order, editing, searching, and the data events its data sources pass on to their
// links. Descendants load the records (InternalOpen) and store changes (InternalPost,
// InternalDelete).
//
// The buffer window: links ask for BufferCount records; the data set keeps the cursor inside a
// window of that many records. ActiveRecord picks which buffered record fields read; a link may
// move it across the window to paint rows without moving the cursor or firing events, and RecNo
// and Bookmark follow it.
class TDataSet : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TDataSet(TComponent* owner);
    ~TDataSet() override;

    // ---- State
    [[nodiscard]] bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    [[nodiscard]] TDataSetState State() const { return m_state; }
    [[nodiscard]] bool Modified() const { return m_modified; }
    [[nodiscard]] virtual bool CanModify() const { return true; }
    [[nodiscard]] bool IsEmpty() const { return m_view.empty(); }
    [[nodiscard]] bool Bof() const { return m_bof; }
    [[nodiscard]] bool Eof() const { return m_eof; }
    // Raises "Cannot perform this operation on a closed dataset".
    void CheckActive() const;
    void CheckInactive() const;

    // ---- Navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Returns how far the cursor moved.
    int MoveBy(int distance);
    // 1-based position of the active record among those the filter lets through; -1 when there is
    // none (empty, or a record being inserted).
    [[nodiscard]] int RecNo() const;
    void SetRecNo(int recNo);
    [[nodiscard]] int RecordCount() const;
    // The database's row id of the active record; none when there is no record, it is being
    // inserted, or its source has no key.
    [[nodiscard]] std::optional<std::int64_t> RecordKey() const;
    [[nodiscard]] bool IsSequenced() const { return true; }

    // ---- Buffer window (for data links)
    [[nodiscard]] int BufferCount() const { return m_bufferCount; }
    // Records in the window.
    [[nodiscard]] int BufferRecordCount() const;
    [[nodiscard]] int ActiveRecord() const { return m_activeRecord; }
    // Makes a buffered record the one fields read; out-of-window values are ignored.
    void SetActiveRecord(int index);
    // The cursor's place in the window.
    [[nodiscard]] int CursorRecord() const { return m_cursor - m_windowTop; }

    // ---- Bookmarks: opaque strings naming a record, valid until the data set closes.
    [[nodiscard]] TBookmarkStr Bookmark() const;
    void SetBookmark(const TBookmarkStr& bookmark);
    [[nodiscard]] TBookmark GetBookmark() const { return Bookmark(); }
    void GotoBookmark(const TBookmark& bookmark) { SetBookmark(bookmark); }
    void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }
    [[nodiscard]] bool BookmarkValid(const TBookmark& bookmark) const;
    // Orders by position in the data set's records (its sort order); -1, 0 or 1. An empty
    // bookmark comes before every other.
    [[nodiscard]] int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;

    // ---- Editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Posts a modified record or cancels an unmodified one.
    void CheckBrowseMode();
    // Lets the links write their controls' contents to the fields.
    void UpdateRecord();

    // ---- Fields
    [[nodiscard]] TFields& Fields() { return m_fields; }
    [[nodiscard]] const TFields& Fields() const { return m_fields; }
    [[nodiscard]] int FieldCount() const { return m_fields.Count(); }
    [[nodiscard]] TField* FindField(std::string_view name) const { return m_fields.FindField(name); }
    // Raises EDatabaseError "Field '%s' not found".
    [[nodiscard]] TField* FieldByName(std::string_view name) const;
    // Fields named in a ';'-separated list; raises for an unknown name.
    void GetFieldList(std::vector<TField*>& list, std::string_view names) const;
    // One field's value, or a variant array for several names ("a;b").
    [[nodiscard]] Variant FieldValues(std::string_view names) const;
    void SetFieldValues(std::string_view names, const Variant& values);
    // Whether the fields were made by the data set on Open.
    [[nodiscard]] bool DefaultFields() const { return m_defaultFields; }
    [[nodiscard]] const std::vector<TFieldDef>& FieldDefs() const { return m_fieldDefs; }

    // ---- Searching
    [[nodiscard]] bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options);
    // The result field(s) of the first record matching exactly, or Null; the cursor stays.
    [[nodiscard]] Variant Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields);

    // ---- Filtering
    [[nodiscard]] const std::string& Filter() const { return m_filterText; }
    void SetFilter(const std::string& text);
    [[nodiscard]] bool Filtered() const { return m_filtered; }
    void SetFiltered(bool filtered);

    // ---- Controls
    void DisableControls();
    void EnableControls();
    [[nodiscard]] bool ControlsDisabled() const { return m_disableCount > 0; }
    [[nodiscard]] bool IsLinkedTo(const TDataSource* dataSource) const;

    // Sends an event to every data source and its links.
    void DataEvent(TDataEvent event, std::intptr_t info);

#define DATASET_EVENT(Name, Type)                                          \
    [[nodiscard]] const Type& Name() const { return m_##Name; }            \
    void Set##Name(const Type& handler) { m_##Name = handler; }
    DATASET_EVENT(BeforeOpen, TDataSetNotifyEvent)
    DATASET_EVENT(AfterOpen, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeClose, TDataSetNotifyEvent)
    DATASET_EVENT(AfterClose, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeInsert, TDataSetNotifyEvent)
    DATASET_EVENT(AfterInsert, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeEdit, TDataSetNotifyEvent)
    DATASET_EVENT(AfterEdit, TDataSetNotifyEvent)
    DATASET_EVENT(BeforePost, TDataSetNotifyEvent)
    DATASET_EVENT(AfterPost, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeCancel, TDataSetNotifyEvent)
    DATASET_EVENT(AfterCancel, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeDelete, TDataSetNotifyEvent)
    DATASET_EVENT(AfterDelete, TDataSetNotifyEvent)
    DATASET_EVENT(BeforeScroll, TDataSetNotifyEvent)
    DATASET_EVENT(AfterScroll, TDataSetNotifyEvent)
    DATASET_EVENT(OnNewRecord, TDataSetNotifyEvent)
    DATASET_EVENT(OnCalcFields, TDataSetNotifyEvent)
    DATASET_EVENT(OnFilterRecord, TFilterRecordEvent)
#undef DATASET_EVENT

    // Follows one event beside its published handler: subscribers hear an After event before the
    // handler and BeforeDelete after it (so a handler that refuses the delete by raising stops
    // them). The subscription ends when the result is destroyed or the data set is.
    [[nodiscard]] TDataSetSubscription Subscribe(TDataSetNotifyKind kind, TDataSetNotifyEvent handler);

protected:
    // Fills the column definitions (SetFieldDefs) and the records (AddLoadedRecord).
    virtual void InternalOpen() = 0;
    virtual void InternalClose() {}
    // Stores a new or changed record; may set its key and refresh its values.
    virtual void InternalPost(TRecordData& record, bool inserting) = 0;
    virtual void InternalDelete(const TRecordData& record) = 0;

    void SetFieldDefs(std::vector<TFieldDef> defs) { m_fieldDefs = std::move(defs); }
    // Adds a record at the end while opening; values in column order.
    void AddLoadedRecord(TRecordValues values, std::optional<std::int64_t> key);
    [[nodiscard]] int ColumnCount() const { return static_cast<int>(m_fieldDefs.size()); }
    void Notification(TComponent* component, TOperation operation) override;
    // Form data writes the persistent fields the form owns inside their data set.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    // Opens a data set whose form data said Active = True once every property is read.
    void Loaded() override;

private:
    friend class TField;
    friend class TDataSource;
    friend class TDataLink;

    // Fields
    void CreateFields();
    void BindFields();
    void DestroyDefaultFields();
    void AddField(TField* field);
    void RemoveField(TField* field);
    void MoveField(TField* field, int index);
    [[nodiscard]] Variant FieldValue(const TField& field) const;
    void SetFieldValue(TField& field, const Variant& value);
    void CalculateFields(TRecordData& record);
    [[nodiscard]] TRecordData* ActiveData() const;
    [[nodiscard]] bool HasCalculatedFields() const;

    // Records and window
    void ClearRecords();
    void RebuildView();
    [[nodiscard]] bool Accepts(TRecordData& record);
    void RenumberOrder(std::size_t from);
    void RenumberView(std::size_t from);
    [[nodiscard]] int MoveWindowTo(int cursor);
    void FitWindow();
    void UpdateBufferCount();
    void MoveCursor(int cursor, std::optional<bool> bof, std::optional<bool> eof);
    void Resync();
    [[nodiscard]] TRecordData* FindBookmark(const TBookmark& bookmark) const;
    [[nodiscard]] TRecordData*& SerialEntry(std::uint64_t serial);
    void BeginInsert(bool append);
    void EndEdit();
    void CheckRequiredFields() const;
    [[nodiscard]] int FindRecord(const std::vector<TField*>& fields, const Variant& keyValues, TLocateOptions options);

    // State and events
    void SetState(TDataSetState state);
    void OpenCursor();
    void CloseCursor();
    void ApplyFilter();
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);

    TDataSetState m_state = dsInactive;
    bool m_modified = false;
    bool m_bof = true;
    bool m_eof = true;
    std::vector<TFieldDef> m_fieldDefs;
    TFields m_fields;
    bool m_defaultFields = false;
    bool m_streamedActive = false;

    std::vector<std::unique_ptr<TRecordData>> m_records;
    std::vector<TRecordData*> m_view;
    std::unique_ptr<TRecordData> m_newRecord;  // the record being inserted, in m_view only
    // The records by serial, from the first serial handed out since the records were loaded;
    // null for a deleted record or an insert cancelled.
    std::vector<TRecordData*> m_bySerial;
    std::uint64_t m_firstSerial = 1;
    std::uint64_t m_nextSerial = 1;
    int m_cursor = -1;
    int m_windowTop = 0;
    int m_bufferCount = 1;
    int m_activeRecord = 0;
    TRecordValues m_editBackup;
    TRecordData* m_calcRecord = nullptr;   // set while calculating or filtering

    std::string m_filterText;
    bool m_filtered = false;
    std::optional<TFilterExpression> m_filter;
    std::vector<int> m_filterFieldSlots;

    int m_disableCount = 0;
    TDataSetState m_disabledState = dsInactive;
    bool m_pendingChange = false;
    std::vector<TDataSource*> m_dataSources;

    TDataSetNotifyEvent m_BeforeOpen, m_AfterOpen, m_BeforeClose, m_AfterClose, m_BeforeInsert, m_AfterInsert,
        m_BeforeEdit, m_AfterEdit, m_BeforePost, m_AfterPost, m_BeforeCancel, m_AfterCancel, m_BeforeDelete,
        m_AfterDelete, m_BeforeScroll, m_AfterScroll, m_OnNewRecord, m_OnCalcFields;
    TFilterRecordEvent m_OnFilterRecord;
    std::shared_ptr<classlib_data::detail::TSubscriberList> m_subscribers =
        std::make_shared<classlib_data::detail::TSubscriberList>();

    void FireAfter(TDataSetNotifyKind kind, const TDataSetNotifyEvent& handler);
};
