#include "platform/classlib/forms/ComCtrlsUpDown.h"

#include "platform/winapi/controls/UpDown.h"

#include <algorithm>
#include <utility>

namespace {

void DescribeUpDown(TClassBuilder& c)
{
    c.Enum("AlignButton", UDAlignButtonTypeInfo(), &TUpDown::AlignButton, &TUpDown::SetAlignButton).Default(udRight);
    c.Object("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
    c.Boolean("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys).Default(true);
    c.Integer("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0);
    c.Integer("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100);
    c.Integer("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1);
    c.Enum("Orientation", UDOrientationTypeInfo(), &TUpDown::Orientation, &TUpDown::SetOrientation)
        .Default(udVertical);
    c.Integer("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0);
    c.Boolean("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true);
    c.Boolean("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false);
    c.Event("OnChanging", &TUpDown::OnChanging, &TUpDown::SetOnChanging);
    c.Event("OnClick", &TUpDown::OnClick, &TUpDown::SetOnClick);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TUpDown, TWinControl, ComponentCreator<TUpDown>, DescribeUpDown)

const TTypeInfo& UDAlignButtonTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TUDAlignButton", {"udLeft", "udRight"});
    return info;
}

const TTypeInfo& UDOrientationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TUDOrientation", {"udHorizontal", "udVertical"});
    return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL) * 2);
}

void TUpDown::SetAssociate(TWinControl* value)
{
    if (value == m_associate)
        return;
    if (m_associate != nullptr)
        m_associate->RemoveFreeNotification(this);
    m_associate = value;
    if (m_associate != nullptr)
        m_associate->FreeNotification(this);
    if (HandleAllocated())
        AttachAssociate();
}

void TUpDown::AttachAssociate()
{
    const HWND buddy = m_associate != nullptr && m_associate->Parent() != nullptr ? m_associate->Handle() : nullptr;
    (void)SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    if (buddy != nullptr) {
        // The window moved itself beside its buddy; the controls learn their new places.
        RECT own{};
        (void)GetWindowRect(Handle(), &own);
        (void)MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&own), 2);
        SetBounds(own.left, own.top, own.right - own.left, own.bottom - own.top);
        RECT other{};
        (void)GetWindowRect(buddy, &other);
        (void)MapWindowPoints(nullptr, GetParent(buddy), reinterpret_cast<POINT*>(&other), 2);
        m_associate->SetBounds(other.left, other.top, other.right - other.left, other.bottom - other.top);
    }
}

void TUpDown::SendRange()
{
    m_position = std::clamp(m_position, std::min(m_min, m_max), std::max(m_min, m_max));
    if (!HandleAllocated())
        return;
    (void)SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
    (void)SendMessageA(Handle(), UDM_SETPOS32, 0, m_position);
}

void TUpDown::SetMin(int value)
{
    m_min = value;
    SendRange();
}

void TUpDown::SetMax(int value)
{
    m_max = value;
    SendRange();
}

int TUpDown::Position() const
{
    // The window is there already, so asking for its handle makes nothing.
    return HandleAllocated()
               ? static_cast<int>(SendMessageA(const_cast<TUpDown*>(this)->Handle(), UDM_GETPOS32, 0, 0))
               : m_position;
}

void TUpDown::SetPosition(int value)
{
    m_position = value;
    SendRange();
}

void TUpDown::SetIncrement(int value)
{
    m_increment = value;
    if (!HandleAllocated())
        return;
    UDACCEL accel{0, static_cast<UINT>(std::max(1, value))};
    (void)SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetStyleFlag(bool& flag, bool value)
{
    flag = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    m_orientation = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton value)
{
    m_alignButton = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::CreateParams(TCreateParams& params)
{
    RegisterUpDownClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASSA);
    params.Style |= UDS_SETBUDDYINT | (m_alignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT) |
                    (m_orientation == udHorizontal ? UDS_HORZ : 0U) | (m_arrowKeys ? UDS_ARROWKEYS : 0U) |
                    (m_wrap ? UDS_WRAP : 0U) | (m_thousands ? 0U : UDS_NOTHOUSANDS);
}

void TUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    SendRange();
    SetIncrement(m_increment);
    if (m_associate != nullptr)
        AttachAssociate();
}

void TUpDown::Dispatch(TMessage& message)
{
    if (message.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(message.LParam)->code == UDN_DELTAPOS) {
        message.Result = CanChange() ? 0 : 1;
        return;
    }
    if ((message.Msg == CN_VSCROLL || message.Msg == CN_HSCROLL) && LOWORD(message.WParam) == SB_THUMBPOSITION) {
        const int previous = std::exchange(m_position, Position());
        if (m_position != previous)
            Click(m_position > previous ? btNext : btPrev);
        return;
    }
    TWinControl::Dispatch(message);
}

void TUpDown::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == m_associate)
        m_associate = nullptr;
}

bool TUpDown::CanChange()
{
    bool allow = true;
    m_onChanging(this, allow);
    return allow;
}

void TUpDown::Click(TUDBtnType button) { m_onClick(this, button); }
