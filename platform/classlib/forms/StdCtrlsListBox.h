#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/StdCtrlsListBoxStrings.h"

#include <memory>

// What list and combo boxes tell their owner-draw handlers about an item.
enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;
[[nodiscard]] TOwnerDrawState OwnerDrawStateOf(UINT itemState);

using TDrawItemEvent = TEvent<TWinControl*, int, TRect, TOwnerDrawState>;
using TMeasureItemEvent = TEvent<TWinControl*, int, int&>;
using TLBGetDataEvent = TEvent<TWinControl*, int, std::string&>;

// lbVirtual lists know only Count and ask OnData for each item's text.
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
[[nodiscard]] const TTypeInfo& ListBoxStyleTypeInfo();

// A control on the built-in "ListBox" window class. Selecting an item with the mouse or the keys
// is a Click; a double click is DblClick.
class TCustomListBox : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    [[nodiscard]] TStrings* Items() const { return m_items.get(); }
    void SetItems(TStrings* items);
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);
    // The number of items; a virtual list's count is set here.
    [[nodiscard]] int Count() const;
    void SetCount(int count);
    void Clear();
    [[nodiscard]] bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    [[nodiscard]] TListBoxStyle Style() const { return m_style; }
    void SetStyle(TListBoxStyle style);
    [[nodiscard]] int ItemHeight() const;
    void SetItemHeight(int height);
    [[nodiscard]] bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool integral);
    [[nodiscard]] int TopIndex() const;
    void SetTopIndex(int index);
    // The item under a client point; outside the items -1, or Count when `existing` is false and
    // the point is in the client area below the last item.
    [[nodiscard]] int ItemAtPos(TPoint point, bool existing) const;
    [[nodiscard]] TRect ItemRect(int index) const;
    // The canvas owner-draw handlers paint on (only while they run).
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

    [[nodiscard]] const TDrawItemEvent& OnDrawItem() const { return m_onDrawItem; }
    void SetOnDrawItem(const TDrawItemEvent& handler) { m_onDrawItem = handler; }
    [[nodiscard]] const TMeasureItemEvent& OnMeasureItem() const { return m_onMeasureItem; }
    void SetOnMeasureItem(const TMeasureItemEvent& handler) { m_onMeasureItem = handler; }
    [[nodiscard]] const TLBGetDataEvent& OnData() const { return m_onData; }
    void SetOnData(const TLBGetDataEvent& handler) { m_onData = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    // An ItemIndex read from form data before the items applies once they are there.
    void Loaded() override;
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    // The text of an item: OnData's for a virtual list.
    [[nodiscard]] std::string ItemText(int index) const;

private:
    void DrawItemMessage(const DRAWITEMSTRUCT& draw);
    [[nodiscard]] bool IsVirtual() const { return m_style == lbVirtual || m_style == lbVirtualOwnerDraw; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    std::unique_ptr<TItemWindowStrings> m_items;
    std::unique_ptr<TCanvas> m_canvas;
    TBrush m_brush;
    TListBoxStyle m_style = lbStandard;
    bool m_sorted = false;
    bool m_integralHeight = false;
    int m_itemHeight = 16;
    // What applies once the window is made (and is kept while it is remade).
    int m_itemIndex = -1;
    int m_topIndex = 0;
    int m_count = 0;
    TDrawItemEvent m_onDrawItem;
    TMeasureItemEvent m_onMeasureItem;
    TLBGetDataEvent m_onData;
};

class TListBox : public TCustomListBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

namespace classlib_forms::detail {
// Owner-drawn items come to the control as CN_DRAWITEM: the canvas is put on the item's DC with
// the control's font and the highlight colours of a selected item, `draw` paints, and a focused
// item gets its focus rectangle.
void PaintOwnerDrawnItem(TCanvas& canvas, const TControl& control, const DRAWITEMSTRUCT& item,
                         const std::function<void(int, TRect, TOwnerDrawState)>& draw);
// The answer to a WM_CTLCOLOR* question about the control: its font colour and Color on `dc`,
// and `brush` (kept by the control) in Color.
[[nodiscard]] LRESULT ControlColors(const TControl& control, TBrush& brush, HDC dc);
} // namespace classlib_forms::detail
