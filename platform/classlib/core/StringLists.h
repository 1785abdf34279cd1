#pragma once

#include "platform/classlib/core/Persistent.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TStream;

// The class library's list of strings, each with an untyped pointer beside it that the list never
// owns. TStrings is the contract; descendants supply the storage (TStringList here; the list
// controls keep theirs in a window) by overriding the primitives, and get everything else: names
// and values, CommaText, Text, files and streams.
//
// Index errors raise EStringListError "List index out of bounds (%d)".
//
// Form data holds the items as the defined property "Strings", a list of strings.
class TStrings : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TStrings() = default;

    // Storage primitives.
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::string Strings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& s);
    [[nodiscard]] virtual void* Objects(int index) const;
    virtual void SetObjects(int index, void* object);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void InsertObject(int index, const std::string& s, void* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // Returns the index the string went to.
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    virtual int AddObject(const std::string& s, void* object);
    void AddStrings(const TStrings& strings);
    virtual void Assign(const TStrings& source);
    // Takes the items of any TStrings; other sources go the TPersistent way.
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    // Case-insensitive unless a descendant says otherwise; -1 when absent.
    [[nodiscard]] virtual int IndexOf(std::string_view s) const;
    [[nodiscard]] int IndexOfObject(const void* object) const;

    // "Name=Value" items: the name is the text before the first '='.
    [[nodiscard]] int IndexOfName(std::string_view name) const;
    // Empty for an item without '='.
    [[nodiscard]] std::string Names(int index) const;
    [[nodiscard]] std::string Values(std::string_view name) const;
    // Replaces the value of the first item with that name, adds "name=value" when there is none,
    // and deletes the item when the value is empty.
    void SetValues(std::string_view name, std::string_view value);
    // Empty for an item without '='.
    [[nodiscard]] std::string ValueFromIndex(int index) const;

    // Every item followed by CR LF. Setting splits at CR LF, LF or CR; a final line break makes no
    // empty last item.
    [[nodiscard]] virtual std::string Text() const;
    virtual void SetText(std::string_view text);
    // Items joined by ','; an item that holds a space, a control character, '"' or ',' is written
    // in double quotes with inner quotes doubled. Setting splits at ',' and at blanks outside
    // quotes, so "a b" gives two items; a lone empty item reads and writes as "".
    [[nodiscard]] std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // Nested; change notifications are held back until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    [[nodiscard]] int UpdateCount() const { return m_updateCount; }

    // Streams are read from their position to the end, as bytes (no code page conversion).
    // File errors raise EFOpenError / EFCreateError with the system's reason.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

protected:
    [[nodiscard]] virtual int CompareStrings(std::string_view a, std::string_view b) const;
    // Called when the update count leaves or returns to zero.
    virtual void SetUpdateState(bool updating);
    void CheckIndex(int index) const;
    [[noreturn]] static void RaiseIndexError(int index);

private:
    int m_updateCount = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// A TStrings held in memory. When Sorted, items stay in CompareStrings order, lookups use a binary
// search and Duplicates decides what adding an equal string does (ignored, accepted, or
// EStringListError "String list does not allow duplicates"); an unsorted list accepts every
// string. Placing a string at a chosen index (Insert, SetStrings, Exchange, Move) on a sorted list
// raises EStringListError "Operation not allowed on sorted list" and changes nothing.
class TStringList : public TStrings {
    CLASSLIB_DECLARE_CLASS;

    using TNotifyEvent = std::function<void(TStringList& sender)>;

    [[nodiscard]] int Count() const override { return static_cast<int>(m_items.size()); }
    [[nodiscard]] std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& s) override;
    [[nodiscard]] void* Objects(int index) const override;
    void SetObjects(int index, void* object) override;
    void Insert(int index, const std::string& s) override;
    void InsertObject(int index, const std::string& s, void* object) override;
    void Delete(int index) override;
    void Clear() override;
    int AddObject(const std::string& s, void* object) override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    [[nodiscard]] int IndexOf(std::string_view s) const override;

    // Binary search; meaningful on a sorted list only. Returns whether `s` is there and sets
    // `index` to its first occurrence or to where it would be inserted.
    [[nodiscard]] bool Find(std::string_view s, int& index) const;
    // Stable: equal strings keep their order.
    void Sort();

    [[nodiscard]] bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    [[nodiscard]] TDuplicates Duplicates() const { return m_duplicates; }
    void SetDuplicates(TDuplicates duplicates) { m_duplicates = duplicates; }
    [[nodiscard]] bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool caseSensitive);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }
    [[nodiscard]] const TNotifyEvent& OnChanging() const { return m_onChanging; }
    void SetOnChanging(TNotifyEvent handler) { m_onChanging = std::move(handler); }

protected:
    [[nodiscard]] int CompareStrings(std::string_view a, std::string_view b) const override;
    void SetUpdateState(bool updating) override;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        std::string string;
        void* object = nullptr;
    };

    void CheckNotSorted() const;
    void InsertItem(int index, const std::string& s, void* object);

    std::vector<Item> m_items;
    bool m_sorted = false;
    bool m_caseSensitive = false;
    TDuplicates m_duplicates = TDuplicates::dupIgnore;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onChanging;
};
