#pragma once

#include "controls/KvCommon.h"
#include "platform/classlib/forms/ActnList.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ImgList.h"

#include <memory>
#include <string>

// The owner-drawn push buttons of the control library: the base every button and the check box
// share (press and hot tracking, 3-D caption styles, transparency), the push button with default,
// cancel, modal result and toggle groups, and the bit button with its glyph and stock kinds.
//
// The visual-styles theme service is never in force here (there is none), so ThemeAware is kept
// and stored but the themed looks never show.

// Broadcast to the controls of a grouped button's parent when it goes down or its group's
// settings change: wParam the GroupIndex, lParam the sending button.
constexpr UINT KV_BUTTON_GROUP_MESSAGE = WM_USER + 8225;

class TKvButtonActionLink;

class TKvCustomButton : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomButton(TComponent* owner);
    ~TKvCustomButton() override;

    // A button with an action takes its state from it (see TKvButtonActionLink); a click without
    // a handler of its own runs the action.
    [[nodiscard]] TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    void Click() override;

    // Published so that form data naming it loads; it is never stored and does nothing.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

    [[nodiscard]] TAlignmentVertical AlignmentVertical() const { return m_alignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical value);
    [[nodiscard]] bool HotTrack() const { return m_hotTrack; }
    virtual void SetHotTrack(bool value);
    [[nodiscard]] TColor HighlightColor() const { return m_highlightColor; }
    virtual void SetHighlightColor(TColor value);
    [[nodiscard]] TColor HotTrackColor() const { return m_hotTrackColor; }
    void SetHotTrackColor(TColor value) { m_hotTrackColor = value; }
    [[nodiscard]] TKvHotTrackColorType HotTrackColorType() const { return m_hotTrackColorType; }
    void SetHotTrackColorType(TKvHotTrackColorType value) { m_hotTrackColorType = value; }
    [[nodiscard]] bool LightTextStyle() const { return m_lightTextStyle; }
    virtual void SetLightTextStyle(bool value);
    [[nodiscard]] TTextStyle TextStyle() const { return m_textStyle; }
    virtual void SetTextStyle(TTextStyle value);
    [[nodiscard]] TColor TextHighlightColor() const { return m_textHighlightColor; }
    virtual void SetTextHighlightColor(TColor value);
    [[nodiscard]] TColor TextShadowColor() const { return m_textShadowColor; }
    virtual void SetTextShadowColor(TColor value);
    [[nodiscard]] int TextShadowDepth() const { return m_textShadowDepth; }
    virtual void SetTextShadowDepth(int value);
    [[nodiscard]] bool ThemeAware() const { return m_themeAware; }
    virtual void SetThemeAware(bool value);
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool value);

    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }

    // The two colours of the hot highlight: HotTrackColor and a light blend of it, or its
    // complement and a darker shade of that.
    [[nodiscard]] TColor HotDarkColor() const;
    [[nodiscard]] TColor HotLightColor() const;

protected:
    virtual void EraseTransparent(HDC /*dc*/) {}
    virtual void UpdateDisplay() {}
    virtual void FocusStateChanged() { Repaint(); }
    virtual void GetHotTrackRect(TRect& rect) { rect = ClientRect(); }
    // Draws the caption in `rect`, placed by AlignmentVertical, in the text style.
    virtual void DrawCaption(TCanvas& canvas, TRect rect, UINT flags);
    virtual void ButtonClicked() = 0;
    // Takes the action's state: all of it, or with `checkDefaults` only where the button still
    // has its default value.
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
    [[nodiscard]] virtual std::unique_ptr<TKvButtonActionLink> CreateActionLink();
    [[nodiscard]] TKvButtonActionLink* ActionLink() const { return m_actionLink.get(); }

    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    [[nodiscard]] bool MouseOver() const { return m_mouseOver; }
    // HotTrack without its setter's repaint and its other effects.
    void StoreHotTrack(bool value) { m_hotTrack = value; }
    [[nodiscard]] bool PressedDisplay() const { return m_pressedDisplay; }
    void SetPressedDisplay(bool value) { m_pressedDisplay = value; }
    // The caption's height as DrawCaption measures it in `rect`.
    [[nodiscard]] int CaptionHeight(TCanvas& canvas, const TRect& rect);

private:
    void MouseEnterLeave(TMessage& message, bool entering);
    void RepaintHotTrackRect();

    TAlignmentVertical m_alignmentVertical = avCenter;
    bool m_hotTrack = false;
    TColor m_highlightColor = clHighlight;
    TColor m_hotTrackColor = static_cast<TColor>(0x149BF0);
    TKvHotTrackColorType m_hotTrackColorType = htctActual;
    bool m_lightTextStyle = false;
    TTextStyle m_textStyle = tsNormal;
    TColor m_textHighlightColor = clBtnHighlight;
    TColor m_textShadowColor = clBtnShadow;
    int m_textShadowDepth = 2;
    bool m_themeAware = true;
    bool m_transparent = false;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
    bool m_mouseOver = false;
    bool m_dragging = false;
    bool m_pressedDisplay = false;
    std::unique_ptr<TKvButtonActionLink> m_actionLink;
};

// The link of a library button to its action: the button follows the action's enabled state,
// hint and visibility while its own values still equal the action's.
class TKvButtonActionLink : public TClientActionLink<TKvCustomButton> {
    CLASSLIB_DECLARE_CLASS;

    using TClientActionLink::TClientActionLink;
};

// A push button. Enter clicks the focused button, or the Default one while the focus is on a
// control that is not a button; Escape clicks a Cancel button; a click hands ModalResult to the
// form. Buttons of one parent with the same GroupIndex toggle: one of them is Down at a time.
class TKvButton : public TKvCustomButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvButton(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    virtual void SetAlignment(TAlignment value);
    [[nodiscard]] bool AllowAllUp() const { return m_allowAllUp; }
    virtual void SetAllowAllUp(bool value);
    [[nodiscard]] bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    [[nodiscard]] bool Default() const { return m_default; }
    virtual void SetDefault(bool value);
    [[nodiscard]] bool DropDownOnEnter() const { return m_dropDownOnEnter; }
    void SetDropDownOnEnter(bool value) { m_dropDownOnEnter = value; }
    [[nodiscard]] int GroupIndex() const { return m_groupIndex; }
    virtual void SetGroupIndex(int value);
    [[nodiscard]] bool Down() const { return m_down; }
    virtual void SetDown(bool value);
    [[nodiscard]] TColor FrameColor() const { return m_frameColor; }
    virtual void SetFrameColor(TColor value);
    [[nodiscard]] TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    [[nodiscard]] bool ShowDownPattern() const { return m_showDownPattern; }
    virtual void SetShowDownPattern(bool value);
    [[nodiscard]] bool ShowFocusRect() const { return m_showFocusRect; }
    virtual void SetShowFocusRect(bool value);

    void SetHotTrack(bool value) override;
    void Click() override;

protected:
    virtual void GetCaptionRect(TRect& rect);
    virtual void PaintCaption();
    virtual void BuildDownPattern(TBitmap& bitmap);

    void EraseTransparent(HDC dc) override;
    void UpdateDisplay() override { Invalidate(); }
    void ButtonClicked() override;
    void CreateWnd() override;
    void DefineProperties(TFiler& filer) override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;

    // Whether Enter clicks this button now.
    [[nodiscard]] bool Active() const { return m_active; }
    // Up, or exclusive while Down.
    [[nodiscard]] TButtonState State() const { return m_down ? bsExclusive : bsUp; }
    // Set while an Enter or Escape click runs on a button that must not drop anything down.
    [[nodiscard]] bool NoDropDown() const { return m_noDropDown; }
    // Drawn pushed in: held down in its group, or pressed by the mouse or Space.
    [[nodiscard]] bool ShownDown() const;

private:
    void BroadcastGroup();
    void GroupMessage(const TMessage& message);
    void FocusChanged(const TMessage& message);
    [[nodiscard]] bool DialogKey(TMessage& message);
    void PaintHotTrackFace(TCanvas& canvas, TRect& rect);
    void PaintHotTrackDisabled(TCanvas& canvas, TRect& rect);
    void PaintClassic(TCanvas& canvas, TRect& rect);
    void PaintFaceFill(TCanvas& canvas, const TRect& rect);
    void PaintDownPattern(TCanvas& canvas, const TRect& rect);
    [[nodiscard]] bool ShowsActiveHighlight() const;

    TAlignment m_alignment = taCenter;
    bool m_allowAllUp = false;
    bool m_cancel = false;
    bool m_default = false;
    bool m_dropDownOnEnter = true;
    int m_groupIndex = 0;
    bool m_down = false;
    TColor m_frameColor = cl3DDkShadow;
    TModalResult m_modalResult = mrNone;
    bool m_showDownPattern = true;
    bool m_showFocusRect = true;
    bool m_active = false;
    bool m_keyToggle = false;
    bool m_clicking = false;
    bool m_noDropDown = false;
};

// A push button with a picture beside its caption: a cell of Glyph (normal, disabled, pressed,
// down) or an image of Images. A stock Kind sets the caption, glyph, Default or Cancel and the
// modal result; changing any of those (or the glyph) afterwards makes the button bkCustom again.
class TKvBitBtn : public TKvButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvBitBtn(TComponent* owner);
    ~TKvBitBtn() override;

    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.get(); }
    virtual void SetGlyph(TBitmap* value);
    [[nodiscard]] int NumGlyphs() const { return m_numGlyphs; }
    virtual void SetNumGlyphs(int value);
    // Reads bkCustom (and stays so) once Default, Cancel, ModalResult or the glyph no longer
    // match the stock kind.
    [[nodiscard]] TBitBtnKind Kind() const;
    virtual void SetKind(TBitBtnKind value);
    [[nodiscard]] TButtonLayout Layout() const { return m_layout; }
    virtual void SetLayout(TButtonLayout value);
    // -1 centres the glyph and caption together; values below -1 are ignored.
    [[nodiscard]] int Margin() const { return m_margin; }
    virtual void SetMargin(int value);
    [[nodiscard]] int Spacing() const { return m_spacing; }
    virtual void SetSpacing(int value);
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    virtual void SetImageIndex(int value);
    // The image shown while disabled; -1 shows ImageIndex greyed by the list.
    [[nodiscard]] int DisabledIndex() const { return m_disabledIndex; }
    virtual void SetDisabledIndex(int value);
    [[nodiscard]] TCustomImageList* Images() const { return m_images; }
    virtual void SetImages(TCustomImageList* value);

    // Stored-when rules: the stock kinds supply these.
    [[nodiscard]] bool IsCustomKind() const { return Kind() == bkCustom; }
    [[nodiscard]] bool IsCaptionStored() const;

protected:
    [[nodiscard]] virtual SIZE GetGlyphSize() const;
    virtual void GetGlyphRect(TRect& rect);
    virtual void DrawImageListGlyph(const TRect& rect);
    virtual void DrawBitmapGlyph(const TRect& rect);

    void GetCaptionRect(TRect& rect) override;
    void PaintCaption() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The action's image too, unless the button already shows one of its own.
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;

private:
    void GlyphChanged(TObject*);
    void ImageListChanged(TObject* sender);
    [[nodiscard]] bool HasImageListImage() const { return m_images && m_imageIndex != -1; }
    [[nodiscard]] int CenteredCaptionHeight();
    [[nodiscard]] int GlyphCell() const;

    std::unique_ptr<TBitmap> m_glyph;
    int m_numGlyphs = 1;
    mutable TBitBtnKind m_kind = bkCustom;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = 2;
    int m_spacing = 4;
    TCustomImageList* m_images = nullptr;
    int m_imageIndex = -1;
    int m_disabledIndex = -1;
    bool m_glyphModified = false;
    std::unique_ptr<TChangeLink> m_imageChangeLink;
};

// The stock glyph of a kind (null for bkCustom), loaded from the program's bitmap resources
// "KVCOMMON_OK" .. "KVCOMMON_ALL" on first use and kept for the program's life.
[[nodiscard]] TBitmap* KvStockGlyph(TBitBtnKind kind);

// Makes the buttons known to form data.
void RegisterKvButtonClasses();

namespace controls::detail {

// Calls the function with `flag` (a member of `control`) set, clearing it afterwards also when the
// function throws, unless the function freed the control.
template <class F>
void WithFlag(TControl& control, bool& flag, F&& function)
{
    const TControlLife life(control);
    flag = true;
    try {
        function();
    } catch (...) {
        if (life.Stands())
            flag = false;
        throw;
    }
    if (life.Stands())
        flag = false;
}

} // namespace controls::detail
