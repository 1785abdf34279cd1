#include "platform/classlib/forms/StdCtrlsEdit.h"

#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <cstring>

namespace {

const TTypeInfo& AlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

void DescribeCustomEdit(TClassBuilder& c)
{
    c.Boolean("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    c.Boolean("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).Default(true);
    c.Enum("BorderStyle", BorderStyleTypeInfo(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    c.Enum("CharCase", EditCharCaseTypeInfo(), &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
    c.Boolean("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true);
    c.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    c.Boolean("OEMConvert", &TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
    c.Ordinal("PasswordChar", CharTypeInfo(), &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
    c.Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    c.String("Text", &TControl::Text, &TControl::SetText).StoredWhen(&TCustomEdit::IsTextStored);
    c.Event("OnChange", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange);
}

void DescribeCustomMemo(TClassBuilder& c)
{
    c.Enum("Alignment", AlignmentTypeInfo(), &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
    c.Object("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
    c.Enum("ScrollBars", ScrollStyleTypeInfo(), &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
    c.Boolean("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true);
    c.Boolean("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
    c.Boolean("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomEdit, TWinControl, nullptr, DescribeCustomEdit)
CLASSLIB_IMPLEMENT_CLASS(TEdit, TCustomEdit, ComponentCreator<TEdit>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TMemoStrings, TStrings, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomMemo, TCustomEdit, nullptr, DescribeCustomMemo)
CLASSLIB_IMPLEMENT_CLASS(TMemo, TCustomMemo, ComponentCreator<TMemo>, nullptr)

const TTypeInfo& EditCharCaseTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
    return info;
}

const TTypeInfo& ScrollStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
    return info;
}

// ---- TCustomEdit --------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner), m_brush(std::make_unique<TBrush>())
{
    SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() = default;

const char* TCustomEdit::BuiltinClassName() const
{
    RegisterEditClass();
    return WC_EDITA;
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, BuiltinClassName());
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (m_borderStyle == bsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
    if (m_passwordChar != '\0')
        params.Style |= ES_PASSWORD;
    if (m_readOnly)
        params.Style |= ES_READONLY;
    if (!m_hideSelection)
        params.Style |= ES_NOHIDESEL;
    if (m_oemConvert)
        params.Style |= ES_OEMCONVERT;
    if (m_charCase == ecUpperCase)
        params.Style |= ES_UPPERCASE;
    else if (m_charCase == ecLowerCase)
        params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateWnd()
{
    m_creating = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        m_creating = false;
        throw;
    }
    m_creating = false;
    const HWND window = Handle();
    (void)SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    (void)SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
    (void)SendMessageA(window, EM_SETMODIFY, m_modified ? TRUE : FALSE, 0);
    if (m_passwordChar != '\0')
        (void)SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<BYTE>(m_passwordChar), 0);
}

void TCustomEdit::DestroyWnd()
{
    m_modified = Modified();
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase charCase)
{
    if (charCase == m_charCase)
        return;
    m_charCase = charCase;
    // The new window converts the text it is given.
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool hide)
{
    if (hide == m_hideSelection)
        return;
    m_hideSelection = hide;
    RecreateWnd();
}

void TCustomEdit::SetMaxLength(int maxLength)
{
    m_maxLength = std::max(maxLength, 0);
    if (HandleAllocated())
        (void)SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
}

void TCustomEdit::SetOEMConvert(bool convert)
{
    if (convert == m_oemConvert)
        return;
    m_oemConvert = convert;
    RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char c)
{
    if (c == m_passwordChar)
        return;
    m_passwordChar = c;
    if (HandleAllocated()) {
        (void)SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(c), 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool TCustomEdit::Modified() const
{
    if (!HandleAllocated())
        return m_modified;
    return SendMessageA(const_cast<TCustomEdit*>(this)->Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool modified)
{
    m_modified = modified;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool TCustomEdit::CanUndo() { return HandleAllocated() && SendMessageA(Handle(), EM_CANUNDO, 0, 0) != 0; }

int TCustomEdit::SelStart()
{
    DWORD start = 0;
    (void)SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int start) { (void)SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start); }

int TCustomEdit::SelLength()
{
    DWORD start = 0, end = 0;
    (void)SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int length)
{
    const int start = SelStart();
    (void)SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + std::max(length, 0));
    (void)SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::SelText()
{
    const int start = SelStart();
    const std::string text = TCustomEdit::GetText();
    return text.substr(std::min<std::size_t>(static_cast<std::size_t>(start), text.size()),
                       static_cast<std::size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const std::string& text)
{
    (void)SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::SelectAll() { (void)SendMessageA(Handle(), EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { (void)SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { (void)SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { (void)SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { (void)SendMessageA(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { (void)SendMessageA(Handle(), WM_UNDO, 0, 0); }

void TCustomEdit::ClearUndo()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Change()
{
    if (m_onChange)
        m_onChange(this);
}

void TCustomEdit::DoEnter()
{
    if (m_autoSelect && !ControlState().Contains(csLButtonDown) &&
        !(GetWindowLongA(Handle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::DoEnter();
}

LRESULT TCustomEdit::ControlColors(HDC dc)
{
    (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
    (void)SetBkColor(dc, ColorToRGB(Color()));
    m_brush->SetColor(Color());
    return reinterpret_cast<LRESULT>(m_brush->Handle());
}

void TCustomEdit::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == EN_CHANGE && !m_creating)
            Change();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        message.Result = ControlColors(reinterpret_cast<HDC>(message.WParam));
        return;
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(message);
        // The window reports no change for a multi-line control, nor without a window.
        if (!HandleAllocated() || (GetWindowLongA(Handle(), GWL_STYLE) & ES_MULTILINE))
            Change();
        return;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        TWinControl::Dispatch(message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    default:
        TWinControl::Dispatch(message);
        return;
    }
}

// ---- TMemoStrings -------------------------------------------------------------------------------

HWND TMemoStrings::Window() const { return m_memo->HandleAllocated() ? m_memo->Handle() : nullptr; }

int TMemoStrings::Count() const
{
    const HWND window = Window();
    if (!window) {
        TStringList list;
        list.SetText(m_memo->Text());
        return list.Count();
    }
    auto count = static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0));
    // The empty line after a final line break is not an item.
    const LRESULT lastStart = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) == 0)
        --count;
    return count;
}

std::string TMemoStrings::Strings(int index) const
{
    const HWND window = Window();
    if (!window) {
        TStringList list;
        list.SetText(m_memo->Text());
        return list.Strings(index);
    }
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
    const LRESULT start = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    const auto length = static_cast<std::size_t>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    std::string line(std::max<std::size_t>(length, sizeof(WORD)), '\0');
    const auto size = static_cast<WORD>(std::min<std::size_t>(line.size(), 0xFFFF));
    std::memcpy(line.data(), &size, sizeof size);
    line.resize(static_cast<std::size_t>(SendMessageA(window, EM_GETLINE, static_cast<WPARAM>(index),
                                                      reinterpret_cast<LPARAM>(line.data()))));
    return line;
}

void TMemoStrings::Replace(int from, int to, const std::string& text) const
{
    const HWND window = Window();
    (void)SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(from), to);
    (void)SendMessageA(window, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMemoStrings::SetStrings(int index, const std::string& s)
{
    const HWND window = Window();
    if (!window) {
        TStringList list;
        list.SetText(m_memo->Text());
        list.SetStrings(index, s);
        m_memo->SetText(list.Text());
        return;
    }
    // Checked here: the window reads line -1 as the caret's line.
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
    const auto start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    Replace(start, start + static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0)), s);
}

void TMemoStrings::Insert(int index, const std::string& s)
{
    const HWND window = Window();
    if (!window) {
        TStringList list;
        list.SetText(m_memo->Text());
        list.Insert(index, s);
        m_memo->SetText(list.Text());
        return;
    }
    if (index < 0)
        return;
    auto start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    if (start >= 0) {
        Replace(start, start, s + "\r\n");
        return;
    }
    // After the last line, which has no line break yet.
    start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index - 1), 0));
    if (start < 0)
        return;
    const auto length = static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    if (length == 0)
        return;
    Replace(start + length, start + length, "\r\n" + s);
}

void TMemoStrings::Delete(int index)
{
    const HWND window = Window();
    if (!window) {
        TStringList list;
        list.SetText(m_memo->Text());
        list.Delete(index);
        m_memo->SetText(list.Text());
        return;
    }
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
    const auto start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    auto end = static_cast<int>(SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0));
    if (end < 0)
        end = start + static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    Replace(start, end, "");
}

void TMemoStrings::Clear() { m_memo->SetText(""); }

std::string TMemoStrings::Text() const { return m_memo->Text(); }

void TMemoStrings::SetText(std::string_view text)
{
    // Every line break becomes CR LF, as the window keeps them.
    std::string adjusted;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            adjusted += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            adjusted += text[i];
        }
    }
    m_memo->SetText(adjusted);
}

// ---- TCustomMemo --------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), m_lines(std::make_unique<TMemoStrings>(this))
{
    SetBounds(Left(), Top(), 185, 89);
    SetAutoSize(false);
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* lines)
{
    if (lines)
        m_lines->Assign(*lines);
}

void TCustomMemo::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle scrollBars)
{
    if (scrollBars == m_scrollBars)
        return;
    m_scrollBars = scrollBars;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    RecreateWnd();
}

TPoint TCustomMemo::CaretPos()
{
    DWORD end = 0;
    (void)SendMessageA(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    TPoint pos{};
    pos.y = static_cast<int>(SendMessageA(Handle(), EM_LINEFROMCHAR, end, 0));
    pos.x = static_cast<int>(end) - static_cast<int>(SendMessageA(Handle(), EM_LINEINDEX, static_cast<WPARAM>(pos.y), 0));
    return pos;
}

void TCustomMemo::SetCaretPos(TPoint pos)
{
    const auto index = static_cast<int>(SendMessageA(Handle(), EM_LINEINDEX, static_cast<WPARAM>(pos.y), 0)) + pos.x;
    (void)SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(index), index);
}

void TCustomMemo::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE;
    if (m_wordWrap)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (m_alignment == taRightJustify)
        params.Style |= ES_RIGHT;
    else if (m_alignment == taCenter)
        params.Style |= ES_CENTER;
    if (m_scrollBars == ssVertical || m_scrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if (m_scrollBars == ssHorizontal || m_scrollBars == ssBoth)
        params.Style |= WS_HSCROLL;
}

void TCustomMemo::Dispatch(TMessage& message)
{
    if (message.Msg != WM_GETDLGCODE) {
        TCustomEdit::Dispatch(message);
        return;
    }
    TCustomEdit::Dispatch(message);
    if (m_wantTabs)
        message.Result |= DLGC_WANTTAB;
    else
        message.Result &= ~DLGC_WANTTAB;
    if (!m_wantReturns)
        message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomMemo::KeyPress(char& key)
{
    TCustomEdit::KeyPress(key);
    if (key == '\r' && !m_wantReturns)
        key = '\0';
}
