#include "platform/classlib/forms/StdCtrlsListBoxStrings.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>

TItemWindowStrings::TItemWindowStrings(TWinControl& control, const TItemMessages& messages)
    : m_control(control), m_messages(messages)
{
}

bool TItemWindowStrings::Live() const { return m_control.HandleAllocated(); }

LRESULT TItemWindowStrings::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(m_control.Handle(), message, wParam, lParam);
}

int TItemWindowStrings::Count() const
{
    return Live() ? static_cast<int>(Send(m_messages.Count)) : static_cast<int>(m_waiting.size());
}

std::string TItemWindowStrings::Strings(int index) const
{
    CheckIndex(index);
    if (!Live())
        return m_waiting[static_cast<std::size_t>(index)].first;
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(0, Send(m_messages.GetTextLen, static_cast<WPARAM>(index)))) + 1, '\0');
    const LRESULT length = Send(m_messages.GetText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, length)));
    return text;
}

void TItemWindowStrings::SetStrings(int index, const std::string& s)
{
    void* object = Objects(index);
    Delete(index);
    InsertObject(index, s, object);
}

void* TItemWindowStrings::Objects(int index) const
{
    CheckIndex(index);
    if (!Live())
        return m_waiting[static_cast<std::size_t>(index)].second;
    return reinterpret_cast<void*>(Send(m_messages.GetData, static_cast<WPARAM>(index)));
}

void TItemWindowStrings::SetObjects(int index, void* object)
{
    CheckIndex(index);
    if (Live())
        (void)Send(m_messages.SetData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    else
        m_waiting[static_cast<std::size_t>(index)].second = object;
}

void TItemWindowStrings::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TItemWindowStrings::InsertObject(int index, const std::string& s, void* object)
{
    if (index < 0 || index > Count())
        RaiseIndexError(index);
    if (Live()) {
        const LRESULT at = Send(m_messages.Insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
        if (at < 0)
            throw EStringListError("Unable to insert a line");
        (void)Send(m_messages.SetData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(object));
        return;
    }
    m_waiting.insert(m_waiting.begin() + index, {s, object});
}

int TItemWindowStrings::AddObject(const std::string& s, void* object)
{
    if (Live()) {
        const LRESULT at = Send(m_messages.Add, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (at < 0)
            throw EStringListError("Unable to insert a line");
        (void)Send(m_messages.SetData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(object));
        return static_cast<int>(at);
    }
    auto at = m_waiting.end();
    if (m_sorted)
        at = std::find_if(m_waiting.begin(), m_waiting.end(),
                          [&](const auto& item) { return AnsiCompareText(item.first, s) > 0; });
    return static_cast<int>(m_waiting.insert(at, {s, object}) - m_waiting.begin());
}

void TItemWindowStrings::Delete(int index)
{
    CheckIndex(index);
    if (Live())
        (void)Send(m_messages.Delete, static_cast<WPARAM>(index));
    else
        m_waiting.erase(m_waiting.begin() + index);
}

void TItemWindowStrings::Clear()
{
    if (Live())
        (void)Send(m_messages.Reset);
    else
        m_waiting.clear();
}

void TItemWindowStrings::SetSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted)
        std::stable_sort(m_waiting.begin(), m_waiting.end(),
                         [](const auto& a, const auto& b) { return AnsiCompareText(a.first, b.first) < 0; });
}

void TItemWindowStrings::WindowCreated()
{
    const auto waiting = std::move(m_waiting);
    m_waiting.clear();
    for (const auto& [text, object] : waiting)
        (void)AddObject(text, object);
}

void TItemWindowStrings::WindowDestroying()
{
    std::vector<std::pair<std::string, void*>> items;
    for (int i = 0; i < Count(); ++i)
        items.emplace_back(Strings(i), Objects(i));
    m_waiting = std::move(items);
}
