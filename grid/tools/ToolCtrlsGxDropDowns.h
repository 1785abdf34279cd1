#pragma once

#include "grid/core/MRUListGx.h"
#include "grid/tools/ToolCtrlsGx.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"

#include <memory>
#include <string>

// The lists an editor drops down under itself and the size grip that lets the user resize them.

// Sender, var Accept.
using TAcceptEventGx = TEvent<TObject*, bool&>;

enum TSizeGripCorner { sgcTopLeft = 0, sgcTopRight = 1, sgcBottomRight = 2, sgcBottomLeft = 3 };

// The corner of a drop-down by which the user drags its size. It sits in the corner that faces
// away from the editor and grows its parent towards the pointer, within the work area.
class TSizeGripGx : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TSizeGripGx(TComponent* owner);

    [[nodiscard]] TSizeGripCorner Corner() const { return m_corner; }
    void SetCorner(TSizeGripCorner corner);
    // Moves the grip to a side of its parent (a TDropDownSide), keeping the other coordinate.
    void MoveToSide(TDropDownSide side);
    [[nodiscard]] bool Triangular() const { return m_triangular; }
    void SetTriangular(bool triangular);
    void ShowGrip(bool show);
    // Places the grip in its corner of the parent's client area.
    void PlaceInParent();
    void SetOnParentSized(const TNotifyEvent& handler) { m_onParentSized = handler; }

protected:
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void ApplyRegion();
    void DragTo(TPoint screen);

    TSizeGripCorner m_corner = sgcBottomRight;
    bool m_triangular = true;
    bool m_dragging = false;
    TPoint m_downPoint{};
    TRect m_downBounds{};
    int m_downClientWidth = 0;
    int m_downClientHeight = 0;
    TNotifyEvent m_onParentSized;
};

class TCustomImageList;

// Sender (the list's owner), item index, var image index.
using TGetItemImageIndexEventGx = TEvent<TObject*, int, int&>;

// A list that drops down under an editor: a top-level tool window that never takes the
// activation, draws its selection as focused, selects the item under the hovering pointer,
// searches the items as the user types, scrolls by the wheel and keeps whole rows.
class TPopupListboxGx : public TCustomListBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TPopupListboxGx(TComponent* owner);

    // Height for n rows (at least one).
    void FitRowCount(int rows);
    [[nodiscard]] int VisibleRows() const { return m_visibleRows; }
    [[nodiscard]] TSizeGripGx* Grip() const { return m_grip; }
    [[nodiscard]] bool GripResized() const { return m_gripResized; }
    void SetGripResized(bool resized) { m_gripResized = resized; }
    [[nodiscard]] const std::string& TypedPrefix() const { return m_typedPrefix; }
    [[nodiscard]] int FrameHeight() const;
    void SetBounds(int left, int top, int width, int height) override;
    // The line height of a control's font.
    [[nodiscard]] static int FontLineHeight(TControl& control);
    // With images each item shows one in a column at its left: the item's own index, unless
    // OnGetItemImageIndex (whose sender is the list's owner) chooses another; -1 shows none.
    [[nodiscard]] TCustomImageList* Images() const { return m_images; }
    void SetImages(TCustomImageList* images);
    void SetOnGetItemImageIndex(const TGetItemImageIndexEventGx& handler) { m_onGetItemImageIndex = handler; }
    // Items shown where they are kept, without copying them (a virtual list of their count at the
    // time they are given); null goes back to the list's own items. The caller keeps them alive
    // while they are shown.
    [[nodiscard]] TStrings* ExternalItems() const { return m_externalItems; }
    void SetExternalItems(TStrings* items);

    static constexpr int FrameWidth = 2;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyPress(char& key) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;
    virtual void LayoutChanged() {}
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Search(char key);
    void PaintFrame();
    void DrawImageItem(const DRAWITEMSTRUCT& item);

    TSizeGripGx* m_grip = nullptr;
    std::string m_typedPrefix;
    DWORD m_lastKeyTime = 0;
    TPoint m_lastMouse{-1, -1};
    int m_visibleRows = 1;
    bool m_gripResized = false;
    TCustomImageList* m_images = nullptr;
    TGetItemImageIndexEventGx m_onGetItemImageIndex;
    TStrings* m_externalItems = nullptr;
};

// The drop-down of the recently entered texts: a scroll bar of its own beside the grip.
class TMRUListboxGx : public TPopupListboxGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TMRUListboxGx(TComponent* owner);

    [[nodiscard]] TScrollBar* VertBar() const { return m_bar; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void LayoutChanged() override;

private:
    TScrollBar* m_bar = nullptr;
    bool m_barLock = false;
};

// The calendar an editor drops down under itself. It closes through its owner's IPopupOwnerGx:
// accepting on Enter or a click on a date, not on Esc; the month buttons only page.
class TPopupMonthCalendarGx : public TMonthCalendar {
    CLASSLIB_DECLARE_CLASS;

    explicit TPopupMonthCalendarGx(TComponent* owner);

    // The calendar's least size and its frame.
    void FitSize();

    static constexpr int FrameWidth = 2;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;

private:
    void CloseUp(bool accept);
    void MouseReleased(POINT point);
};
