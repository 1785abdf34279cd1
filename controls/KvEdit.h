#pragma once

#include "controls/KvCommon.h"
#include "controls/KvFrameController.h"
#include "platform/classlib/forms/ButtonsBitBtnGlyph.h"
#include "platform/classlib/forms/Mask.h"

#include <memory>
#include <string>

// Called with an empty message when the mask refuses the text; a message the handler leaves
// becomes the error raised instead of the mask's own.
using TKvInvalidInputEvent = TEvent<TObject*, std::string&>;

// The single-line edit of the control library: a masked edit whose colour follows its state
// (normal, focused, disabled, read-only), with a frame of its own painted in the non-client area
// that can light up while the mouse is over the control or it has the focus, and Enter moving
// on to the next control when asked.
//
// An optional drop button sits in the non-client area at the right; a click on it, Alt+Down or
// F4 fire OnDropOpen and then OnDropClose.
//
// Typing is filtered by KeyPress (and OnKeyPress); pasting (Ctrl+V, Shift+Insert, WM_PASTE)
// goes through the same filter character by character, so what lands in the edit is what typing
// would have let through.
//
// A frame controller sets the edit's colours and frame through its published properties.
class TKvCustomEdit : public TCustomMaskEdit {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomEdit(TComponent* owner);
    ~TKvCustomEdit() override;

    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    virtual void SetAlignment(TAlignment alignment);
    [[nodiscard]] bool TabOnEnter() const { return m_tabOnEnter; }
    void SetTabOnEnter(bool tabOnEnter) { m_tabOnEnter = tabOnEnter; }

    [[nodiscard]] TColor DisabledColor() const { return m_disabledColor; }
    virtual void SetDisabledColor(TColor color);
    [[nodiscard]] TColor FocusColor() const { return m_focusColor; }
    virtual void SetFocusColor(TColor color);
    [[nodiscard]] TColor ReadOnlyColor() const { return m_readOnlyColor; }
    virtual void SetReadOnlyColor(TColor color);
    [[nodiscard]] bool ReadOnlyColorOnFocus() const { return m_readOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool onFocus);

    [[nodiscard]] TColor FrameColor() const { return m_frameColor; }
    virtual void SetFrameColor(TColor color);
    [[nodiscard]] TColor FrameHotColor() const { return m_frameHotColor; }
    virtual void SetFrameHotColor(TColor color);
    [[nodiscard]] bool FrameHotTrack() const { return m_frameHotTrack; }
    virtual void SetFrameHotTrack(bool hotTrack);
    [[nodiscard]] TFrameStyle FrameHotStyle() const { return m_frameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle style);
    [[nodiscard]] TSides FrameSides() const { return m_frameSides; }
    virtual void SetFrameSides(TSides sides);
    [[nodiscard]] TFrameStyle FrameStyle() const { return m_frameStyle; }
    virtual void SetFrameStyle(TFrameStyle style);
    [[nodiscard]] bool FrameVisible() const { return m_frameVisible; }
    virtual void SetFrameVisible(bool visible);
    [[nodiscard]] TFramingPreference FramingPreference() const { return m_framingPreference; }
    virtual void SetFramingPreference(TFramingPreference preference);

    [[nodiscard]] bool DropButtonVisible() const { return m_dropButtonVisible; }
    virtual void SetDropButtonVisible(bool visible);
    [[nodiscard]] TButtonState DropButtonState() const { return m_dropButtonState; }
    virtual void SetDropButtonState(TButtonState state);
    [[nodiscard]] bool FlatButtons() const { return m_flatButtons; }
    virtual void SetFlatButtons(bool flat);
    [[nodiscard]] TColor FlatButtonColor() const { return m_flatButtonColor; }
    void SetFlatButtonColor(TColor color) { m_flatButtonColor = color; }

    [[nodiscard]] virtual bool IsReadOnly() const { return ReadOnly(); }
    // Hides the edit's own setter so that the colours follow.
    void SetReadOnly(bool readOnly);

    // The frame is drawn hot: hot tracking is on and the mouse is over the control or it has the
    // focus.
    [[nodiscard]] bool FrameIsHot() const { return m_frameHotTrack && (m_focusedIn || m_mouseOver); }

    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }
    [[nodiscard]] const TNotifyEvent& OnDropOpen() const { return m_onDropOpen; }
    void SetOnDropOpen(const TNotifyEvent& handler) { m_onDropOpen = handler; }
    [[nodiscard]] const TNotifyEvent& OnDropClose() const { return m_onDropClose; }
    void SetOnDropClose(const TNotifyEvent& handler) { m_onDropClose = handler; }
    [[nodiscard]] const TKvInvalidInputEvent& OnInvalidInput() const { return m_onInvalidInput; }
    void SetOnInvalidInput(const TKvInvalidInputEvent& handler) { m_onInvalidInput = handler; }

    [[nodiscard]] TKvFrameController* FrameController() const { return m_frameController.Controller(); }
    virtual void SetFrameController(TKvFrameController* controller);
    [[nodiscard]] TKvFrameControllerNotifications FrameControllerNotifications() const { return m_notifications; }
    void SetFrameControllerNotifications(TKvFrameControllerNotifications notifications)
    {
        m_notifications = notifications;
    }

    // Stored-when rules of the published properties. What the frame controller supplies (it is
    // assigned and the setting's notification is set) is the controller's to store.
    [[nodiscard]] bool IsColorStored() const;
    [[nodiscard]] bool IsFocusColorStored() const;
    template <TKvFrameControllerProperty setting>
    [[nodiscard]] bool IsStoredUnlessSupplied() const
    {
        return !SuppliedByController(setting);
    }
    [[nodiscard]] bool SuppliedByController(TKvFrameControllerProperty setting) const
    {
        return FrameController() && m_notifications.Contains(setting);
    }

protected:
    // Sets Color from the state: disabled, focused, read-only or normal.
    virtual void UpdateColors();
    // The mouse (byMouse) or the focus came in or went out.
    virtual void UpdateFrame(bool byMouse, bool inside);
    virtual void RefreshFrame();
    virtual void DoReadOnlyOn() {}
    virtual void DoReadOnlyOff() {}
    virtual void ReadOnlyChanged();
    virtual void DrawDropButton(const TRect& rect);
    virtual void DoDropOpen() { m_onDropOpen(this); }
    virtual void DoDropClose() { m_onDropClose(this); }
    // The theme service reports themes off here, so the frame is always the control's own.
    [[nodiscard]] virtual bool UsingXPThemes() const { return false; }

    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    [[noreturn]] void ValidateError() override;
    void DefineProperties(TFiler& filer) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void TrackColor();
    [[nodiscard]] TRect WindowInClient();
    void PaintNonClient();
    // Repaints the non-client area.
    void RepaintFrame();
    // The colour the state gives: what UpdateColors shows.
    [[nodiscard]] TColor StateColor() const;
    // The drop button's place in window coordinates.
    [[nodiscard]] TRect DropButtonRect() const;
    [[nodiscard]] bool DropButtonMessage(TMessage& message);
    // On the frame's canvas, which holds dc.
    void PaintDropButton(HDC dc);
    void NarrowClientArea(TMessage& message) const;
    // CM_MOUSEENTER / CM_MOUSELEAVE: OnMouseEnter or OnMouseLeave, then the hot frame.
    void MouseEnterLeave(TMessage& message, bool entering);
    void HitTestDropButton(TMessage& message);
    void DropDown(bool byMouse);
    void EndDrop();
    // The clipboard's text as typing would have let it in.
    void PasteTyped();
    [[nodiscard]] std::string TypedText(const std::string& text);

    TAlignment m_alignment = taLeftJustify;
    bool m_tabOnEnter = false;
    TColor m_disabledColor = clBtnFace;
    TColor m_focusColor = clWindow;
    TColor m_readOnlyColor = clInfoBk;
    bool m_readOnlyColorOnFocus = false;
    // The colour shown enabled, unfocused and not read-only: the Color the user set.
    TColor m_normalColor = clWindow;
    TColor m_frameColor = clBtnShadow;
    TColor m_frameHotColor = clBtnShadow;
    bool m_frameHotTrack = false;
    TFrameStyle m_frameHotStyle = fsFlatBold;
    TSides m_frameSides = AllSides;
    TFrameStyle m_frameStyle = fsFlat;
    bool m_frameVisible = false;
    TFramingPreference m_framingPreference = fpXPThemes;
    bool m_dropButtonVisible = false;
    TButtonState m_dropButtonState = bsUp;
    bool m_mouseOverButton = false;
    bool m_droppedDown = false;
    bool m_flatButtons = false;
    TColor m_flatButtonColor = clBtnFace;
    bool m_focusedIn = false;
    bool m_mouseOver = false;
    // Set while the control changes Color itself, so that the change is not taken as the user's.
    bool m_updatingColor = false;
    std::unique_ptr<TCanvas> m_frameCanvas;
    TKvFrameControllerLink m_frameController{*this};
    TKvFrameControllerNotifications m_notifications = AllFrameControllerNotifications;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
    TNotifyEvent m_onDropOpen;
    TNotifyEvent m_onDropClose;
    TKvInvalidInputEvent m_onInvalidInput;
};

class TKvEdit : public TKvCustomEdit {
    CLASSLIB_DECLARE_CLASS;
    using TKvCustomEdit::TKvCustomEdit;

    // Never stored; does nothing at run time.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}
};

void RegisterKvEditClasses();
