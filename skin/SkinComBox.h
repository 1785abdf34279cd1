#pragma once

#include "skin/SkinHook.h"

#include <memory>

// The picture frame of a skinned combo box: pressed 2, then focused or hot 4, then disabled 3,
// else 1. The flat style shows the disabled frame only when none of the others applies.
[[nodiscard]] int ComboFrameIndex(bool enabled, bool focused, int mouseState, bool flat);

// Paints a combo box's border and drop-down button from the skin's combo pictures and follows
// hover and press of the button. It hooks the combo's inner edit to see its clicks, and skins
// the drop-down list's scroll bar (drop-down combos) or the list's scroll bars (simple combos).
// After the combo's window is recreated the new inner windows are taken over at the next paint.
class TSkinComBox : public TSkinHook {
public:
    TSkinComBox();
    ~TSkinComBox() override;

    void AttachWindow(TWinSkinForm& form, HWND window) override;
    void Detach() override;

    // The skinner of the drop-down list or of a simple combo's list, when there is one.
    [[nodiscard]] TSkinControl* ListSkinner() const { return m_listSkinner.get(); }
    // Where the button was last painted, in window coordinates.
    [[nodiscard]] RECT ButtonRect() const { return m_buttonRect; }

protected:
    void ControlAttached() override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    class TEditHook;

    // Hooks the inner edit and skins the list of the combo's present window, when not yet done.
    void FollowInnerWindows();
    void HookEditWindow();
    // Gives the list its scroll-bar skinner (the old list's is taken off).
    void SkinList(HWND list);
    void ReleaseInnerWindows();
    void EditMessage(UINT msg);
    // A left press or release on the combo or its edit shows the button pressed or up again.
    void FollowPress(UINT msg);
    void PaintSimpleEdge(HDC dc, const RECT& rect);
    void PaintClassic(HDC dc, const RECT& rect, int frame);
    void PaintFlat(HDC dc, const RECT& rect);
    [[nodiscard]] bool LeftButton() const;
    [[nodiscard]] bool DropDownStyle() const;

    LONG m_style = 0;
    LONG m_exStyle = 0;
    HWND m_listWindow = nullptr;
    HWND m_editWindow = nullptr;
    std::unique_ptr<TEditHook> m_editHook;
    std::unique_ptr<TSkinControl> m_listSkinner;
    RECT m_buttonRect{};
};
