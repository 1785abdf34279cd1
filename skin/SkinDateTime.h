#pragma once

#include "platform/classlib/forms/Controls.h"
#include "skin/SkinHook.h"

#include <memory>

class TSkinDateTime;

// A small button from the skin's combo arrow picture, laid over a date-time picker's own drop-down
// button. Its clicks go on to the picker as clicks on the button beneath.
class TArrowButton : public TCustomControl {
public:
    explicit TArrowButton(TComponent* owner);

    // Becomes a child window of the picker, over its button (at the left for a right-to-left
    // picker with its scroll bar at the left).
    void LayOver(TSkinDateTime& skinner, TControl& picker);
    [[nodiscard]] bool Hot() const { return (m_state & 1) != 0; }

protected:
    void Dispatch(TMessage& message) override;
    void Paint() override;

private:
    [[nodiscard]] bool PickerEnabled() const;

    int m_arrowSize;
    TControl* m_picker = nullptr;
    TSkinDateTime* m_skinner = nullptr;
    HWND m_pickerWindow = nullptr;
    // Bit 0: the mouse is over the button.
    unsigned char m_state = 0;
};

// Gives a date-time picker a flat two-colour border and the skin's drop-down button.
class TSkinDateTime : public TSkinHook {
public:
    TSkinDateTime();
    ~TSkinDateTime() override;

    [[nodiscard]] TArrowButton* Button() const { return m_button.get(); }
    [[nodiscard]] TSkinData* Data() const { return m_data; }

protected:
    void ControlAttached() override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    std::unique_ptr<TArrowButton> m_button;
};
