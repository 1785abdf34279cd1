#pragma once

#include "platform/classlib/core/StringLists.h"
#include "platform/winapi/user/WinUser.h"

#include <utility>
#include <vector>

class TWinControl;

// The messages by which one kind of item window (list box or combo box) keeps its items.
struct TItemMessages {
    UINT Add;
    UINT Insert;
    UINT Delete;
    UINT Reset;
    UINT Count;
    UINT GetText;
    UINT GetTextLen;
    UINT GetData;
    UINT SetData;
};

// The Items of a list or combo box. While the control has its window the items live there (a
// sorted window places added items itself); while it has none they wait here, in the same order
// the window would give them, and move into the window when it is made.
class TItemWindowStrings : public TStrings {
public:
    TItemWindowStrings(TWinControl& control, const TItemMessages& messages);

    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& s) override;
    [[nodiscard]] void* Objects(int index) const override;
    void SetObjects(int index, void* object) override;
    void Insert(int index, const std::string& s) override;
    void InsertObject(int index, const std::string& s, void* object) override;
    int AddObject(const std::string& s, void* object) override;
    void Delete(int index) override;
    void Clear() override;

    // Whether an added item goes to its sorted place; the waiting items are sorted at once.
    void SetSorted(bool sorted);
    // The control's window was made: the waiting items go into it.
    void WindowCreated();
    // The control's window is about to go: its items come back here.
    void WindowDestroying();

private:
    [[nodiscard]] bool Live() const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    TWinControl& m_control;
    TItemMessages m_messages;
    std::vector<std::pair<std::string, void*>> m_waiting;
    bool m_sorted = false;
};
