#pragma once

#include "controls/KvButton.h"
#include "controls/KvFrameController.h"

#include <memory>

// The owner-drawn check controls of the control library: a caption beside a small state glyph,
// painted without flicker through an off-screen bitmap over a cached background.

using TKvButtonHotTrackStyle = THotTrackStyle;

[[nodiscard]] const TTypeInfo& KvButtonHotTrackStyleTypeInfo();

// The glyph is 13 x 13 (the frame-control check box, or the common unit's hot-track one), or a
// cell of CustomGlyphs: a strip of equal cells, whose TransparentColor pixels show the control's
// colour and whose WinMaskColor pixels show clWindow. A frame controller that shows frames turns
// hot tracking on and gives the state colours.
class TKvCustomGlyphButton : public TKvCustomButton, public IKvFrameControllerClient {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomGlyphButton(TComponent* owner);
    ~TKvCustomGlyphButton() override;

    // Which side of the glyph the caption stands: taRightJustify puts it right of the glyph.
    [[nodiscard]] TLeftRight Alignment() const { return m_alignment; }
    virtual void SetAlignment(TLeftRight value);
    [[nodiscard]] virtual bool Checked() const { return false; }
    virtual void SetChecked(bool) {}
    [[nodiscard]] TBitmap* CustomGlyphs() const { return m_customGlyphs.get(); }
    virtual void SetCustomGlyphs(TBitmap* value);
    [[nodiscard]] bool UseCustomGlyphs() const { return m_useCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool value);
    [[nodiscard]] TColor FillColor() const { return m_fillColor; }
    virtual void SetFillColor(TColor value);
    [[nodiscard]] TColor FocusColor() const { return m_focusColor; }
    virtual void SetFocusColor(TColor value);
    [[nodiscard]] TColor FrameColor() const { return m_frameColor; }
    virtual void SetFrameColor(TColor value);
    [[nodiscard]] TColor DisabledColor() const { return m_disabledColor; }
    virtual void SetDisabledColor(TColor value);
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    virtual void SetReadOnly(bool value);
    [[nodiscard]] TColor ReadOnlyColor() const { return m_readOnlyColor; }
    virtual void SetReadOnlyColor(TColor value);
    [[nodiscard]] bool ReadOnlyColorOnFocus() const { return m_readOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool value) { m_readOnlyColorOnFocus = value; }
    [[nodiscard]] TColor TransparentColor() const { return m_transparentColor; }
    virtual void SetTransparentColor(TColor value);
    [[nodiscard]] TColor WinMaskColor() const { return m_winMaskColor; }
    virtual void SetWinMaskColor(TColor value);
    [[nodiscard]] TKvButtonHotTrackStyle HotTrackStyle() const { return m_hotTrackStyle; }
    void SetHotTrackStyle(TKvButtonHotTrackStyle value) { m_hotTrackStyle = value; }
    // Enter moves the focus on as Tab does.
    [[nodiscard]] bool TabOnEnter() const { return m_tabOnEnter; }
    void SetTabOnEnter(bool value) { m_tabOnEnter = value; }

    [[nodiscard]] TKvFrameController* FrameController() const { return m_frameController.Controller(); }
    virtual void SetFrameController(TKvFrameController* controller);
    [[nodiscard]] TKvFrameControllerNotifications FrameControllerNotifications() const { return m_notifications; }
    void SetFrameControllerNotifications(TKvFrameControllerNotifications notifications)
    {
        m_notifications = notifications;
    }
    void FrameControllerChanged() override;
    bool GetInterface(const TGUID& iid, void*& object) override;

    void SetTransparent(bool value) override;
    [[nodiscard]] SIZE GlyphSize() const { return m_glyphSize; }
    // Checked as the action says, without the click a change of state otherwise makes.
    void SetCheckedWithoutClick(bool value);
    // Form data keeps Checked only while no action supplies it.
    [[nodiscard]] bool IsCheckedStored() const;
    void Click() override;
    // Where the glyph stands in the control.
    [[nodiscard]] TRect GlyphRect() const;

protected:
    // Draws the glyph image for the current state into `glyph` (already of the glyph's size).
    virtual void GetGlyph(TBitmap& glyph) = 0;
    // Draws the glyph on `canvas` (the control's own when null).
    virtual void DrawGlyph(TCanvas* canvas);
    // Copies cell `index` of `strip` (cells of `width` pixels) into `dest`.
    virtual void ExtractGlyphCell(int index, TBitmap& dest, int height, int width, TBitmap& strip);

    void EraseTransparent(HDC dc) override;
    void UpdateDisplay() override { Repaint(); }
    void FocusStateChanged() override { Repaint(); }
    void GetHotTrackRect(TRect& rect) override { rect = GlyphRect(); }
    void Paint() override;
    void DefineProperties(TFiler& filer) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The action's checked state too, unless the button is already checked.
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;
    [[nodiscard]] std::unique_ptr<TKvButtonActionLink> CreateActionLink() override;

    // Set while a mouse press is handled.
    [[nodiscard]] bool UsingMouse() const { return m_usingMouse; }
    void SetCustomGlyphCells(int cells) { m_customGlyphCells = cells; }
    // The glyph's state for the hot-track drawing: disabled, pressed, hot or normal.
    [[nodiscard]] TCheckDrawState DrawState() const;

private:
    void CustomGlyphsChanged(TObject*);
    void UpdateGlyphSize();
    void RebuildBackground();
    void PaintFocusBorder(TCanvas& canvas, TRect rect);

    TLeftRight m_alignment = taRightJustify;
    std::unique_ptr<TBitmap> m_customGlyphs;
    bool m_useCustomGlyphs = false;
    TColor m_fillColor = clWindow;
    TColor m_focusColor = clWindow;
    TColor m_frameColor = clBtnShadow;
    TColor m_disabledColor = clBtnFace;
    bool m_readOnly = false;
    TColor m_readOnlyColor = clInfoBk;
    bool m_readOnlyColorOnFocus = false;
    TColor m_transparentColor = clOlive;
    TColor m_winMaskColor = clLime;
    TKvButtonHotTrackStyle m_hotTrackStyle = htsInterior;
    bool m_tabOnEnter = false;
    TKvFrameControllerLink m_frameController{*this};
    TKvFrameControllerNotifications m_notifications = AllFrameControllerNotifications;
    SIZE m_glyphSize{13, 13};
    int m_customGlyphCells = 2;
    std::unique_ptr<TBitmap> m_background;
    bool m_rebuildBackground = true;
    bool m_usingMouse = false;
    bool m_clicksDisabled = false;
};

// A glyph button's link to its action: Checked follows the action's as well.
class TKvCheckedActionLink : public TKvButtonActionLink {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCheckedActionLink(TKvCustomGlyphButton& client) : TKvButtonActionLink(client), m_glyphButton(client) {}

    [[nodiscard]] bool IsCheckedLinked() const override;
    void SetChecked(bool value) override;

private:
    TKvCustomGlyphButton& m_glyphButton;
};

// A check box: unchecked, checked, and with AllowGrayed grayed between them. Setting State from
// code fires OnClick. A ReadOnly box ignores the mouse and the keyboard; its accelerator still
// focuses it.
class TKvCustomCheckBox : public TKvCustomGlyphButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomCheckBox(TComponent* owner);

    [[nodiscard]] TCheckBoxState State() const { return m_state; }
    virtual void SetState(TCheckBoxState value);
    [[nodiscard]] bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool value) { m_allowGrayed = value; }
    [[nodiscard]] bool Checked() const override { return m_state == cbChecked; }
    void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }

protected:
    void ButtonClicked() override;
    void GetGlyph(TBitmap& glyph) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DoExit() override;
    void Dispatch(TMessage& message) override;

private:
    void DrawFrameControlGlyph(TBitmap& glyph);
    [[nodiscard]] int CustomGlyphCell() const;

    TCheckBoxState m_state = cbUnchecked;
    bool m_allowGrayed = false;
    bool m_keyToggle = false;
};

class TKvCheckBox : public TKvCustomCheckBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCheckBox(TComponent* owner) : TKvCustomCheckBox(owner) {}
};

// Makes the check box known to form data.
void RegisterKvRadChkClasses();
