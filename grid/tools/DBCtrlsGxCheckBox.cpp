#include "grid/tools/DBCtrlsGxCheckBox.h"

#include "platform/classlib/data/DB.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Button.h"

CLASSLIB_IMPLEMENT_CLASS(TCustomDBCheckBoxGx, TCustomControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBCheckBoxGx, TCustomDBCheckBoxGx, ComponentCreator<TDBCheckBoxGx>, nullptr)

namespace {

constexpr const char* TrueWord = "True";
constexpr const char* FalseWord = "False";
constexpr int CaptionGap = 5;

// Whether `text` is one of the ';'-separated values; a list ending in ';' also holds "".
bool InValueList(const std::string& list, const std::string& text)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        // An empty value counts only after a ';'.
        if (AnsiSameText(list.substr(start, end - start), text) && (end > start || start > 0))
            return true;
        if (end == list.size())
            break;
        start = end + 1;
    }
    return false;
}

std::string FirstValue(const std::string& list) { return list.substr(0, list.find(';')); }

} // namespace

TCustomDBCheckBoxGx::TCustomDBCheckBoxGx(TComponent* owner)
    : TCustomControl(owner), m_link(std::make_unique<TFieldDataLinkGx>(this))
{
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks});
    m_link->AssignValue(Variant(false));
    m_link->SetOnDataChange(TNotifyEvent::FromFunction([this](TObject*) { StateFromData(); }));
    m_link->SetOnUpdateData(TNotifyEvent::FromFunction([this](TObject*) { PostData(); }));
    m_link->SetOnActiveChange(TNotifyEvent::FromFunction([this](TObject*) { StateFromData(); }));
}

TCustomDBCheckBoxGx::~TCustomDBCheckBoxGx()
{
    m_link->SetOnDataChange({});
    m_link->SetOnUpdateData({});
    m_link->SetOnActiveChange({});
    m_link->SetDataSource(nullptr);
}

void TCustomDBCheckBoxGx::SetDataSource(TDataSource* source)
{
    m_link->SetLinkDataSource(source);
    StateFromData();
}

void TCustomDBCheckBoxGx::SetDataField(const std::string& name)
{
    m_link->SetFieldName(name);
    StateFromData();
}

void TCustomDBCheckBoxGx::SetValueChecked(const std::string& value)
{
    m_valueChecked = value;
    StateFromData();
}

void TCustomDBCheckBoxGx::SetValueUnchecked(const std::string& value)
{
    m_valueUnchecked = value;
    StateFromData();
}

void TCustomDBCheckBoxGx::SetFlat(bool flat)
{
    m_flat = flat;
    Invalidate();
}

void TCustomDBCheckBoxGx::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Invalidate();
}

TCheckBoxStateGx TCustomDBCheckBoxGx::StateOfText(const std::string& text) const
{
    if (InValueList(m_valueChecked, text))
        return cbCheckedGx;
    if (InValueList(m_valueUnchecked, text))
        return cbUncheckedGx;
    return cbGrayedGx;
}

void TCustomDBCheckBoxGx::StateFromData()
{
    TCheckBoxStateGx state = cbGrayedGx;
    if (TField* field = m_link->Field()) {
        const bool defaultWords = m_valueChecked == TrueWord && m_valueUnchecked == FalseWord;
        if (field->DataType() == ftBoolean && defaultWords)
            state = field->IsNull() ? cbGrayedGx : field->AsBoolean() ? cbCheckedGx : cbUncheckedGx;
        else
            state = StateOfText(field->Text());
    } else if (m_link->DataIndependent()) {
        const Variant& value = m_link->UnboundValue();
        if (value.VType() == varBoolean)
            state = value.ToBoolean() ? cbCheckedGx : cbUncheckedGx;
    }
    SetStateInternal(state);
}

void TCustomDBCheckBoxGx::SetStateInternal(TCheckBoxStateGx state)
{
    if (state == m_state)
        return;
    m_state = state;
    Invalidate();
}

void TCustomDBCheckBoxGx::SetState(TCheckBoxStateGx state)
{
    if (!m_link->DataIndependent())
        (void)m_link->EditValue();
    SetStateInternal(state);
    m_link->SetModified();
    if (m_posting)
        return;
    try {
        CommitPending();
    } catch (...) {
        m_link->Reset();
        throw;
    }
}

void TCustomDBCheckBoxGx::CommitPending()
{
    if (m_link->DataIndependent())
        m_link->CommitPending();
    else
        PostData();
}

void TCustomDBCheckBoxGx::Toggle()
{
    if (!m_link->EditValue())
        return;
    switch (m_state) {
    case cbUncheckedGx:
        SetState(m_allowGrayed ? cbGrayedGx : cbCheckedGx);
        break;
    case cbCheckedGx:
        SetState(cbUncheckedGx);
        break;
    case cbGrayedGx:
        SetState(cbCheckedGx);
        break;
    }
    Click();
}

void TCustomDBCheckBoxGx::PostData()
{
    bool handled = false;
    m_posting = true;
    try {
        m_onUpdateData(this, handled);
        if (!handled) {
            if (m_link->DataIndependent()) {
                m_link->AssignValue(m_state == cbGrayedGx ? Null() : Variant(m_state == cbCheckedGx));
            } else if (TField* field = m_link->Field()) {
                if (m_state == cbGrayedGx)
                    field->Clear();
                else if (field->DataType() == ftBoolean)
                    field->SetAsBoolean(m_state == cbCheckedGx);
                else
                    field->SetText(FirstValue(m_state == cbCheckedGx ? m_valueChecked : m_valueUnchecked));
            }
        }
    } catch (...) {
        m_posting = false;
        throw;
    }
    m_posting = false;
}

void TCustomDBCheckBoxGx::KeyDown(WORD& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE) {
        (void)m_link->EditValue();
        m_spacePressed = true;
        Invalidate();
    } else if (key == VK_ESCAPE && m_link->IsModified()) {
        m_link->Reset();
        key = 0;
    }
}

void TCustomDBCheckBoxGx::KeyUp(WORD& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (key == VK_SPACE && m_spacePressed) {
        m_spacePressed = false;
        Toggle();
    }
}

void TCustomDBCheckBoxGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && !Focused() && CanFocus()) {
        SetFocus();
        if (!Focused())
            return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == mbLeft) {
        m_mousePressed = true;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !m_mousePressed)
        return;
    m_mousePressed = false;
    if (x >= 0 && y >= 0 && x < Width() && y < Height())
        Toggle();
    Invalidate();
}

void TCustomDBCheckBoxGx::DoExit()
{
    TCustomControl::DoExit();
    try {
        m_link->CommitPending();
    } catch (...) {
        SetFocus();
        throw;
    }
}

void TCustomDBCheckBoxGx::Dispatch(TMessage& message)
{
    if (message.Msg == WM_GETDLGCODE) {
        message.Result = DLGC_WANTCHARS;
        return;
    }
    // Read as a standard check box is, so that whatever draws it in its stead (a skin) shows its state.
    if (message.Msg == BM_GETCHECK || message.Msg == BM_GETSTATE) {
        static_assert(cbUncheckedGx == BST_UNCHECKED && cbCheckedGx == BST_CHECKED && cbGrayedGx == BST_INDETERMINATE);
        message.Result = static_cast<LRESULT>(m_state);
        return;
    }
    if (message.Msg == CM_WANTSPECIALKEY && message.WParam == VK_ESCAPE && m_link->IsModified()) {
        message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(message);
}

TRect TCustomDBCheckBoxGx::BoxRect() const
{
    const TRect client = ClientRect();
    return PlaceCheckBoxRect(client, m_alignment == taRightJustify ? cbhLeft : cbhRight, cbvCenter);
}

void TCustomDBCheckBoxGx::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const TRect box = BoxRect();
    const bool pressed = m_spacePressed || m_mousePressed;
    PaintEditButtonFace(canvas->Handle(), box, ColorToRGB(Color()), ebfCheckBox, pressed ? ppUpperOrWhole : ppNone,
                        {m_flat, Focused(), Enabled()}, static_cast<TCheckBoxFaceState>(m_state));
    TRect caption = ClientRect();
    if (m_alignment == taRightJustify)
        caption.left = box.right + CaptionGap;
    else
        caption.right = box.left - CaptionGap;
    canvas->Font()->Assign(Font());
    (void)SetBkMode(canvas->Handle(), TRANSPARENT);
    const std::string text = Caption();
    TRect measured = caption;
    (void)DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &measured,
                    DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    if (!Enabled()) {
        TRect shifted = caption;
        OffsetRect(&shifted, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        (void)DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &shifted, DT_SINGLELINE | DT_VCENTER);
        canvas->Font()->SetColor(clGrayText);
    }
    (void)DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE | DT_VCENTER);
    if (Focused()) {
        TRect focus{caption.left - 1, (caption.top + caption.bottom - (measured.bottom - measured.top)) / 2 - 1,
                    caption.left + (measured.right - measured.left) + 1,
                    (caption.top + caption.bottom + (measured.bottom - measured.top)) / 2 + 1};
        (void)DrawFocusRect(canvas->Handle(), &focus);
    }
}
