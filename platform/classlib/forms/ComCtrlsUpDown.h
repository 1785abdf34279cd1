#pragma once

#include "platform/classlib/forms/Controls.h"

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

[[nodiscard]] const TTypeInfo& UDAlignButtonTypeInfo();
[[nodiscard]] const TTypeInfo& UDOrientationTypeInfo();

using TUDClickEvent = TEvent<TObject*, TUDBtnType>;
// Asked before each step; setting the flag false keeps the position.
using TUDChangingEvent = TEvent<TObject*, bool&>;

// The class library's up-down over an "msctls_updown32" window; with an Associate it sits beside
// that control and keeps the position in its text.
class TUpDown : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TUpDown(TComponent* owner);

    [[nodiscard]] TWinControl* Associate() const { return m_associate; }
    void SetAssociate(TWinControl* value);
    [[nodiscard]] int Min() const { return m_min; }
    void SetMin(int value);
    [[nodiscard]] int Max() const { return m_max; }
    void SetMax(int value);
    // Read back from the window, which takes a number typed into the associate.
    [[nodiscard]] int Position() const;
    void SetPosition(int value);
    [[nodiscard]] int Increment() const { return m_increment; }
    void SetIncrement(int value);
    [[nodiscard]] bool Wrap() const { return m_wrap; }
    void SetWrap(bool value) { SetStyleFlag(m_wrap, value); }
    [[nodiscard]] bool ArrowKeys() const { return m_arrowKeys; }
    void SetArrowKeys(bool value) { SetStyleFlag(m_arrowKeys, value); }
    [[nodiscard]] bool Thousands() const { return m_thousands; }
    void SetThousands(bool value) { SetStyleFlag(m_thousands, value); }
    [[nodiscard]] TUDOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TUDOrientation value);
    [[nodiscard]] TUDAlignButton AlignButton() const { return m_alignButton; }
    void SetAlignButton(TUDAlignButton value);

    [[nodiscard]] const TUDClickEvent& OnClick() const { return m_onClick; }
    void SetOnClick(const TUDClickEvent& handler) { m_onClick = handler; }
    [[nodiscard]] const TUDChangingEvent& OnChanging() const { return m_onChanging; }
    void SetOnChanging(const TUDChangingEvent& handler) { m_onChanging = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    [[nodiscard]] virtual bool CanChange();
    using TWinControl::Click;
    virtual void Click(TUDBtnType button);

private:
    void SetStyleFlag(bool& flag, bool value);
    void AttachAssociate();
    void SendRange();

    TWinControl* m_associate = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_increment = 1;
    bool m_wrap = false;
    bool m_arrowKeys = true;
    bool m_thousands = true;
    TUDOrientation m_orientation = udVertical;
    TUDAlignButton m_alignButton = udRight;
    TUDClickEvent m_onClick;
    TUDChangingEvent m_onChanging;
};
