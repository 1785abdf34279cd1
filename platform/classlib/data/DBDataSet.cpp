#include "platform/classlib/data/DBDataSet.h"

#include "platform/classlib/data/DBDataSource.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"

#include <algorithm>
#include <cstring>

namespace {

void DescribeDataSet(TClassBuilder& c)
{
    c.Boolean("Active", &TDataSet::Active, &TDataSet::SetActive).Default(0);
    c.String("Filter", &TDataSet::Filter, &TDataSet::SetFilter);
    c.Boolean("Filtered", &TDataSet::Filtered, &TDataSet::SetFiltered).Default(0);
    c.Event("BeforeOpen", &TDataSet::BeforeOpen, &TDataSet::SetBeforeOpen);
    c.Event("AfterOpen", &TDataSet::AfterOpen, &TDataSet::SetAfterOpen);
    c.Event("BeforeClose", &TDataSet::BeforeClose, &TDataSet::SetBeforeClose);
    c.Event("AfterClose", &TDataSet::AfterClose, &TDataSet::SetAfterClose);
    c.Event("BeforeInsert", &TDataSet::BeforeInsert, &TDataSet::SetBeforeInsert);
    c.Event("AfterInsert", &TDataSet::AfterInsert, &TDataSet::SetAfterInsert);
    c.Event("BeforeEdit", &TDataSet::BeforeEdit, &TDataSet::SetBeforeEdit);
    c.Event("AfterEdit", &TDataSet::AfterEdit, &TDataSet::SetAfterEdit);
    c.Event("BeforePost", &TDataSet::BeforePost, &TDataSet::SetBeforePost);
    c.Event("AfterPost", &TDataSet::AfterPost, &TDataSet::SetAfterPost);
    c.Event("BeforeCancel", &TDataSet::BeforeCancel, &TDataSet::SetBeforeCancel);
    c.Event("AfterCancel", &TDataSet::AfterCancel, &TDataSet::SetAfterCancel);
    c.Event("BeforeDelete", &TDataSet::BeforeDelete, &TDataSet::SetBeforeDelete);
    c.Event("AfterDelete", &TDataSet::AfterDelete, &TDataSet::SetAfterDelete);
    c.Event("BeforeScroll", &TDataSet::BeforeScroll, &TDataSet::SetBeforeScroll);
    c.Event("AfterScroll", &TDataSet::AfterScroll, &TDataSet::SetAfterScroll);
    c.Event("OnNewRecord", &TDataSet::OnNewRecord, &TDataSet::SetOnNewRecord);
    c.Event("OnCalcFields", &TDataSet::OnCalcFields, &TDataSet::SetOnCalcFields);
    c.Event("OnFilterRecord", &TDataSet::OnFilterRecord, &TDataSet::SetOnFilterRecord);
}

std::vector<std::string> SplitNames(std::string_view names)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(';', start), names.size());
        const std::string name = Trim(names.substr(start, end - start));
        if (!name.empty())
            result.push_back(name);
        start = end + 1;
    }
    return result;
}

bool KeyMatches(const Variant& value, const Variant& key, TLocateOptions options)
{
    if (VarIsClear(key))
        return VarIsClear(value);
    if (VarIsClear(value))
        return false;
    const bool partial = options & (1u << loPartialKey);
    const bool anyCase = options & (1u << loCaseInsensitive);
    try {
        if ((partial || anyCase) && (VarIsStr(key) || VarIsStr(value))) {
            const std::string text = VarToStr(value);
            const std::string wanted = VarToStr(key);
            if (!partial)
                return AnsiSameText(text, wanted);
            if (!anyCase)
                return text.starts_with(wanted);
            return Utf8CharacterCount(text) >= Utf8CharacterCount(wanted) &&
                   AnsiStrLIComp(text, wanted, Utf8CharacterCount(wanted)) == 0;
        }
        return VarCompareValue(value, key) == vrEqual;
    } catch (const Exception&) {
        return false;
    }
}

Variant KeyAt(const Variant& keyValues, std::size_t index, std::size_t count)
{
    if (count == 1 && !VarIsArray(keyValues))
        return keyValues;
    if (!VarIsArray(keyValues))
        DatabaseError("Key values must be an array for several fields");
    return keyValues.Element(keyValues.LowBound() + static_cast<int>(index));
}

std::string SerialToBookmark(std::uint64_t serial)
{
    std::string bookmark(sizeof serial, '\0');
    std::memcpy(bookmark.data(), &serial, sizeof serial);
    return bookmark;
}

}  // namespace

CLASSLIB_IMPLEMENT_CLASS(TDataSet, TComponent, nullptr, DescribeDataSet)

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet()
{
    Destroying();
    if (Active()) {
        InternalClose();
        ClearRecords();
        m_state = dsInactive;
    }
    for (TDataSource* source : std::vector<TDataSource*>(m_dataSources))
        source->SetDataSet(nullptr);
    DestroyDefaultFields();
    for (TField* field : m_fields.m_fields)
        field->m_dataSet = nullptr;
    m_fields.m_fields.clear();
}

// ---- state ---------------------------------------------------------------------------------------

void TDataSet::CheckActive() const
{
    if (!Active())
        DatabaseError(SDataSetClosed, this);
}

void TDataSet::CheckInactive() const
{
    if (Active())
        DatabaseError(SDataSetOpen, this);
}

void TDataSet::SetActive(bool active)
{
    if (IsLoading()) {
        m_streamedActive = active;
        return;
    }
    if (active == Active())
        return;
    if (active) {
        m_BeforeOpen(this);
        try {
            OpenCursor();
        } catch (...) {
            CloseCursor();
            throw;
        }
        SetState(dsBrowse);
        FireAfter(dnAfterOpen, m_AfterOpen);
        if (!IsEmpty())
            FireAfter(dnAfterScroll, m_AfterScroll);
        return;
    }
    m_BeforeClose(this);
    // The links learn that the data set closed before its fields go.
    SetState(dsInactive);
    CloseCursor();
    FireAfter(dnAfterClose, m_AfterClose);
}

void TDataSet::OpenCursor()
{
    m_fieldDefs.clear();
    InternalOpen();
    BindFields();
    const std::size_t slots = static_cast<std::size_t>(ColumnCount()) +
                              static_cast<std::size_t>(std::count_if(m_fields.m_fields.begin(), m_fields.m_fields.end(),
                                                                     [](TField* f) { return f->FieldKind() != fkData; }));
    const bool calculate = HasCalculatedFields();
    for (auto& record : m_records) {
        record->Values.Resize(slots);
        if (calculate)
            CalculateFields(*record);
    }
    ApplyFilter();
    m_cursor = m_view.empty() ? -1 : 0;
    m_windowTop = 0;
    UpdateBufferCount();
    m_bof = true;
    m_eof = m_view.empty();
    m_modified = false;
}

void TDataSet::CloseCursor()
{
    if (m_state != dsInactive || !m_records.empty()) {
        InternalClose();
        ClearRecords();
    }
    m_state = dsInactive;
    DestroyDefaultFields();
    for (TField* field : m_fields.m_fields)
        field->m_slot = -1;
    m_bof = m_eof = true;
}

void TDataSet::SetState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_modified = false;
    DataEvent(deUpdateState, 0);
}

// ---- fields ----------------------------------------------------------------------------------------

void TDataSet::AddField(TField* field)
{
    m_fields.m_fields.push_back(field);
    field->m_dataSet = this;
}

void TDataSet::RemoveField(TField* field)
{
    auto& list = m_fields.m_fields;
    list.erase(std::remove(list.begin(), list.end(), field), list.end());
    field->m_dataSet = nullptr;
    field->m_slot = -1;
}

void TDataSet::MoveField(TField* field, int index)
{
    auto& list = m_fields.m_fields;
    const int from = m_fields.IndexOf(field);
    if (from < 0)
        return;
    index = std::clamp(index, 0, static_cast<int>(list.size()) - 1);
    list.erase(list.begin() + from);
    list.insert(list.begin() + index, field);
    if (Active())
        DataEvent(deLayoutChange, 0);
}

void TDataSet::CreateFields()
{
    for (const TFieldDef& def : m_fieldDefs) {
        TField* field = CreateFieldOfType(def.DataType, this);
        field->SetFieldName(def.Name);
        if (def.Size > 0)
            field->SetSize(def.Size);
        field->SetRequired(def.Required);
        AddField(field);
    }
    m_defaultFields = true;
}

void TDataSet::BindFields()
{
    if (m_fields.Count() == 0)
        CreateFields();
    int extra = ColumnCount();
    for (TField* field : m_fields.m_fields) {
        if (field->FieldKind() != fkData) {
            field->m_slot = extra++;
            continue;
        }
        const auto def = std::find_if(m_fieldDefs.begin(), m_fieldDefs.end(),
                                      [&](const TFieldDef& d) { return AnsiSameText(d.Name, field->FieldName()); });
        if (def == m_fieldDefs.end())
            DatabaseErrorFmt(SFieldNotFound, field->FieldName(), this);
        field->m_slot = static_cast<int>(def - m_fieldDefs.begin());
    }
}

void TDataSet::DestroyDefaultFields()
{
    if (!m_defaultFields)
        return;
    m_defaultFields = false;
    for (TField* field : std::vector<TField*>(m_fields.m_fields))
        if (field->Owner() == this)
            delete field;
}

bool TDataSet::HasCalculatedFields() const
{
    return std::any_of(m_fields.m_fields.begin(), m_fields.m_fields.end(),
                       [](TField* f) { return f->FieldKind() != fkData; });
}

TField* TDataSet::FieldByName(std::string_view name) const
{
    TField* field = FindField(name);
    if (!field)
        DatabaseErrorFmt(SFieldNotFound, name, this);
    return field;
}

void TDataSet::GetFieldList(std::vector<TField*>& list, std::string_view names) const
{
    for (const std::string& name : SplitNames(names))
        list.push_back(FieldByName(name));
}

Variant TDataSet::FieldValues(std::string_view names) const
{
    std::vector<TField*> fields;
    GetFieldList(fields, names);
    if (fields.size() == 1)
        return fields[0]->Value();
    std::vector<Variant> values;
    for (TField* field : fields)
        values.push_back(field->Value());
    return VarArrayOf(values);
}

void TDataSet::SetFieldValues(std::string_view names, const Variant& values)
{
    std::vector<TField*> fields;
    GetFieldList(fields, names);
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->SetValue(KeyAt(values, i, fields.size()));
}

TRecordData* TDataSet::ActiveData() const
{
    if (m_calcRecord)
        return m_calcRecord;
    const int index = m_windowTop + m_activeRecord;
    if (index < 0 || index >= static_cast<int>(m_view.size()))
        return nullptr;
    return m_view[static_cast<std::size_t>(index)];
}

std::optional<std::int64_t> TDataSet::RecordKey() const
{
    const TRecordData* record = Active() && m_state != dsInsert ? ActiveData() : nullptr;
    if (!record || !record->HasKey)
        return std::nullopt;
    return record->Key;
}

Variant TDataSet::FieldValue(const TField& field) const
{
    const TRecordData* record = Active() ? ActiveData() : nullptr;
    if (!record || field.m_slot < 0 || field.m_slot >= static_cast<int>(record->Values.Count()))
        return Variant::MakeNull();
    return record->Values[static_cast<std::size_t>(field.m_slot)];
}

void TDataSet::SetFieldValue(TField& field, const Variant& value)
{
    if (m_state == dsCalcFields) {
        if (field.FieldKind() == fkData)
            DatabaseErrorFmt(SFieldReadOnly, field.DisplayName(), this);
        m_calcRecord->Values.Set(static_cast<std::size_t>(field.m_slot), value);
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        DatabaseError(SNotEditing, this);
    if (!field.CanModify())
        DatabaseErrorFmt(SFieldReadOnly, field.DisplayName(), this);
    TRecordData& record = *m_view[static_cast<std::size_t>(m_cursor)];
    record.Values.Set(static_cast<std::size_t>(field.m_slot), value);
    m_modified = true;
    CalculateFields(record);
    DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(&field));
}

void TDataSet::CalculateFields(TRecordData& record)
{
    if (!HasCalculatedFields())
        return;
    const TDataSetState saved = m_state;
    TRecordData* savedRecord = m_calcRecord;
    m_calcRecord = &record;
    m_state = dsCalcFields;
    try {
        for (TField* field : m_fields.m_fields) {
            if (field->FieldKind() == fkData)
                continue;
            Variant value = Variant::MakeNull();
            TDataSet* source = field->LookupDataSet();
            if (field->FieldKind() == fkLookup && source && source->Active())
                value = source->Lookup(field->LookupKeyFields(), FieldValues(field->KeyFields()),
                                       field->LookupResultField());
            record.Values.Set(static_cast<std::size_t>(field->m_slot), value);
        }
        m_OnCalcFields(this);
    } catch (...) {
        m_state = saved;
        m_calcRecord = savedRecord;
        throw;
    }
    m_state = saved;
    m_calcRecord = savedRecord;
}

// ---- records and the window ------------------------------------------------------------------------

void TDataSet::AddLoadedRecord(TRecordValues values, std::optional<std::int64_t> key)
{
    auto record = std::make_unique<TRecordData>();
    record->Values = std::move(values);
    record->HasKey = key.has_value();
    record->Key = key.value_or(0);
    record->Serial = m_nextSerial++;
    record->Order = static_cast<int>(m_records.size());
    SerialEntry(record->Serial) = record.get();
    m_records.push_back(std::move(record));
}

void TDataSet::ClearRecords()
{
    m_view.clear();
    m_records.clear();
    m_bySerial.clear();
    m_firstSerial = m_nextSerial;
    m_newRecord.reset();
    m_cursor = -1;
    m_windowTop = 0;
    m_activeRecord = 0;
}

bool TDataSet::Accepts(TRecordData& record)
{
    if (!m_filtered)
        return true;
    const TDataSetState saved = m_state;
    m_calcRecord = &record;
    m_state = dsFilter;
    bool accept = true;
    try {
        if (m_filter)
            accept = m_filter->Evaluate([&](int index) {
                return record.Values[static_cast<std::size_t>(m_filterFieldSlots[static_cast<std::size_t>(index)])];
            });
        if (accept)
            m_OnFilterRecord(this, accept);
    } catch (...) {
        m_state = saved;
        m_calcRecord = nullptr;
        throw;
    }
    m_state = saved;
    m_calcRecord = nullptr;
    return accept;
}

void TDataSet::RebuildView()
{
    m_view.clear();
    m_view.reserve(m_records.size());
    for (auto& record : m_records) {
        record->ViewIndex = -1;
        if (Accepts(*record)) {
            record->ViewIndex = static_cast<int>(m_view.size());
            m_view.push_back(record.get());
        }
    }
}

void TDataSet::ApplyFilter()
{
    m_filter.reset();
    m_filterFieldSlots.clear();
    if (m_filtered && !Trim(m_filterText).empty()) {
        TFilterExpression filter = TFilterExpression::Parse(m_filterText);
        for (const std::string& name : filter.FieldNames())
            m_filterFieldSlots.push_back(FieldByName(name)->m_slot);
        m_filter = std::move(filter);
    }
    RebuildView();
}

void TDataSet::RenumberOrder(std::size_t from)
{
    for (std::size_t i = from; i < m_records.size(); ++i)
        m_records[i]->Order = static_cast<int>(i);
}

void TDataSet::RenumberView(std::size_t from)
{
    for (std::size_t i = from; i < m_view.size(); ++i)
        m_view[i]->ViewIndex = static_cast<int>(i);
}

int TDataSet::BufferRecordCount() const
{
    return std::clamp(static_cast<int>(m_view.size()) - m_windowTop, 0, m_bufferCount);
}

void TDataSet::SetActiveRecord(int index)
{
    if (index >= 0 && index < BufferRecordCount())
        m_activeRecord = index;
}

void TDataSet::FitWindow()
{
    const int count = static_cast<int>(m_view.size());
    m_windowTop = std::clamp(m_windowTop, 0, std::max(0, count - m_bufferCount));
    if (m_cursor >= 0) {
        if (m_cursor < m_windowTop)
            m_windowTop = m_cursor;
        if (m_cursor >= m_windowTop + m_bufferCount)
            m_windowTop = m_cursor - m_bufferCount + 1;
    }
    m_activeRecord = m_cursor >= 0 ? m_cursor - m_windowTop : 0;
}

int TDataSet::MoveWindowTo(int cursor)
{
    const int oldTop = m_windowTop;
    m_cursor = cursor;
    FitWindow();
    return oldTop - m_windowTop;
}

void TDataSet::UpdateBufferCount()
{
    int count = 1;
    for (TDataSource* source : m_dataSources)
        for (TDataLink* link : source->m_links)
            count = std::max(count, link->BufferCount());
    m_bufferCount = count;
    FitWindow();
}

void TDataSet::MoveCursor(int cursor, std::optional<bool> bof, std::optional<bool> eof)
{
    const int distance = MoveWindowTo(cursor);
    m_bof = bof.value_or(false);
    m_eof = eof.value_or(false);
    DataEvent(deDataSetScroll, distance);
}

void TDataSet::Resync()
{
    FitWindow();
    DataEvent(deDataSetChange, 0);
}

// ---- navigation ------------------------------------------------------------------------------------

void TDataSet::First()
{
    CheckBrowseMode();
    m_BeforeScroll(this);
    m_cursor = m_view.empty() ? -1 : 0;
    m_windowTop = 0;
    m_bof = true;
    m_eof = m_view.empty();
    Resync();
    FireAfter(dnAfterScroll, m_AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    m_BeforeScroll(this);
    const int count = static_cast<int>(m_view.size());
    m_cursor = count - 1;
    m_windowTop = std::max(0, count - m_bufferCount);
    m_eof = true;
    m_bof = m_view.empty();
    Resync();
    FireAfter(dnAfterScroll, m_AfterScroll);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    if (distance == 0 || (distance > 0 && m_eof) || (distance < 0 && m_bof))
        return 0;
    if (m_view.empty()) {
        m_bof = m_eof = true;
        return 0;
    }
    m_BeforeScroll(this);
    const int last = static_cast<int>(m_view.size()) - 1;
    const long long wanted = static_cast<long long>(m_cursor) + distance;
    const int target = static_cast<int>(std::clamp<long long>(wanted, 0, last));
    const int moved = target - m_cursor;
    MoveCursor(target, wanted < 0, wanted > last);
    FireAfter(dnAfterScroll, m_AfterScroll);
    return moved;
}

int TDataSet::RecNo() const
{
    if (!Active() || m_state == dsInsert)
        return -1;
    const TRecordData* record = ActiveData();
    return record ? record->ViewIndex + 1 : -1;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (m_view.empty())
        return;
    const int target = std::clamp(recNo, 1, static_cast<int>(m_view.size())) - 1;
    if (target == m_cursor)
        return;
    m_BeforeScroll(this);
    MoveCursor(target, std::nullopt, std::nullopt);
    FireAfter(dnAfterScroll, m_AfterScroll);
}

int TDataSet::RecordCount() const
{
    CheckActive();
    return static_cast<int>(m_view.size()) - (m_newRecord ? 1 : 0);
}

// ---- bookmarks -------------------------------------------------------------------------------------

TBookmarkStr TDataSet::Bookmark() const
{
    const TRecordData* record = Active() ? ActiveData() : nullptr;
    if (!record || record == m_newRecord.get())
        return {};
    return SerialToBookmark(record->Serial);
}

TRecordData* TDataSet::FindBookmark(const TBookmark& bookmark) const
{
    std::uint64_t serial = 0;
    if (bookmark.size() != sizeof serial)
        return nullptr;
    std::memcpy(&serial, bookmark.data(), sizeof serial);
    if (serial < m_firstSerial || serial - m_firstSerial >= m_bySerial.size())
        return nullptr;
    return m_bySerial[serial - m_firstSerial];
}

TRecordData*& TDataSet::SerialEntry(std::uint64_t serial)
{
    const std::size_t index = serial - m_firstSerial;
    if (index >= m_bySerial.size())
        m_bySerial.resize(index + 1, nullptr);
    return m_bySerial[index];
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const
{
    const TRecordData* record = FindBookmark(bookmark);
    return record && record->ViewIndex >= 0;
}

void TDataSet::SetBookmark(const TBookmarkStr& bookmark)
{
    CheckBrowseMode();
    const TRecordData* record = FindBookmark(bookmark);
    if (!record || record->ViewIndex < 0)
        DatabaseError(SInvalidBookmark, this);
    m_BeforeScroll(this);
    MoveCursor(record->ViewIndex, std::nullopt, std::nullopt);
    FireAfter(dnAfterScroll, m_AfterScroll);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
    const TRecordData* x = FindBookmark(a);
    const TRecordData* y = FindBookmark(b);
    if (!x || !y)
        return a == b ? 0 : (a < b ? -1 : 1);
    return x->Order == y->Order ? 0 : (x->Order < y->Order ? -1 : 1);
}

// ---- editing ---------------------------------------------------------------------------------------

void TDataSet::Edit()
{
    CheckActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (m_view.empty()) {
        Insert();
        return;
    }
    if (!CanModify())
        DatabaseError(SDataSetReadOnly, this);
    m_BeforeEdit(this);
    FitWindow();
    m_editBackup = m_view[static_cast<std::size_t>(m_cursor)]->Values;
    SetState(dsEdit);
    DataEvent(deRecordChange, 0);
    FireAfter(dnAfterEdit, m_AfterEdit);
}

void TDataSet::Insert()
{
    BeginInsert(false);
}

void TDataSet::Append()
{
    BeginInsert(true);
}

void TDataSet::BeginInsert(bool append)
{
    CheckBrowseMode();
    if (!CanModify())
        DatabaseError(SDataSetReadOnly, this);
    m_BeforeInsert(this);
    m_BeforeScroll(this);
    m_newRecord = std::make_unique<TRecordData>();
    const std::size_t slots = m_records.empty() ? static_cast<std::size_t>(ColumnCount()) + m_fields.m_fields.size()
                                                : m_records.front()->Values.Count();
    m_newRecord->Values.Assign(std::vector<Variant>(slots, Variant::MakeNull()));
    m_newRecord->Serial = m_nextSerial++;
    const int position = append || m_cursor < 0 ? static_cast<int>(m_view.size()) : m_cursor;
    m_view.insert(m_view.begin() + position, m_newRecord.get());
    RenumberView(static_cast<std::size_t>(position));
    m_cursor = position;
    FitWindow();
    SetState(dsInsert);
    m_bof = m_eof = false;
    m_OnNewRecord(this);
    m_modified = false;
    DataEvent(deDataSetChange, 0);
    FireAfter(dnAfterInsert, m_AfterInsert);
    FireAfter(dnAfterScroll, m_AfterScroll);
}

void TDataSet::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert)
        DatabaseError(SNotEditing, this);
    DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckRequiredFields() const
{
    for (const TField* field : m_fields.m_fields)
        if (field->Required() && field->FieldKind() == fkData && !field->ReadOnly() && field->IsNull())
            DatabaseErrorFmt(SFieldRequired, field->DisplayName(), this);
}

void TDataSet::Post()
{
    CheckActive();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    UpdateRecord();
    FitWindow();
    CheckRequiredFields();
    m_BeforePost(this);
    TRecordData& record = *m_view[static_cast<std::size_t>(m_cursor)];
    const bool inserting = m_state == dsInsert;
    InternalPost(record, inserting);
    if (inserting) {
        // Placed before the record that follows it in the view, so that orders stay consistent.
        const std::size_t next = static_cast<std::size_t>(m_cursor) + 1;
        const std::size_t order = next < m_view.size() ? static_cast<std::size_t>(m_view[next]->Order) : m_records.size();
        SerialEntry(record.Serial) = &record;
        m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(order), std::move(m_newRecord));
        RenumberOrder(order);
    }
    CalculateFields(record);
    m_editBackup = TRecordValues();
    SetState(dsBrowse);
    Resync();
    FireAfter(dnAfterPost, m_AfterPost);
}

void TDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    m_BeforeCancel(this);
    if (m_state == dsInsert) {
        const auto position = static_cast<std::size_t>(m_cursor);
        m_view.erase(m_view.begin() + static_cast<std::ptrdiff_t>(position));
        RenumberView(position);
        m_newRecord.reset();
        m_cursor = std::min(m_cursor, static_cast<int>(m_view.size()) - 1);
        m_bof = m_eof = m_view.empty();
    } else {
        m_view[static_cast<std::size_t>(m_cursor)]->Values = m_editBackup;
    }
    m_editBackup = TRecordValues();
    SetState(dsBrowse);
    Resync();
    FireAfter(dnAfterCancel, m_AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (m_view.empty())
        DatabaseError(SDataSetEmpty, this);
    if (!CanModify())
        DatabaseError(SDataSetReadOnly, this);
    if (m_state == dsEdit) {
        m_view[static_cast<std::size_t>(m_cursor)]->Values = m_editBackup;
        m_editBackup = TRecordValues();
    }
    m_BeforeDelete(this);
    m_subscribers->Notify(dnBeforeDelete, this);
    m_BeforeScroll(this);
    FitWindow();
    const auto position = static_cast<std::size_t>(m_cursor);
    TRecordData* record = m_view[position];
    InternalDelete(*record);
    const auto order = static_cast<std::size_t>(record->Order);
    SerialEntry(record->Serial) = nullptr;
    m_view.erase(m_view.begin() + static_cast<std::ptrdiff_t>(position));
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(order));
    RenumberView(position);
    RenumberOrder(order);
    m_cursor = std::min(m_cursor, static_cast<int>(m_view.size()) - 1);
    m_bof = m_eof = m_view.empty();
    if (m_state != dsBrowse)
        SetState(dsBrowse);
    Resync();
    FireAfter(dnAfterDelete, m_AfterDelete);
    FireAfter(dnAfterScroll, m_AfterScroll);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode, 0);
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    UpdateRecord();
    if (m_modified)
        Post();
    else
        Cancel();
}

// ---- searching -------------------------------------------------------------------------------------

int TDataSet::FindRecord(const std::vector<TField*>& fields, const Variant& keyValues, TLocateOptions options)
{
    for (std::size_t row = 0; row < m_view.size(); ++row) {
        const TRecordData& record = *m_view[row];
        bool matches = true;
        for (std::size_t i = 0; i < fields.size() && matches; ++i)
            matches = KeyMatches(record.Values[static_cast<std::size_t>(fields[i]->m_slot)],
                                 KeyAt(keyValues, i, fields.size()), options);
        if (matches)
            return static_cast<int>(row);
    }
    return -1;
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    std::vector<TField*> fields;
    GetFieldList(fields, keyFields);
    const int row = FindRecord(fields, keyValues, options);
    if (row < 0)
        return false;
    m_BeforeScroll(this);
    MoveCursor(row, std::nullopt, std::nullopt);
    FireAfter(dnAfterScroll, m_AfterScroll);
    return true;
}

Variant TDataSet::Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields)
{
    CheckActive();
    std::vector<TField*> keys;
    GetFieldList(keys, keyFields);
    std::vector<TField*> results;
    GetFieldList(results, resultFields);
    const int row = FindRecord(keys, keyValues, 0);
    if (row < 0)
        return Variant::MakeNull();
    const TRecordData& record = *m_view[static_cast<std::size_t>(row)];
    std::vector<Variant> values;
    for (TField* field : results)
        values.push_back(record.Values[static_cast<std::size_t>(field->m_slot)]);
    return values.size() == 1 ? values[0] : VarArrayOf(values);
}

// ---- filtering -------------------------------------------------------------------------------------

void TDataSet::SetFilter(const std::string& text)
{
    if (text == m_filterText)
        return;
    if (!Active() || !m_filtered) {
        m_filterText = text;
        return;
    }
    CheckBrowseMode();
    std::string previous = std::exchange(m_filterText, text);
    try {
        ApplyFilter();
    } catch (...) {
        m_filterText = std::move(previous);
        ApplyFilter();
        throw;
    }
    First();
}

void TDataSet::SetFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (!Active()) {
        m_filtered = filtered;
        return;
    }
    CheckBrowseMode();
    m_filtered = filtered;
    try {
        ApplyFilter();
    } catch (...) {
        m_filtered = !filtered;
        ApplyFilter();
        throw;
    }
    First();
}

// ---- controls and events ---------------------------------------------------------------------------

void TDataSet::DisableControls()
{
    if (m_disableCount++ == 0) {
        m_disabledState = m_state;
        DataEvent(deDisabledStateChange, 1);
    }
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    DataEvent(deDisabledStateChange, 0);
    if (m_disabledState != m_state)
        DataEvent(deUpdateState, 0);
    if (Active()) {
        FitWindow();
        DataEvent(deDataSetChange, 0);
    }
}

bool TDataSet::IsLinkedTo(const TDataSource* dataSource) const
{
    return std::find(m_dataSources.begin(), m_dataSources.end(), dataSource) != m_dataSources.end();
}

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (ControlsDisabled()) {
        switch (event) {
        case deFieldChange:
        case deRecordChange:
        case deDataSetChange:
        case deDataSetScroll:
        case deLayoutChange:
        case deUpdateState:
            return;
        default:
            break;
        }
    }
    for (TDataSource* source : std::vector<TDataSource*>(m_dataSources))
        source->DataEvent(event, info);
    if (event != deDataSetScroll && event != deDataSetChange)
        return;
    // Painting may have left another buffered record active; the cursor's record is active again.
    FitWindow();
}

void TDataSet::AddDataSource(TDataSource* source)
{
    m_dataSources.push_back(source);
    if (Active())
        UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source)
{
    m_dataSources.erase(std::remove(m_dataSources.begin(), m_dataSources.end(), source), m_dataSources.end());
    if (Active())
        UpdateBufferCount();
}

void TDataSet::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    TComponent::GetChildren(proc, root);
    if (m_defaultFields)
        return;
    for (TField* field : std::vector<TField*>(m_fields.m_fields))
        if (field->Owner() == root)
            proc(field);
}

void TDataSet::Loaded()
{
    TComponent::Loaded();
    if (m_streamedActive)
        SetActive(true);
}

void TDataSet::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    for (TField* field : m_fields.m_fields)
        if (field->LookupDataSet() == component)
            field->SetLookupDataSet(nullptr);
}

TDataSetSubscription TDataSet::Subscribe(TDataSetNotifyKind kind, TDataSetNotifyEvent handler)
{
    return TDataSetSubscription(m_subscribers, m_subscribers->Add(kind, std::move(handler)));
}

void TDataSet::FireAfter(TDataSetNotifyKind kind, const TDataSetNotifyEvent& handler)
{
    m_subscribers->Notify(kind, this);
    handler(this);
}
