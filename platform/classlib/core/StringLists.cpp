#include "platform/classlib/core/StringLists.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>

namespace {

constexpr char CommaDelimiter = ',';
constexpr char CommaQuote = '"';

bool IsBlank(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= ' ';
}

bool NeedsQuotes(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == CommaQuote || c == CommaDelimiter;
    });
}

std::string Quoted(std::string_view s)
{
    std::string result(1, CommaQuote);
    for (const char c : s) {
        if (c == CommaQuote)
            result += CommaQuote;
        result += c;
    }
    result += CommaQuote;
    return result;
}

// Reads a quoted item starting at the opening quote: doubled quotes stand for one, and an item
// with no closing quote runs to the end of the text.
std::string ExtractQuoted(std::string_view text, std::size_t& pos)
{
    std::string result;
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != CommaQuote) {
            result += c;
        } else if (pos < text.size() && text[pos] == CommaQuote) {
            result += CommaQuote;
            ++pos;
        } else {
            break;
        }
    }
    return result;
}

void SkipBlanks(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

// The name of a "Name=Value" item ends at its first '='; an item without one has no name.
std::size_t SeparatorPos(std::string_view s) { return s.find('='); }

class TUpdateScope {
public:
    explicit TUpdateScope(TStrings& strings) : m_strings(strings) { m_strings.BeginUpdate(); }
    ~TUpdateScope() { m_strings.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TStrings& m_strings;
};

} // namespace

// ---- TStrings --------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TStrings, TPersistent, nullptr, nullptr)

void TStrings::Assign(const TPersistent* source)
{
    if (const auto* strings = dynamic_cast<const TStrings*>(source))
        Assign(*strings);
    else
        TPersistent::Assign(source);
}

void TStrings::DefineProperties(TFiler& filer)
{
    filer.DefineProperty(
        "Strings",
        [this](TReader& reader) {
            TUpdateScope scope(*this);
            Clear();
            reader.ReadListBegin();
            while (!reader.EndOfList())
                Add(reader.ReadString());
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                writer.WriteString(Strings(i));
            writer.WriteListEnd();
        },
        Count() > 0);
}

void TStrings::RaiseIndexError(int index)
{
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
}

void TStrings::SetStrings(int index, const std::string& s)
{
    void* object = Objects(index);
    TUpdateScope scope(*this);
    Delete(index);
    InsertObject(index, s, object);
}

void* TStrings::Objects(int index) const
{
    CheckIndex(index);
    return nullptr;
}

void TStrings::SetObjects(int index, void*)
{
    CheckIndex(index);
}

void TStrings::InsertObject(int index, const std::string& s, void* object)
{
    TUpdateScope scope(*this);
    Insert(index, s);
    SetObjects(index, object);
}

int TStrings::AddObject(const std::string& s, void* object)
{
    const int index = Count();
    InsertObject(index, s, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings)
{
    TUpdateScope scope(*this);
    for (int i = 0; i < strings.Count(); ++i)
        AddObject(strings.Strings(i), strings.Objects(i));
}

void TStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    TUpdateScope scope(*this);
    Clear();
    AddStrings(source);
}

void TStrings::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    TUpdateScope scope(*this);
    const std::string string1 = Strings(index1);
    void* object1 = Objects(index1);
    SetStrings(index1, Strings(index2));
    SetObjects(index1, Objects(index2));
    SetStrings(index2, string1);
    SetObjects(index2, object1);
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    TUpdateScope scope(*this);
    const std::string s = Strings(curIndex);
    void* object = Objects(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
}

int TStrings::IndexOf(std::string_view s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object)
            return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string s = Strings(i);
        const std::size_t separator = SeparatorPos(s);
        if (separator != std::string::npos && CompareStrings(std::string_view(s).substr(0, separator), name) == 0)
            return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const
{
    const std::string s = Strings(index);
    const std::size_t separator = SeparatorPos(s);
    return separator == std::string::npos ? std::string() : s.substr(0, separator);
}

std::string TStrings::Values(std::string_view name) const
{
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value)
{
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    std::string item(name);
    item += '=';
    item += value;
    if (index < 0)
        Add(item);
    else
        SetStrings(index, item);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string s = Strings(index);
    const std::size_t separator = SeparatorPos(s);
    return separator == std::string::npos ? std::string() : s.substr(separator + 1);
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Strings(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text)
{
    TUpdateScope scope(*this);
    Clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        Add(std::string(text.substr(pos, end - pos)));
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

std::string TStrings::CommaText() const
{
    if (Count() == 1 && Strings(0).empty())
        return std::string(2, CommaQuote);
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            text += CommaDelimiter;
        const std::string s = Strings(i);
        text += NeedsQuotes(s) ? Quoted(s) : s;
    }
    return text;
}

void TStrings::SetCommaText(std::string_view text)
{
    TUpdateScope scope(*this);
    Clear();
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    while (pos < text.size()) {
        if (text[pos] == CommaQuote) {
            Add(ExtractQuoted(text, pos));
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && static_cast<unsigned char>(text[pos]) > ' ' && text[pos] != CommaDelimiter)
                ++pos;
            Add(std::string(text.substr(start, pos - start)));
        }
        SkipBlanks(text, pos);
        if (pos < text.size() && text[pos] == CommaDelimiter) {
            // A delimiter that ends the text still separates an empty last item.
            if (pos + 1 == text.size())
                Add(std::string());
            ++pos;
            SkipBlanks(text, pos);
        }
    }
}

void TStrings::BeginUpdate()
{
    if (m_updateCount == 0)
        SetUpdateState(true);
    ++m_updateCount;
}

void TStrings::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream)
{
    const std::int64_t left = std::max<std::int64_t>(0, stream.Size() - stream.Position());
    std::string text(static_cast<std::size_t>(left), '\0');
    text.resize(stream.Read(text.data(), text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const
{
    const std::string text = Text();
    stream.WriteBuffer(text.data(), text.size());
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const
{
    return AnsiCompareText(a, b);
}

void TStrings::SetUpdateState(bool) {}

// ---- TStringList -----------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TStringList, TStrings, DefaultCreator<TStringList>, nullptr)

std::string TStringList::Strings(int index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)].string;
}

void TStringList::SetStrings(int index, const std::string& s)
{
    CheckNotSorted();
    CheckIndex(index);
    Changing();
    m_items[static_cast<std::size_t>(index)].string = s;
    Changed();
}

void* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)].object;
}

void TStringList::SetObjects(int index, void* object)
{
    CheckIndex(index);
    Changing();
    m_items[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& s)
{
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(int index, const std::string& s, void* object)
{
    CheckNotSorted();
    if (index < 0 || index > Count())
        RaiseIndexError(index);
    InsertItem(index, s, object);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    m_items.erase(m_items.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (m_items.empty())
        return;
    Changing();
    m_items.clear();
    m_items.shrink_to_fit();
    Changed();
}

int TStringList::AddObject(const std::string& s, void* object)
{
    int index = Count();
    if (m_sorted && Find(s, index)) {
        if (m_duplicates == TDuplicates::dupIgnore)
            return index;
        if (m_duplicates == TDuplicates::dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Exchange(int index1, int index2)
{
    CheckNotSorted();
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(m_items[static_cast<std::size_t>(index1)], m_items[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    // Checked before anything moves: the generic Move deletes first, and a refused re-insert would
    // lose the item.
    CheckNotSorted();
    TStrings::Move(curIndex, newIndex);
}

int TStringList::IndexOf(std::string_view s) const
{
    if (!m_sorted)
        return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const
{
    const auto first = std::lower_bound(m_items.begin(), m_items.end(), s,
        [this](const Item& item, std::string_view value) { return CompareStrings(item.string, value) < 0; });
    index = static_cast<int>(first - m_items.begin());
    return first != m_items.end() && CompareStrings(first->string, s) == 0;
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(m_items.begin(), m_items.end(),
        [this](const Item& a, const Item& b) { return CompareStrings(a.string, b.string) < 0; });
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    if (sorted)
        Sort();
    m_sorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == m_caseSensitive)
        return;
    m_caseSensitive = caseSensitive;
    if (m_sorted)
        Sort();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const
{
    return m_caseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && m_onChanging)
        m_onChanging(*this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && m_onChange)
        m_onChange(*this);
}

void TStringList::CheckNotSorted() const
{
    if (m_sorted)
        throw EStringListError("Operation not allowed on sorted list");
}

void TStringList::InsertItem(int index, const std::string& s, void* object)
{
    Changing();
    m_items.insert(m_items.begin() + index, Item{s, object});
    Changed();
}
