#include "platform/winapi/controls/EditControl.h"

#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/controls/RichEdit.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace {

// Cuts text to at most `room` bytes without splitting a character.
std::string FitInto(std::string text, std::size_t room)
{
    text.resize(Utf8CharacterStart(text, room));
    return text;
}

bool IsComboBox(HWND hwnd)
{
    char name[16] = {};
    return GetClassNameA(hwnd, name, sizeof name) > 0 && strcasecmp(name, "ComboBox") == 0;
}

// Which rich-edit event mask bit lets a notification through.
DWORD EventBit(WORD code)
{
    switch (code) {
    case EN_CHANGE:
        return ENM_CHANGE;
    case EN_UPDATE:
        return ENM_UPDATE;
    case EN_HSCROLL:
    case EN_VSCROLL:
        return ENM_SCROLL;
    default:
        return 0;
    }
}

} // namespace

EditControl::EditControl(HWND hwnd)
    : ControlInstance(hwnd), m_lines{EditLine{0, 0, 0}}, m_measureDC(CreateCompatibleDC(nullptr)),
      m_limit(EDIT_DEFAULT_LIMIT),
      m_background(GetSysColor(COLOR_WINDOW))
{
}

EditControl::~EditControl()
{
    if (m_measureDC)
        (void)DeleteDC(m_measureDC);
}

void EditControl::MakeRich(std::unique_ptr<EditStyleSource> styles)
{
    m_styles = std::move(styles);
}

void EditControl::StylesChanged()
{
    m_asciiWidths.clear();
    Relayout();
    Invalidate();
    UpdateCaret();
}

DWORD EditControl::Style() const { return static_cast<DWORD>(GetWindowLongA(Window(), GWL_STYLE)); }
bool EditControl::IsMultiLine() const { return (Style() & ES_MULTILINE) != 0; }
bool EditControl::IsPassword() const { return !IsMultiLine() && (Style() & ES_PASSWORD) && m_passwordChar != 0; }
bool EditControl::IsReadOnly() const { return (Style() & ES_READONLY) != 0; }

bool EditControl::Notify(WORD code)
{
    if (m_styles && EventBit(code) != 0 && !(m_eventMask & EventBit(code)))
        return true;
    return CommandParent(code).stands;
}

int EditControl::InsertStyle() const
{
    if (!m_styles)
        return 0;
    if (m_insertStyle >= 0)
        return m_insertStyle;
    const std::size_t start = m_model.SelStart();
    return m_model.StyleAt(start > 0 ? start - 1 : 0);
}

std::string EditControl::WithCase(std::string text) const
{
    const DWORD style = Style();
    if (style & (ES_UPPERCASE | ES_LOWERCASE))
        for (char& c : text)
            c = static_cast<char>((style & ES_UPPERCASE) ? std::toupper(static_cast<unsigned char>(c))
                                                         : std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EditControl::InsertText(std::string text, bool undoable)
{
    if (!IsMultiLine())
        text = text.substr(0, text.find_first_of("\r\n"));
    text = WithCase(std::move(text));
    const std::size_t kept = m_model.Length() - (m_model.SelEnd() - m_model.SelStart());
    const std::size_t room = m_limit > kept ? m_limit - kept : 0;
    const bool overflow = text.size() > room;
    text = FitInto(std::move(text), room);
    if (text.empty() && !m_model.HasSelection()) {
        if (overflow)
            (void)Notify(EN_MAXTEXT);
        return false;
    }
    m_model.ReplaceSelection(text, InsertStyle(), undoable);
    m_insertStyle = -1;
    m_modified = true;
    if (AfterChange() && overflow)
        (void)Notify(EN_MAXTEXT);
    return true;
}

bool EditControl::AfterChange()
{
    Relayout();
    (void)ScrollToCaret();
    Invalidate();
    UpdateCaret();
    return Notify(EN_UPDATE) && Notify(EN_CHANGE);
}

void EditControl::SetText(const char* text)
{
    m_model.SetText(WithCase(text ? text : ""), 0);
    m_insertStyle = -1;
    m_modified = false;
    m_firstLine = 0;
    m_xOffset = 0;
    Relayout();
    Invalidate();
    UpdateCaret();
    // As Win32: a multi-line edit, or the edit of a combo box, does not report the new text.
    if (!IsMultiLine() && !IsComboBox(GetParent(Window())) && Notify(EN_UPDATE))
        (void)Notify(EN_CHANGE);
}

LRESULT EditControl::GetText(WPARAM size, LPSTR buffer) const
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(m_model.Length(), size - 1);
    std::memcpy(buffer, m_model.Text().data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT EditControl::GetLine(WPARAM line, LPSTR buffer) const
{
    if (!buffer)
        return 0;
    WORD size = 0;
    std::memcpy(&size, buffer, sizeof size);
    const std::size_t index = IsMultiLine() ? line : 0;
    if (index >= m_lines.size())
        return 0;
    const EditLine& l = m_lines[index];
    const std::size_t count = std::min<std::size_t>(l.end - l.start, size);
    std::memcpy(buffer, m_model.Text().data() + l.start, count);
    return static_cast<LRESULT>(count);
}

LRESULT EditControl::LineLength(WPARAM index) const
{
    if (!IsMultiLine())
        return static_cast<LRESULT>(m_model.Length());
    if (static_cast<int>(index) == -1) {
        // The characters on the selection's lines that are not selected.
        const EditLine& first = m_lines[LineOf(m_model.SelStart())];
        const EditLine& last = m_lines[LineOf(m_model.SelEnd())];
        return static_cast<LRESULT>((m_model.SelStart() - first.start) + (last.end - std::min(last.end, m_model.SelEnd())));
    }
    const EditLine& line = m_lines[LineOf(std::min<std::size_t>(index, m_model.Length()))];
    return static_cast<LRESULT>(line.end - line.start);
}

void EditControl::SetSelection(std::size_t anchor, std::size_t caret, bool scroll)
{
    const std::size_t oldStart = m_model.SelStart(), oldEnd = m_model.SelEnd();
    m_model.Select(anchor, caret);
    m_insertStyle = -1;
    const bool scrolled = scroll && ScrollToCaret();
    if (scrolled || oldStart != m_model.SelStart() || oldEnd != m_model.SelEnd())
        Invalidate();
    UpdateCaret();
}

void EditControl::SetReadOnly(bool readOnly)
{
    const DWORD style = Style();
    (void)SetWindowLongA(Window(), GWL_STYLE, static_cast<LONG>(readOnly ? style | ES_READONLY : style & ~ES_READONLY));
    Invalidate();
}

void EditControl::SetPasswordChar(char c)
{
    if (IsMultiLine())
        return;
    m_passwordChar = c;
    const DWORD style = Style();
    (void)SetWindowLongA(Window(), GWL_STYLE, static_cast<LONG>(c ? style | ES_PASSWORD : style & ~ES_PASSWORD));
    Relayout();
    Invalidate();
    UpdateCaret();
}

void EditControl::SetMargins(WPARAM flags, LPARAM margins)
{
    const bool fromFont = flags == EC_USEFONTINFO;
    if (fromFont || (flags & EC_LEFTMARGIN))
        m_leftMargin = fromFont ? m_avgCharWidth / 2 : LOWORD(static_cast<DWORD_PTR>(margins));
    if (fromFont || (flags & EC_RIGHTMARGIN))
        m_rightMargin = fromFont ? m_avgCharWidth / 2 : HIWORD(static_cast<DWORD_PTR>(margins));
    ResetFormatRect();
    Relayout();
    Invalidate();
    UpdateCaret();
}

LRESULT EditControl::SelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(m_model.SelStart());
        const auto end = static_cast<DWORD>(m_model.SelEnd());
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_SETSEL: {
        const auto start = static_cast<int>(wParam);
        const auto end = static_cast<int>(lParam);
        if (start < 0)
            SetSelection(m_model.Caret(), m_model.Caret(), true);
        else
            SetSelection(static_cast<std::size_t>(start), end < 0 ? m_model.Length() : static_cast<std::size_t>(end), true);
        return 0;
    }
    case EM_REPLACESEL:
        (void)InsertText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "", wParam != 0);
        return 0;
    case EM_POSFROMCHAR: {
        if (wParam > m_model.Length())
            return -1;
        const POINT p = PosToClient(m_model.Boundary(wParam));
        return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        const std::size_t pos = PosFromClient(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(LineOf(pos)));
    }
    default:
        return 0;
    }
}

LRESULT EditControl::LineMessage(UINT msg, WPARAM wParam, LPARAM /*lParam*/)
{
    const bool multi = IsMultiLine();
    switch (msg) {
    case EM_GETLINECOUNT:
        return multi ? static_cast<LRESULT>(m_lines.size()) : 1;
    case EM_LINEINDEX: {
        const std::size_t line = static_cast<int>(wParam) < 0 ? LineOf(m_model.Caret()) : wParam;
        return line < m_lines.size() ? static_cast<LRESULT>(m_lines[line].start) : -1;
    }
    case EM_LINEFROMCHAR: {
        const std::size_t pos = static_cast<int>(wParam) < 0 ? m_model.SelStart() : std::min(wParam, m_model.Length());
        return static_cast<LRESULT>(LineOf(pos));
    }
    case EM_GETFIRSTVISIBLELINE:
        return multi ? m_firstLine : static_cast<LRESULT>(PosInLine(0, 0));
    default:
        return 0;
    }
}

LRESULT EditControl::ScrollMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsMultiLine())
        return msg == EM_SCROLLCARET ? (ScrollToCaret(), UpdateCaret(), TRUE) : FALSE;
    switch (msg) {
    case EM_SCROLLCARET:
        if (ScrollToCaret())
            Invalidate();
        UpdateCaret();
        return TRUE;
    case EM_LINESCROLL:
        ScrollColumns(static_cast<int>(wParam) * m_avgCharWidth);
        ScrollLines(static_cast<int>(lParam));
        return TRUE;
    case EM_SCROLL: {
        const int before = m_firstLine;
        const int page = VisibleLines();
        const int delta[] = {-1, 1, -page, page};
        if (wParam > SB_PAGEDOWN)
            return FALSE;
        ScrollLines(delta[wParam]);
        return MAKELONG(static_cast<WORD>(m_firstLine - before), TRUE);
    }
    default:
        return 0;
    }
}

LRESULT EditControl::EditingMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        Undo();
        return m_model.CanUndo();
    case EM_CANUNDO:
        return m_model.CanUndo();
    case EM_EMPTYUNDOBUFFER:
        m_model.EmptyUndo();
        return 0;
    case EM_GETMODIFY:
        return m_modified;
    case EM_SETMODIFY:
        m_modified = wParam != 0;
        return 0;
    case EM_LIMITTEXT:
        m_limit = wParam == 0 ? EDIT_MAX_LIMIT : wParam;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(m_limit);
    case EM_SETPASSWORDCHAR:
        SetPasswordChar(static_cast<char>(wParam));
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<BYTE>(m_passwordChar);
    case EM_SETREADONLY:
        SetReadOnly(wParam != 0);
        return TRUE;
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<RECT*>(lParam) = m_format;
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        SetFormatRect(reinterpret_cast<const RECT*>(lParam), msg == EM_SETRECT);
        return 0;
    case EM_SETMARGINS:
        SetMargins(wParam, lParam);
        return 0;
    case EM_GETMARGINS:
        return MAKELONG(static_cast<WORD>(m_leftMargin), static_cast<WORD>(m_rightMargin));
    default:
        return 0;
    }
}

LRESULT EditControl::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        Create(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_SETTEXT:
        SetText(reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXT:
        return GetText(wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(m_model.Length());
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (IsMultiLine() ? DLGC_WANTALLKEYS : 0);
    case WM_SIZE:
        ResetFormatRect();
        Relayout();
        (void)ScrollToCaret();
        Invalidate();
        UpdateCaret();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    case WM_ENABLE:
    case WM_STYLECHANGED:
        Relayout();
        Invalidate();
        return 0;
    case WM_CHAR:
        OnChar(static_cast<BYTE>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        m_selecting = false;
        return 0;
    case WM_MOUSEWHEEL:
        if (IsMultiLine())
            ScrollLines(-3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT) {
            (void)SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
            return TRUE;
        }
        return DefWindowProcA(Window(), msg, wParam, lParam);
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case EM_POSFROMCHAR:
    case EM_CHARFROMPOS:
        return SelectionMessage(msg, wParam, lParam);
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_GETFIRSTVISIBLELINE:
        return LineMessage(msg, wParam, lParam);
    case EM_LINELENGTH:
        return LineLength(wParam);
    case EM_GETLINE:
        return GetLine(wParam, reinterpret_cast<LPSTR>(lParam));
    case EM_SCROLLCARET:
    case EM_LINESCROLL:
    case EM_SCROLL:
        return ScrollMessage(msg, wParam, lParam);
    case WM_CUT: case WM_COPY: case WM_PASTE: case WM_CLEAR: case WM_UNDO: case EM_UNDO: case EM_CANUNDO:
    case EM_EMPTYUNDOBUFFER: case EM_GETMODIFY: case EM_SETMODIFY: case EM_LIMITTEXT: case EM_GETLIMITTEXT:
    case EM_SETPASSWORDCHAR: case EM_GETPASSWORDCHAR: case EM_SETREADONLY: case EM_GETRECT: case EM_SETRECT:
    case EM_SETRECTNP: case EM_SETMARGINS: case EM_GETMARGINS:
        return EditingMessage(msg, wParam, lParam);
    default:
        return DefWindowProcA(Window(), msg, wParam, lParam);
    }
}

void RegisterEditClass()
{
    (void)RegisterControlInstanceClass<EditControl>(WC_EDITA, CS_DBLCLKS, IDC_IBEAM);
}
