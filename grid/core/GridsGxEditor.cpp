#include "grid/core/GridsGx.h"

#include "grid/core/GridLibGx.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/Edit.h"

#include <algorithm>
#include <limits>

namespace {

// The longest character in UTF-8.
constexpr int MaxCharacterBytes = 4;

[[nodiscard]] int CharacterCount(const std::string& text) { return static_cast<int>(Utf8CharacterCount(text)); }

// The first `count` characters of `text`.
[[nodiscard]] std::string FirstCharacters(const std::string& text, int count)
{
    return text.substr(0, Utf8CharacterOffset(text, static_cast<std::size_t>(count)));
}

} // namespace

// ---- The grid's side ------------------------------------------------------------------------------------

TInplaceEdit* TCustomGridGx::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGridGx::CanEditShow()
{
    return m_options.Contains(goEditing) && !m_options.Contains(goRowSelect) && m_editorMode && HandleAllocated() &&
           (m_options.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGridGx::SetEditorMode(bool value)
{
    if (!value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (m_inplaceEditor && m_inplaceEditor->HandleAllocated())
        m_inplaceEditor->Deselect();
}

void TCustomGridGx::ShowEditor()
{
    m_editorMode = true;
    UpdateEdit();
}

void TCustomGridGx::HideEditor()
{
    m_editorMode = false;
    HideEdit();
}

void TCustomGridGx::ShowEditorChar(WPARAM c)
{
    ShowEditor();
    if (m_inplaceEditor && m_inplaceEditor->HandleAllocated())
        (void)PostMessageA(m_inplaceEditor->Handle(), WM_CHAR, c, 0);
}

void TCustomGridGx::InvalidateEditor()
{
    m_inplaceCol = -1;
    m_inplaceRow = -1;
    UpdateEdit();
}

void TCustomGridGx::UpdateEdit()
{
    if (!CanEditShow())
        return;
    if (!m_inplaceEditor) {
        m_inplaceEditor = CreateEditor();
        m_inplaceEditor->SetGrid(this);
        m_inplaceEditor->SetParent(this);
        FillEditor();
    } else if (m_current.X != m_inplaceCol || m_current.Y != m_inplaceRow) {
        HideEdit();
        FillEditor();
    }
    if (CanEditShow())
        m_inplaceEditor->UpdateLoc(CellRect(m_current.X, m_current.Y), true);
}

void TCustomGridGx::FillEditor()
{
    m_inplaceCol = m_current.X;
    m_inplaceRow = m_current.Y;
    m_inplaceEditor->UpdateContents();
    m_canEditModify = m_inplaceEditor->EditLimit() != -1;
    m_inplaceEditor->SelectAll();
}

void TCustomGridGx::HideEdit()
{
    if (!m_inplaceEditor)
        return;
    try {
        UpdateText();
    } catch (...) {
        m_inplaceCol = -1;
        m_inplaceRow = -1;
        m_inplaceEditor->Hide();
        throw;
    }
    m_inplaceCol = -1;
    m_inplaceRow = -1;
    m_inplaceEditor->Hide();
}

void TCustomGridGx::UpdateText()
{
    if (m_inplaceCol != -1 && m_inplaceRow != -1)
        SetEditText(m_inplaceCol, m_inplaceRow, m_inplaceEditor->Text());
}

// ---- TInplaceEdit ------------------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TInplaceEdit, TCustomMaskEdit, ComponentCreator<TInplaceEdit>, nullptr)

TInplaceEdit::TInplaceEdit(TComponent* owner) : TCustomMaskEdit(owner)
{
    SetTabStop(false);
    SetBorderStyle(bsNone);
}

void TInplaceEdit::CreateParams(TCreateParams& params)
{
    TCustomMaskEdit::CreateParams(params);
    params.Style |= ES_MULTILINE; // so that the text rectangle can be set
}

bool TInplaceEdit::EditCanModify() { return m_grid && m_grid->CanEditModify(); }

void TInplaceEdit::Deselect() { (void)SendMessageA(Handle(), EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1)); }

bool TInplaceEdit::IsVisible() const
{
    return HandleAllocated() && IsWindowVisible(const_cast<TInplaceEdit*>(this)->Handle());
}

void TInplaceEdit::Hide()
{
    if (!IsVisible())
        return;
    InvalidateArea();
    const bool hadFocus = Focused();
    (void)SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
    if (hadFocus && m_grid && m_grid->HandleAllocated())
        (void)::SetFocus(m_grid->Handle());
}

void TInplaceEdit::UpdateLoc(const TRect& rect, bool redraw)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        Hide();
        return;
    }
    HandleNeeded();
    if (!IsVisible())
        redraw = true;
    InvalidateArea();
    (void)SetWindowPos(Handle(), HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_SHOWWINDOW | SWP_NOREDRAW);
    BoundsChanged();
    if (redraw)
        InvalidateArea();
    if (m_grid && m_grid->Focused())
        (void)::SetFocus(Handle());
}

void TInplaceEdit::SetFocus()
{
    if (IsVisible())
        (void)::SetFocus(Handle());
}

void TInplaceEdit::BoundsChanged()
{
    RECT client{};
    (void)GetClientRect(Handle(), &client);
    const RECT text{2, 2, client.right - 2, client.bottom};
    (void)SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
    (void)SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::InvalidateArea()
{
    if (!HandleAllocated() || !m_grid || !m_grid->HandleAllocated())
        return;
    (void)ValidateRect(Handle(), nullptr);
    (void)InvalidateRect(Handle(), nullptr, TRUE);
    RECT area{};
    (void)GetClientRect(Handle(), &area);
    (void)MapWindowPoints(Handle(), m_grid->Handle(), reinterpret_cast<POINT*>(&area), 2);
    (void)ValidateRect(m_grid->Handle(), &area);
    (void)InvalidateRect(m_grid->Handle(), &area, FALSE);
}

void TInplaceEdit::UpdateContents()
{
    SetText("");
    const int col = m_grid->Col();
    const int row = m_grid->Row();
    SetEditMask(m_grid->GetEditMask(col, row));
    SetText(m_grid->GetEditText(col, row));
    m_editLimit = m_grid->GetEditLimit();
    SetMaxLength(m_editLimit > 0 ? m_editLimit * MaxCharacterBytes : m_editLimit);
}

// Characters that may still be typed in place of the selection; unlimited without a limit.
int TInplaceEdit::CharacterRoom()
{
    if (m_editLimit <= 0)
        return std::numeric_limits<int>::max();
    return m_editLimit - CharacterCount(Text()) + CharacterCount(SelText());
}

// A typed byte that starts a character there is no room for; the rest of its bytes go with it.
bool TInplaceEdit::OverCharacterLimit(char key)
{
    if (static_cast<unsigned char>(key) < 32)
        return false;
    if (IsUtf8Continuation(key))
        return m_droppingCharacter;
    m_droppingCharacter = CharacterRoom() <= 0;
    return m_droppingCharacter;
}

void TInplaceEdit::PasteWithinLimit()
{
    SetSelText(FirstCharacters(Clipboard()->AsText(), std::max(0, CharacterRoom())));
}

// ---- Keys ------------------------------------------------------------------------------------------------

void TInplaceEdit::SendToGrid(WORD& key, TShiftState shift)
{
    m_grid->KeyDown(key, shift);
    key = 0;
}

void TInplaceEdit::RaiseGridEvent(WORD& key, TShiftState shift)
{
    if (m_grid->OnKeyDown())
        m_grid->OnKeyDown()(m_grid, key, shift);
}

bool TInplaceEdit::AtLeftSide()
{
    const int length = GetWindowTextLengthA(Handle());
    const int start = SelStart();
    const int selected = SelLength();
    return start == 0 && (selected == 0 || selected == length);
}

bool TInplaceEdit::AtRightSide()
{
    const int length = GetWindowTextLengthA(Handle());
    const int start = SelStart();
    const int selected = SelLength();
    return start + selected == length && (selected == 0 || start == 0);
}

void TInplaceEdit::KeyDown(WORD& key, TShiftState shift)
{
    if (!m_grid) {
        TCustomMaskEdit::KeyDown(key, shift);
        return;
    }
    const bool forward = m_grid->Options().Contains(goAlwaysShowEditor);
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        SendToGrid(key, shift);
        break;
    case VK_TAB:
        if (!shift.Contains(ssAlt))
            SendToGrid(key, shift);
        break;
    case VK_INSERT:
        if (shift.Empty())
            SendToGrid(key, shift);
        else if (shift == TShiftState{ssShift} && !m_grid->CanEditModify())
            key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forward && (ctrl || AtLeftSide()))
            SendToGrid(key, shift);
        break;
    case VK_RIGHT:
    case VK_END:
        if (forward && (ctrl || AtRightSide()))
            SendToGrid(key, shift);
        break;
    case VK_DELETE:
        if (ctrl)
            SendToGrid(key, shift);
        else if (!m_grid->CanEditModify())
            key = 0;
        break;
    case VK_F2:
        if (!Outlives([&] { RaiseGridEvent(key, shift); }))
            return;
        if (key == VK_F2) {
            Deselect();
            return;
        }
        break;
    default:
        break;
    }
    if (key == 0 || !Outlives([&] { RaiseGridEvent(key, shift); }))
        return;
    if (key != 0)
        TCustomMaskEdit::KeyDown(key, shift);
}

void TInplaceEdit::CycleSelection()
{
    const int length = GetWindowTextLengthA(Handle());
    const int start = SelStart();
    if (start == 0 && start + SelLength() == length)
        Deselect();
    else
        SelectAll();
}

void TInplaceEdit::KeyPress(char& key)
{
    if (!m_grid) {
        TCustomMaskEdit::KeyPress(key);
        return;
    }
    // The grid's OnKeyPress may free the grid, and this editor with it.
    if (!Outlives([&] { m_grid->KeyPress(key); }))
        return;
    const auto code = static_cast<unsigned char>(key);
    if (code > 31 && !m_grid->CanEditAcceptKey(key)) {
        key = 0;
        (void)MessageBeep(0);
    }
    const bool modifying = code == 8 || code == 22 || code == 24 || code >= 32;
    if (modifying && !m_grid->CanEditModify())
        key = 0;
    if (key == '\r')
        CycleSelection();
    if (key == '\r' || key == '\t' || key == 27)
        key = 0;
    if (key != 0 && OverCharacterLimit(key)) {
        key = 0;
        (void)MessageBeep(0);
    }
    if (key != 0 && TypeCharacter(key))
        key = 0;
    if (key != 0)
        TCustomMaskEdit::KeyPress(key);
}

void TInplaceEdit::KeyUp(WORD& key, TShiftState shift)
{
    if (m_grid)
        m_grid->KeyUp(key, shift);
}

void TInplaceEdit::DblClick()
{
    if (m_grid)
        m_grid->DblClick();
}

// ---- Messages ------------------------------------------------------------------------------------------

void TInplaceEdit::ForwardToGrid(TMessage& message)
{
    message.Result = m_grid->Perform(message.Msg, message.WParam, message.LParam);
}

void TInplaceEdit::SetFocusMessage(TMessage& message)
{
    // The form keeps the grid as its active control while the grid's editor has the focus.
    if (TCustomForm* form = GetParentForm(this); form && m_grid)
        form->SetFocusedControl(m_grid);
    DefaultHandler(message);
}

void TInplaceEdit::Dispatch(TMessage& message)
{
    if (!m_grid) {
        TCustomMaskEdit::Dispatch(message);
        return;
    }
    switch (message.Msg) {
    case WM_PASTE:
        if (EditCanModify() && m_editLimit > 0)
            PasteWithinLimit();
        if (!EditCanModify() || m_editLimit > 0)
            return;
        break;
    case WM_CLEAR:
    case WM_CUT:
        if (!EditCanModify())
            return;
        break;
    case WM_GETDLGCODE:
        TCustomMaskEdit::Dispatch(message);
        if (m_grid->Options().Contains(goTabs))
            message.Result |= DLGC_WANTTAB;
        return;
    case CM_SHOWINGCHANGED:
        return; // only UpdateLoc and Hide show and hide the editor
    case WM_MOUSEWHEEL:
        ForwardToGrid(message);
        return;
    case WM_SETFOCUS:
        SetFocusMessage(message);
        return;
    case WM_LBUTTONDOWN:
        if (static_cast<UINT>(GetMessageTime() - m_clickTime) < GetDoubleClickTime())
            message.Msg = WM_LBUTTONDBLCLK;
        m_clickTime = 0;
        break;
    default:
        break;
    }
    TCustomMaskEdit::Dispatch(message);
}
