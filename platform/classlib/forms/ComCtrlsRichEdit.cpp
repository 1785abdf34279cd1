#include "platform/classlib/forms/ComCtrlsRichEdit.h"

#include "platform/winapi/controls/RichEdit.h"

#include <cstring>

namespace {

constexpr int TWIPS_PER_POINT = 20;

void DescribeCustomRichEdit(TClassBuilder& c)
{
    c.Boolean("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText).Default(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTextAttributes, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomRichEdit, TCustomMemo, nullptr, DescribeCustomRichEdit)
CLASSLIB_IMPLEMENT_CLASS(TRichEdit, TCustomRichEdit, ComponentCreator<TRichEdit>, nullptr)

// ---- TTextAttributes ----------------------------------------------------------------------------

struct TTextAttributes::Format {
    CHARFORMATA value;
};

TTextAttributes::Format TTextAttributes::Get() const
{
    Format format{};
    format.value.cbSize = sizeof format.value;
    (void)SendMessageA(m_richEdit->Handle(), EM_GETCHARFORMAT, m_type == atSelected ? SCF_SELECTION : SCF_DEFAULT,
                       reinterpret_cast<LPARAM>(&format.value));
    return format;
}

void TTextAttributes::Set(const Format& format) const
{
    (void)SendMessageA(m_richEdit->Handle(), EM_SETCHARFORMAT, m_type == atSelected ? SCF_SELECTION : SCF_DEFAULT,
                       reinterpret_cast<LPARAM>(&format.value));
}

TColor TTextAttributes::Color() const
{
    const Format format = Get();
    return (format.value.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(format.value.crTextColor);
}

void TTextAttributes::SetColor(TColor color)
{
    Format format{};
    format.value.cbSize = sizeof format.value;
    format.value.dwMask = CFM_COLOR;
    if (color == clWindowText)
        format.value.dwEffects = CFE_AUTOCOLOR;
    else
        format.value.crTextColor = ColorToRGB(color);
    Set(format);
}

std::string TTextAttributes::Name() const { return Get().value.szFaceName; }

void TTextAttributes::SetName(const std::string& name)
{
    Format format{};
    format.value.cbSize = sizeof format.value;
    format.value.dwMask = CFM_FACE;
    std::strncpy(format.value.szFaceName, name.c_str(), LF_FACESIZE - 1);
    Set(format);
}

int TTextAttributes::Size() const { return Get().value.yHeight / TWIPS_PER_POINT; }

void TTextAttributes::SetSize(int size)
{
    Format format{};
    format.value.cbSize = sizeof format.value;
    format.value.dwMask = CFM_SIZE;
    format.value.yHeight = size * TWIPS_PER_POINT;
    Set(format);
}

TFontStyles TTextAttributes::Style() const
{
    const DWORD effects = Get().value.dwEffects;
    TFontStyles style;
    if (effects & CFE_BOLD)
        style.Include(fsBold);
    if (effects & CFE_ITALIC)
        style.Include(fsItalic);
    if (effects & CFE_UNDERLINE)
        style.Include(fsUnderline);
    if (effects & CFE_STRIKEOUT)
        style.Include(fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles style)
{
    Format format{};
    format.value.cbSize = sizeof format.value;
    format.value.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.value.dwEffects = (style.Contains(fsBold) ? CFE_BOLD : 0) | (style.Contains(fsItalic) ? CFE_ITALIC : 0) |
                             (style.Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                             (style.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
    Set(format);
}

void TTextAttributes::Assign(const TPersistent* source)
{
    if (const auto* font = dynamic_cast<const TFont*>(source)) {
        SetName(font->Name());
        SetSize(font->Size());
        SetStyle(font->Style());
        SetColor(font->Color());
        return;
    }
    if (const auto* attributes = dynamic_cast<const TTextAttributes*>(source)) {
        Set(attributes->Get());
        return;
    }
    TPersistent::Assign(source);
}

// ---- TCustomRichEdit ----------------------------------------------------------------------------

TCustomRichEdit::TCustomRichEdit(TComponent* owner)
    : TCustomMemo(owner), m_selAttributes(std::make_unique<TTextAttributes>(this, atSelected)),
      m_defAttributes(std::make_unique<TTextAttributes>(this, atDefaultText))
{
}

TCustomRichEdit::~TCustomRichEdit() = default;

const char* TCustomRichEdit::BuiltinClassName() const
{
    RegisterRichEditClass();
    return RICHEDIT_CLASSA;
}

void TCustomRichEdit::CreateWnd()
{
    TCustomMemo::CreateWnd();
    const HWND window = Handle();
    (void)SendMessageA(window, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED);
    (void)SendMessageA(window, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    m_defAttributes->Assign(Font());
}

void TCustomRichEdit::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_COLORCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
        TCustomMemo::Dispatch(message);
        return;
    case CM_FONTCHANGED:
        TCustomMemo::Dispatch(message);
        if (HandleAllocated())
            m_defAttributes->Assign(Font());
        return;
    default:
        TCustomMemo::Dispatch(message);
        return;
    }
}
