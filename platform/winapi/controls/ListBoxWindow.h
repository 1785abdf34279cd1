#pragma once

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/controls/ListBox.h"

#include <optional>
#include <string>
#include <vector>

namespace winapi_controls::detail {

// The state behind one list box window. A list with LBS_COMBOBOX is the drop-down of the combo
// box that owns it: it reports to the combo (LBN_SELCHANGE when an item is picked with the
// mouse, LBN_SELCANCEL for a click outside), never takes focus, and draws its owner-drawn
// items in the combo's name.
class ListBoxWindow final : public ControlInstance {
public:
    // `combo` is the combo box a drop-down list belongs to (a pop-up's owner is the top-level window).
    ListBoxWindow(HWND hwnd, const CREATESTRUCTA& create);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Item {
        std::string text;
        ULONG_PTR data = 0;
        int height = 0;
    };

    // Model
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] bool Valid(int index) const { return index >= 0 && index < Count(); }
    [[nodiscard]] bool HasStrings() const;
    [[nodiscard]] bool IsComboList() const { return m_combo != nullptr; }
    [[nodiscard]] LRESULT Insert(int index, LPARAM value);
    [[nodiscard]] LRESULT Add(LPARAM value);
    [[nodiscard]] LRESULT Delete(int index);
    void Reset();
    [[nodiscard]] LRESULT SetCount(int count);
    [[nodiscard]] LRESULT GetText(int index, LPSTR buffer) const;
    [[nodiscard]] LRESULT SetItemData(int index, LPARAM data);
    [[nodiscard]] LRESULT SetItemHeight(int index, LPARAM height);
    [[nodiscard]] LRESULT Find(int start, LPARAM value, bool exact) const;
    [[nodiscard]] bool Matches(const Item& item, LPARAM value, bool exact) const;
    [[nodiscard]] int MeasureItem(int index, ULONG_PTR data);

    // Selection and scrolling
    [[nodiscard]] LRESULT SetSelection(int index);
    // The user's choice: selects, shows and reports a change.
    // Selects and reports the change; false when the list was destroyed while it was heard.
    bool Choose(int index);
    void SetCaret(int index);
    [[nodiscard]] LRESULT SetTop(int index);
    void EnsureVisible(int index);
    [[nodiscard]] int MaxTop() const;
    [[nodiscard]] int FullyVisibleFrom(int top) const;
    void UpdateScrollBar();
    // A WM_VSCROLL request; the thumb codes carry the position with them, as whoever drags the
    // thumb (the system's scroll bar or a skin's) sends it.
    void Scroll(WORD code, WORD position);

    // Geometry
    [[nodiscard]] int ItemHeight(int index) const;
    [[nodiscard]] RECT ItemRect(int index) const;
    // The item at a client point: index, and whether the point is outside the items' area.
    [[nodiscard]] std::pair<int, bool> ItemAt(POINT point) const;
    [[nodiscard]] RECT Client() const;
    void SetFont(HFONT font, bool redraw);
    [[nodiscard]] int FontHeight() const;
    void KeepIntegralHeight(WINDOWPOS& pos) const;
    void InvalidateItem(int index);

    // Input
    void KeyDown(WPARAM key);
    void TypeAhead(char c);
    // False when the list was destroyed by what it reported.
    bool ButtonDown(POINT point);
    // A press on a dropped list's own scroll bar, which the list holding the mouse receives as a
    // client press: handed to the scroll bar; the list takes the mouse back afterwards.
    bool ScrollBarPress(POINT point);
    void MouseMove(POINT point);
    void ButtonUp(POINT point);
    // LBN_ codes for the parent when it asked for them (LBS_NOTIFY); Report always tells.
    // Notify only with LBS_NOTIFY, Report always; both answer whether the list still stands.
    [[nodiscard]] bool Notify(WORD code) const;
    [[nodiscard]] bool Report(WORD code) const;

    // Painting
    void Paint(HDC dc, const RECT& update);
    void PaintItem(HDC dc, int index, HBRUSH background);
    // False when the parent destroyed the list as it drew the item.
    [[nodiscard]] bool OwnerDrawItem(HDC dc, int index, UINT action);
    // The background brush; nothing when the list was destroyed as it asked for it.
    [[nodiscard]] std::optional<HBRUSH> ControlColors(HDC dc) const;
    // The window named in owner-draw messages: the combo for a drop-down list.
    [[nodiscard]] HWND Identity() const;
    // Where notifications and colour questions go: the combo for a drop-down list.
    [[nodiscard]] HWND Owner() const;

    HWND m_combo;
    DWORD m_style;
    std::vector<Item> m_items;
    int m_selected = -1;
    int m_caret = 0;
    int m_top = 0;
    int m_itemHeight = 0;
    HFONT m_font = nullptr;
    bool m_focused = false;
    bool m_tracking = false;
    // A dropped list's scroll bar is being used: losing the mouse to it does not close the list.
    bool m_scrolling = false;
    std::string m_typed;
    DWORD m_lastTyped = 0;
};

// Registers "ComboLBox", the drop-down part of combo boxes (the list box procedure).
void RegisterComboListClass();

} // namespace winapi_controls::detail
