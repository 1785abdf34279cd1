#include "grid/core/MRUListGx.h"

#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TMRUListGx, TPersistent, nullptr, nullptr)

namespace {

// How many texts are copied between two looks at the keyboard.
constexpr int KeyCheckStride = 100;

bool KeyWaiting()
{
    MSG message{};
    return PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) != 0;
}

} // namespace

TMRUListGx::TMRUListGx(TPersistent* owner) : m_owner(owner), m_items(std::make_unique<TStringList>()) {}

TMRUListGx::~TMRUListGx() = default;

void TMRUListGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TMRUListGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetActive(other->m_active);
    m_items->Assign(*other->m_items);
    SetLimit(other->m_limit);
    m_rows = other->m_rows;
    m_caseSensitive = other->m_caseSensitive;
}

void TMRUListGx::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    m_onActiveChanged(this);
}

void TMRUListGx::SetItems(const TStrings* items)
{
    if (items)
        m_items->Assign(*items);
    else
        m_items->Clear();
}

void TMRUListGx::SetLimit(int limit)
{
    m_limit = std::max(limit, 0);
    ApplyLimit();
}

void TMRUListGx::ApplyLimit()
{
    while (m_items->Count() > m_limit)
        m_items->Delete(0);
}

void TMRUListGx::AddText(const std::string& text)
{
    if (Trim(text).empty())
        return;
    for (int i = 0; i < m_items->Count(); ++i) {
        const std::string item = m_items->Strings(i);
        if (m_caseSensitive ? item == text : AnsiCompareText(item, text) == 0) {
            m_items->Move(i, m_items->Count() - 1);
            return;
        }
    }
    m_items->Add(text);
    ApplyLimit();
}

bool TMRUListGx::Matches(const std::string& item, const std::string& text) const
{
    const bool begins = m_caseSensitive ? item.compare(0, text.size(), text) == 0
                                        : AnsiStrLIComp(item, text, Utf8CharacterCount(text)) == 0 &&
                                              Utf8CharacterCount(item) >= Utf8CharacterCount(text);
    bool accept = begins;
    if (accept)
        m_onFilterItem(const_cast<TMRUListGx*>(this), item, accept);
    return accept;
}

bool TMRUListGx::CopyMatchingItems(TStrings& target, const std::string& text) const
{
    target.BeginUpdate();
    target.Clear();
    bool finished = true;
    for (int i = 0; i < m_items->Count(); ++i) {
        if (i % KeyCheckStride == 0 && m_stopOnKey && KeyWaiting()) {
            finished = false;
            break;
        }
        const std::string item = m_items->Strings(i);
        if (Matches(item, text))
            target.Add(item);
    }
    target.EndUpdate();
    return finished;
}

void TMRUListGx::OpenList() { m_onDropDown(this); }

void TMRUListGx::CloseList(bool accept) { m_onCloseUp(this, accept); }
