#pragma once

#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/user/ControlInstance.h"

namespace winapi_controls::detail {

// The state behind one combo box window. The list keeps the items and the selection; the combo
// lays out its parts, drops the list, turns what its parts report into CBN_ notifications and
// draws the field and the button.
class ComboBoxWindow final : public ControlInstance {
public:
    ComboBoxWindow(HWND hwnd, const CREATESTRUCTA& create);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The edit's messages pass here first; true when the combo took the message.
    [[nodiscard]] bool EditMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class Close { Accept, Cancel, Quiet };

    [[nodiscard]] DWORD Kind() const { return m_style & 3; }
    [[nodiscard]] bool HasEdit() const { return Kind() != CBS_DROPDOWNLIST; }
    [[nodiscard]] LRESULT List(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    [[nodiscard]] int Selected() const;

    // Parts and layout
    [[nodiscard]] bool CreateParts();
    void Layout();
    [[nodiscard]] int FrameHeight() const { return m_fieldHeight + 6; }
    // The sunken edge round a simple combo's edit.
    static constexpr int SimpleEdge = 2;
    [[nodiscard]] RECT ItemRect() const;
    [[nodiscard]] RECT ButtonRect() const;
    [[nodiscard]] RECT DropRect() const;
    void SetFont(HFONT font, bool redraw);
    void FillInfo(COMBOBOXINFO& info) const;

    // Items and selection
    [[nodiscard]] LRESULT DeleteItem(int index);
    [[nodiscard]] LRESULT SetItemHeight(int index, LPARAM height);
    [[nodiscard]] LRESULT SetSelection(int index);
    void ShowSelectionText();
    [[nodiscard]] LRESULT SetText(const char* text);
    [[nodiscard]] LRESULT GetText(WPARAM size, LPSTR buffer) const;
    void MoveSelection(UINT key);
    void ListCommand(WORD code);
    void EditCommand(WORD code);
    // Tells the parent; false when the parent destroyed the combo meanwhile.
    [[nodiscard]] bool Notify(WORD code) const;

    // Dropping
    void DropDown();
    // False when the combo was destroyed while its parent heard of it.
    bool CloseUp(Close how);
    void ToggleDrop()
    {
        if (m_dropped)
            (void)CloseUp(Close::Accept);
        else
            DropDown();
    }

    // Input and focus
    [[nodiscard]] bool KeyDown(UINT key, bool alt);
    void ButtonDown(POINT point);
    void GotFocus();
    void LostFocus(HWND next);

    // Painting
    void Paint(HDC dc);
    void PaintField(HDC dc);

    DWORD m_style;
    HWND m_edit = nullptr;
    HWND m_list = nullptr;
    HFONT m_font = nullptr;
    int m_fieldHeight = 0;
    int m_droppedWidth = 0;
    int m_minVisible = 30;
    int m_selectionAtDrop = -1;
    bool m_dropped = false;
    bool m_focused = false;
    bool m_extendedUI = false;
    bool m_typing = false;
};

} // namespace winapi_controls::detail
