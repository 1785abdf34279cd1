#include "platform/winapi/controls/EditControl.h"

#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/user/Clipboard.h"

#include <algorithm>
#include <cstring>

namespace {

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The length of the UTF-8 character a lead byte starts.
std::size_t SequenceLength(BYTE lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

void EditControl::OnChar(BYTE c)
{
    if (c < 0x20 || c == 0x7F) {
        m_pendingBytes.clear();
        OnControlChar(c);
        return;
    }
    // A multi-byte character arrives one byte per WM_CHAR: collect it whole.
    if (c >= 0x80 && c < 0xC0) {
        if (m_pendingBytes.empty())
            return;
        m_pendingBytes.push_back(static_cast<char>(c));
    } else {
        m_pendingBytes.assign(1, static_cast<char>(c));
        m_pendingLength = SequenceLength(c);
    }
    if (m_pendingBytes.size() < m_pendingLength)
        return;
    std::string character = std::move(m_pendingBytes);
    m_pendingBytes.clear();
    if (IsReadOnly() || ((Style() & ES_NUMBER) && !(character[0] >= '0' && character[0] <= '9'))) {
        (void)MessageBeep(0);
        return;
    }
    (void)InsertText(std::move(character), true);
}

void EditControl::OnControlChar(BYTE c)
{
    switch (c) {
    case '\b':
        DeleteBackward();
        return;
    // The clipboard keys go through the messages, so that a subclassing control sees them.
    case 0x03: // Ctrl+C
        (void)SendMessageA(Window(), WM_COPY, 0, 0);
        return;
    case 0x16: // Ctrl+V
        (void)SendMessageA(Window(), WM_PASTE, 0, 0);
        return;
    case 0x18: // Ctrl+X
        (void)SendMessageA(Window(), WM_CUT, 0, 0);
        return;
    case 0x1A: // Ctrl+Z
        (void)SendMessageA(Window(), WM_UNDO, 0, 0);
        return;
    case '\r':
    case '\t':
        if (IsMultiLine() && !IsReadOnly())
            (void)InsertText(c == '\r' ? "\r\n" : "\t", true);
        return;
    default:
        return;
    }
}

std::size_t EditControl::VerticalMove(int lines) const
{
    const std::size_t caret = m_model.Caret();
    const int index = std::clamp(static_cast<int>(LineOf(caret)) + lines, 0, static_cast<int>(m_lines.size()) - 1);
    return PosInLine(static_cast<std::size_t>(index), PosToClient(caret).x);
}

void EditControl::MoveCaret(std::size_t pos, bool extend)
{
    SetSelection(extend ? m_model.Anchor() : pos, pos, true);
}

void EditControl::OnKeyDown(WPARAM key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool ctrl = KeyDown(VK_CONTROL);
    const std::size_t caret = m_model.Caret();
    const bool collapse = !shift && m_model.HasSelection();
    const EditLine& line = m_lines[LineOf(caret)];
    switch (key) {
    case VK_LEFT:
        MoveCaret(collapse && !ctrl ? m_model.SelStart() : ctrl ? m_model.PrevWord(caret) : m_model.PrevChar(caret), shift);
        return;
    case VK_RIGHT:
        MoveCaret(collapse && !ctrl ? m_model.SelEnd() : ctrl ? m_model.NextWord(caret) : m_model.NextChar(caret), shift);
        return;
    case VK_UP:
        MoveCaret(IsMultiLine() ? VerticalMove(-1) : m_model.PrevChar(caret), shift);
        return;
    case VK_DOWN:
        MoveCaret(IsMultiLine() ? VerticalMove(1) : m_model.NextChar(caret), shift);
        return;
    case VK_PRIOR:
    case VK_NEXT:
        if (IsMultiLine()) {
            const int page = VisibleLines() * (key == VK_PRIOR ? -1 : 1);
            ScrollLines(page);
            MoveCaret(VerticalMove(page), shift);
        }
        return;
    case VK_HOME:
        MoveCaret(ctrl ? 0 : line.start, shift);
        return;
    case VK_END:
        MoveCaret(ctrl ? m_model.Length() : line.end, shift);
        return;
    case VK_DELETE:
        if (shift)
            (void)SendMessageA(Window(), WM_CUT, 0, 0);
        else
            DeleteForward();
        return;
    case VK_INSERT:
        if (ctrl)
            (void)SendMessageA(Window(), WM_COPY, 0, 0);
        else if (shift)
            (void)SendMessageA(Window(), WM_PASTE, 0, 0);
        return;
    default:
        return;
    }
}

void EditControl::DeleteForward()
{
    if (IsReadOnly())
        return;
    if (!m_model.HasSelection()) {
        if (m_model.Caret() >= m_model.Length())
            return;
        m_model.Select(m_model.Caret(), m_model.NextChar(m_model.Caret()));
    }
    (void)InsertText({}, true);
}

void EditControl::DeleteBackward()
{
    if (IsReadOnly()) {
        (void)MessageBeep(0);
        return;
    }
    if (!m_model.HasSelection()) {
        if (m_model.Caret() == 0)
            return;
        m_model.Select(m_model.PrevChar(m_model.Caret()), m_model.Caret());
    }
    (void)InsertText({}, true);
}

void EditControl::OnButtonDown(WPARAM keys, POINT point)
{
    if (GetFocus() != Window())
        (void)SetFocus(Window());
    const std::size_t pos = PosFromClient(point);
    SetSelection((keys & MK_SHIFT) ? m_model.Anchor() : pos, pos, true);
    m_selecting = true;
    (void)SetCapture(Window());
}

void EditControl::OnMouseMove(POINT point)
{
    if (!m_selecting || GetCapture() != Window())
        return;
    SetSelection(m_model.Anchor(), PosFromClient(point), true);
}

void EditControl::OnButtonUp()
{
    if (!m_selecting)
        return;
    m_selecting = false;
    if (GetCapture() == Window())
        (void)ReleaseCapture();
}

void EditControl::OnDoubleClick(POINT point)
{
    const auto [start, end] = m_model.WordAt(PosFromClient(point));
    SetSelection(start, end, true);
}

void EditControl::OnSetFocus()
{
    m_focused = true;
    (void)CreateCaret(Window(), nullptr, 1, m_lineHeight);
    UpdateCaret();
    (void)ShowCaret(Window());
    Invalidate();
    (void)Notify(EN_SETFOCUS);
}

void EditControl::OnKillFocus()
{
    m_focused = false;
    m_selecting = false;
    (void)DestroyCaret();
    Invalidate();
    (void)Notify(EN_KILLFOCUS);
}

void EditControl::Copy()
{
    // A password never leaves the control.
    if (!m_model.HasSelection() || IsPassword() || !OpenClipboard(Window()))
        return;
    const std::string text = m_model.SelectedText();
    (void)EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        auto* bytes = static_cast<char*>(GlobalLock(block));
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        (void)GlobalUnlock(block);
        if (!SetClipboardData(CF_TEXT, block))
            (void)GlobalFree(block);
    }
    (void)CloseClipboard();
}

void EditControl::Cut()
{
    if (IsReadOnly() || IsPassword() || !m_model.HasSelection())
        return;
    Copy();
    Clear();
}

void EditControl::Paste()
{
    if (IsReadOnly() || !OpenClipboard(Window()))
        return;
    std::string text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        // The block's own size bounds the read: clipboard data from elsewhere may lack its NUL.
        const std::size_t size = GlobalSize(block);
        if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
            text.assign(bytes, strnlen(bytes, size));
            (void)GlobalUnlock(block);
        }
    }
    (void)CloseClipboard();
    if (!text.empty())
        (void)InsertText(std::move(text), true);
}

void EditControl::Clear()
{
    if (!IsReadOnly() && m_model.HasSelection())
        (void)InsertText({}, true);
}

void EditControl::Undo()
{
    if (IsReadOnly() || !m_model.Undo())
        return;
    m_modified = true;
    (void)AfterChange();
}
