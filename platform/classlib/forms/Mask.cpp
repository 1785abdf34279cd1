#include "platform/classlib/forms/Mask.h"

#include "platform/classlib/forms/Clipbrd.h"
#include "platform/winapi/controls/Edit.h"


namespace {

const char* const MASK_EDIT_ERROR = "Invalid input value.  Use escape key to abandon changes";

void DescribeCustomMaskEdit(TClassBuilder& c)
{
    c.String("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomMaskEdit, TCustomEdit, nullptr, DescribeCustomMaskEdit)
CLASSLIB_IMPLEMENT_CLASS(TMaskEdit, TCustomMaskEdit, ComponentCreator<TMaskEdit>, nullptr)

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

void TCustomMaskEdit::SetEditMask(const std::string& editMask)
{
    if (editMask == m_editMask)
        return;
    const std::string text = GetText();
    m_editMask = editMask;
    m_mask = TEditMask(editMask);
    if (IsMasked())
        SetMaxLength(static_cast<int>(m_mask.Size()));
    SetText(text);
    m_oldValue = EditText();
}

std::string TCustomMaskEdit::GetText() const
{
    const std::string editText = TCustomEdit::GetText();
    if (!IsMasked())
        return editText;
    const std::string input = m_mask.RemoveFormat(editText);
    return m_mask.SaveLiterals() ? m_mask.FormatInput(input, ' ') : input;
}

void TCustomMaskEdit::StoreText(const std::string& text)
{
    if (!IsMasked()) {
        TCustomEdit::StoreText(text);
        return;
    }
    TCustomEdit::StoreText(m_mask.SaveLiterals() ? m_mask.PadLiterals(text, m_mask.Blank())
                                                 : m_mask.FormatInput(text, m_mask.Blank()));
    m_oldValue = EditText();
}

void TCustomMaskEdit::SetEditText(const std::string& text)
{
    const std::string old = EditText();
    TCustomEdit::StoreText(text);
    m_oldValue = text;
    if (old != text)
        Perform(CM_TEXTCHANGED);
}

void TCustomMaskEdit::Reset()
{
    if (!Modified())
        return;
    ReplaceEditText(m_oldValue, 0);
    SetModified(false);
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked() || !Modified())
        return;
    const std::size_t invalid = m_mask.FirstInvalid(EditText());
    if (invalid >= m_mask.Size())
        return;
    if (HandleAllocated()) {
        if (CanFocus())
            SetFocus();
        PlaceCaret(invalid);
    }
    ValidateError();
}

void TCustomMaskEdit::ValidateError()
{
    (void)MessageBeep(0);
    throw EDBEditError(MASK_EDIT_ERROR);
}

std::size_t TCustomMaskEdit::NextInput(std::size_t pos) const
{
    while (pos < m_mask.Size() && m_mask.IsLiteral(pos))
        ++pos;
    return pos;
}

std::size_t TCustomMaskEdit::PrevInput(std::size_t pos) const
{
    while (pos > 0) {
        --pos;
        if (!m_mask.IsLiteral(pos))
            return pos;
    }
    return m_mask.Size();
}

void TCustomMaskEdit::PlaceCaret(std::size_t pos)
{
    (void)SendMessageA(Handle(), EM_SETSEL, pos, static_cast<LPARAM>(pos));
}

// Changes the window's text as typing does: modified, with EN_CHANGE.
void TCustomMaskEdit::ReplaceEditText(const std::string& text, std::size_t caret)
{
    const HWND window = Handle();
    (void)SendMessageA(window, EM_SETSEL, 0, -1);
    (void)SendMessageA(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    PlaceCaret(caret);
}

bool TCustomMaskEdit::Input(char c)
{
    if (!EditCanModify())
        return false;
    std::string text = EditText();
    text.resize(m_mask.Size(), m_mask.Blank());
    const int start = SelStart();
    const int length = SelLength();
    const std::size_t pos = NextInput(static_cast<std::size_t>(start));
    const char accepted = pos < m_mask.Size() ? m_mask.Accept(pos, c) : '\0';
    if (accepted == '\0') {
        (void)MessageBeep(0);
        return false;
    }
    for (auto i = static_cast<std::size_t>(start); i < static_cast<std::size_t>(start + length) && i < text.size(); ++i)
        if (!m_mask.IsLiteral(i))
            text[i] = m_mask.Blank();
    text[pos] = accepted;
    ReplaceEditText(text, NextInput(pos + 1));
    return true;
}

void TCustomMaskEdit::Blank(std::size_t from, std::size_t to)
{
    std::string text = EditText();
    text.resize(m_mask.Size(), m_mask.Blank());
    for (std::size_t i = from; i < to && i < text.size(); ++i)
        if (!m_mask.IsLiteral(i))
            text[i] = m_mask.Blank();
    ReplaceEditText(text, from);
}

void TCustomMaskEdit::DeleteKey(WORD key)
{
    if (!EditCanModify()) {
        (void)MessageBeep(0);
        return;
    }
    const auto start = static_cast<std::size_t>(SelStart());
    const auto length = static_cast<std::size_t>(SelLength());
    if (length > 0) {
        Blank(start, start + length);
    } else if (key == VK_BACK) {
        const std::size_t pos = PrevInput(start);
        if (pos < m_mask.Size())
            Blank(pos, pos + 1);
    } else {
        const std::size_t pos = NextInput(start);
        if (pos < m_mask.Size())
            Blank(pos, pos + 1);
    }
}

void TCustomMaskEdit::PasteText()
{
    if (!EditCanModify())
        return;
    for (const char c : Clipboard()->AsText())
        if (!Input(c))
            return;
}

void TCustomMaskEdit::KeyDown(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TCustomEdit::KeyDown(key, shift); }) || !IsMasked() || key == 0)
        return;
    if (key == VK_DELETE && !shift.Contains(ssShift)) {
        DeleteKey(key);
        key = 0;
    } else if (key == VK_ESCAPE && Modified()) {
        Reset();
        key = 0;
    }
}

void TCustomMaskEdit::KeyPress(char& key)
{
    if (!Outlives([&] { TCustomEdit::KeyPress(key); }) || !IsMasked() || key == '\0')
        return;
    if (key == '\b')
        DeleteKey(VK_BACK);
    else if (static_cast<unsigned char>(key) >= 0x20)
        (void)Input(key);
    else if (key != '\x1B' && key != '\r')
        return; // Ctrl+C and the other control characters go to the window.
    key = '\0';
}

void TCustomMaskEdit::DoEnter()
{
    if (IsMasked())
        m_oldValue = EditText();
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::Dispatch(TMessage& message)
{
    if (!IsMasked()) {
        TCustomEdit::Dispatch(message);
        return;
    }
    switch (message.Msg) {
    case WM_PASTE:
        PasteText();
        return;
    case WM_CUT:
        (void)SendMessageA(Handle(), WM_COPY, 0, 0);
        DeleteKey(VK_DELETE);
        return;
    case WM_CLEAR:
        DeleteKey(VK_DELETE);
        return;
    case CM_EXIT:
        ValidateEdit();
        TCustomEdit::Dispatch(message);
        return;
    default:
        TCustomEdit::Dispatch(message);
        return;
    }
}
