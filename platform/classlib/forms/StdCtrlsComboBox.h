#pragma once

#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
[[nodiscard]] const TTypeInfo& ComboBoxStyleTypeInfo();

namespace classlib_forms::detail {
// The procedure the combo box puts on its edit and on a simple combo's list, to see the edit's
// keys and the right clicks on both.
LRESULT ComboPartProc(HWND part, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
} // namespace classlib_forms::detail

// A control on the built-in "ComboBox" window class. Picking an item is a Click followed by
// Select (OnSelect, or OnChange when there is none); typing in the edit is a Change. Keys typed
// into the edit reach OnKeyDown / OnKeyPress of the combo box, and the edit's focus is its. A right
// click on the edit or on a simple combo's list asks the combo box for its context menu.
class TCustomComboBox : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    [[nodiscard]] TStrings* Items() const { return m_items.get(); }
    void SetItems(TStrings* items);
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);
    [[nodiscard]] TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style);
    [[nodiscard]] bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    [[nodiscard]] int DropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int count);
    [[nodiscard]] bool DroppedDown() const;
    void SetDroppedDown(bool dropped);
    // 0: no limit.
    [[nodiscard]] int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    [[nodiscard]] int ItemHeight() const;
    void SetItemHeight(int height);
    [[nodiscard]] TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);
    // The edit and the list windows (null for a drop-down list's edit, which it has not).
    [[nodiscard]] HWND EditHandle();
    [[nodiscard]] HWND ListHandle();
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnSelect() const { return m_onSelect; }
    void SetOnSelect(const TNotifyEvent& handler) { m_onSelect = handler; }
    [[nodiscard]] const TNotifyEvent& OnDropDown() const { return m_onDropDown; }
    void SetOnDropDown(const TNotifyEvent& handler) { m_onDropDown = handler; }
    [[nodiscard]] const TNotifyEvent& OnCloseUp() const { return m_onCloseUp; }
    void SetOnCloseUp(const TNotifyEvent& handler) { m_onCloseUp = handler; }
    [[nodiscard]] const TDrawItemEvent& OnDrawItem() const { return m_onDrawItem; }
    void SetOnDrawItem(const TDrawItemEvent& handler) { m_onDrawItem = handler; }
    [[nodiscard]] const TMeasureItemEvent& OnMeasureItem() const { return m_onMeasureItem; }
    void SetOnMeasureItem(const TMeasureItemEvent& handler) { m_onMeasureItem = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    // An ItemIndex read from form data before the items applies once they are there.
    void Loaded() override;
    virtual void Change() { m_onChange(this); }
    virtual void Select();
    virtual void DropDown() { m_onDropDown(this); }
    virtual void CloseUp() { m_onCloseUp(this); }
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height) { m_onMeasureItem(this, index, height); }

private:
    friend LRESULT classlib_forms::detail::ComboPartProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // A message of the edit or the list: the edit's focus becomes the form's focused control and
    // its keys go to the control's key events first; a right button's release on either is the
    // combo's context menu. True when the message is eaten.
    bool PartMessage(HWND part, UINT message, WPARAM& wParam, LPARAM lParam);
    void Command(WORD code);
    void Recreate();
    [[nodiscard]] bool OwnerDrawn() const { return m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    std::unique_ptr<TItemWindowStrings> m_items;
    std::unique_ptr<TCanvas> m_canvas;
    TBrush m_brush;
    TComboBoxStyle m_style = csDropDown;
    TEditCharCase m_charCase = ecNormal;
    bool m_sorted = false;
    int m_dropDownCount = 8;
    int m_maxLength = 0;
    int m_itemHeight = 16;
    int m_itemIndex = -1;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onSelect;
    TNotifyEvent m_onDropDown;
    TNotifyEvent m_onCloseUp;
    TDrawItemEvent m_onDrawItem;
    TMeasureItemEvent m_onMeasureItem;
};

class TComboBox : public TCustomComboBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};
