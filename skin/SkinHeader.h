#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/gdi/ImageLists.h"
#include "skin/SkinHook.h"
#include "skin/SkinScrolling.h"

#include <vector>

class TDataSkinObject;

// Paints a header control item by item from the skin's Headerbar picture, the item under the
// mouse in its hot frame. The header keeps its own mouse handling, so its columns still size by
// dragging their dividers.
class TSkinHeader : public TSkinHook {
public:
    void AttachControl(TWinSkinForm& form, TControl& control, int boxFlag) override;
    void AttachWindow(TWinSkinForm& form, HWND window) override;

    // The item under the mouse, -1 for none.
    [[nodiscard]] int HotItem() const { return m_hot; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] TDataSkinObject* Headerbar() const;
    // Frame `frame` of the Headerbar picture at `rect` of `dc`.
    void DrawBar(HDC dc, const RECT& rect, int frame) const;
    void DrawItem(int index, const RECT& rect, HIMAGELIST images, HFONT font);

    // Where each item lies, 3 pixels in from either side, at the last paint.
    std::vector<RECT> m_items;
    int m_hot = -1;
    TBitmap m_buffer;
    TBitmap m_item;
};

// A list view's scroll bars, and its header by a header skinner of its own. The header skinner is
// listed with (and owned by) the form skinner; a list view whose window is made again gets one
// for its new header.
class TSkinListView : public TSkinScrollbar {
public:
    // The skinner of the list view's current header, or null.
    [[nodiscard]] TSkinHeader* Header() const;

protected:
    void ControlAttached() override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    void SkinHeader();
};
