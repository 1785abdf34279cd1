#include "platform/winapi/controls/RichEdit.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/controls/EditControl.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/rtl/SysMath.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace {

constexpr DWORD EFFECT_BITS = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED;
constexpr DWORD FULL_MASK = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_CHARSET |
                            CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;
constexpr int TWIPS_PER_INCH = 1440;
constexpr int PIXELS_PER_INCH = 96;

bool SameFormat(const CHARFORMATA& a, const CHARFORMATA& b)
{
    return a.dwEffects == b.dwEffects && a.yHeight == b.yHeight && a.yOffset == b.yOffset &&
           a.crTextColor == b.crTextColor && a.bCharSet == b.bCharSet &&
           std::strncmp(a.szFaceName, b.szFaceName, LF_FACESIZE) == 0;
}

// Takes the attributes `change` names in its mask over onto `format`.
CHARFORMATA Apply(CHARFORMATA format, const CHARFORMATA& change)
{
    const DWORD effects = change.dwMask & EFFECT_BITS;
    format.dwEffects = (format.dwEffects & ~effects) | (change.dwEffects & effects);
    if (change.dwMask & CFM_COLOR) {
        format.crTextColor = change.crTextColor;
        format.dwEffects = (format.dwEffects & ~CFE_AUTOCOLOR) | (change.dwEffects & CFE_AUTOCOLOR);
    }
    if (change.dwMask & CFM_FACE) {
        std::memcpy(format.szFaceName, change.szFaceName, LF_FACESIZE);
        format.szFaceName[LF_FACESIZE - 1] = '\0';
    }
    if ((change.dwMask & CFM_SIZE) && change.yHeight > 0)
        format.yHeight = change.yHeight;
    if (change.dwMask & CFM_OFFSET)
        format.yOffset = change.yOffset;
    if (change.dwMask & CFM_CHARSET)
        format.bCharSet = change.bCharSet;
    return format;
}

// The mask bits of the attributes in which two formats agree.
DWORD Agreement(const CHARFORMATA& a, const CHARFORMATA& b)
{
    DWORD mask = FULL_MASK & ~((a.dwEffects ^ b.dwEffects) & EFFECT_BITS);
    if (a.crTextColor != b.crTextColor || ((a.dwEffects ^ b.dwEffects) & CFE_AUTOCOLOR))
        mask &= ~CFM_COLOR;
    if (std::strncmp(a.szFaceName, b.szFaceName, LF_FACESIZE) != 0)
        mask &= ~CFM_FACE;
    if (a.yHeight != b.yHeight)
        mask &= ~CFM_SIZE;
    if (a.yOffset != b.yOffset)
        mask &= ~CFM_OFFSET;
    if (a.bCharSet != b.bCharSet)
        mask &= ~CFM_CHARSET;
    return mask;
}

// The formats in use, numbered as the model's styles (0 is the default format), and a font for
// each.
class RichFormats final : public EditStyleSource {
public:
    RichFormats() { SetDefaultFromFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))); }

    HFONT Font(int style) override
    {
        GdiObject<HFONT>& font = m_fonts[style];
        if (!font)
            font.Reset(MakeFont(Format(style)));
        return font.Get();
    }

    COLORREF TextColor(int style) override
    {
        const CHARFORMATA& format = Format(style);
        return (format.dwEffects & CFE_AUTOCOLOR) ? CLR_INVALID : format.crTextColor;
    }

    [[nodiscard]] const CHARFORMATA& Format(int style) const
    {
        return m_formats.at(static_cast<std::size_t>(style) < m_formats.size() ? static_cast<std::size_t>(style) : 0);
    }

    int Intern(const CHARFORMATA& format)
    {
        for (std::size_t i = 0; i < m_formats.size(); ++i)
            if (SameFormat(m_formats[i], format))
                return static_cast<int>(i);
        m_formats.push_back(format);
        return static_cast<int>(m_formats.size() - 1);
    }

    void SetDefault(const CHARFORMATA& format)
    {
        m_formats.at(0) = format;
        m_fonts.erase(0);
    }

    void SetDefaultFromFont(HFONT font)
    {
        LOGFONTA lf{};
        if (!font || !GetObjectA(font, sizeof lf, &lf))
            return;
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = FULL_MASK;
        format.dwEffects = CFE_AUTOCOLOR | (lf.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (lf.lfItalic ? CFE_ITALIC : 0) |
                           (lf.lfUnderline ? CFE_UNDERLINE : 0) | (lf.lfStrikeOut ? CFE_STRIKEOUT : 0);
        const LONG pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        format.yHeight = MulDiv(pixels, TWIPS_PER_INCH, PIXELS_PER_INCH);
        format.bCharSet = lf.lfCharSet;
        std::memcpy(format.szFaceName, lf.lfFaceName, LF_FACESIZE);
        if (m_formats.empty())
            m_formats.push_back(format);
        else
            SetDefault(format);
    }

private:
    static HFONT MakeFont(const CHARFORMATA& format)
    {
        LOGFONTA lf{};
        // Rounded, as a point size becomes pixels everywhere else: 8 pt is 11 px, not 10.
        lf.lfHeight = -MulDiv(format.yHeight, PIXELS_PER_INCH, TWIPS_PER_INCH);
        lf.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
        lf.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
        lf.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
        lf.lfCharSet = format.bCharSet;
        std::memcpy(lf.lfFaceName, format.szFaceName, LF_FACESIZE);
        return CreateFontIndirectA(&lf);
    }


    std::vector<CHARFORMATA> m_formats;
    std::map<int, GdiObject<HFONT>> m_fonts;
};

RichFormats& FormatsOf(EditControl& edit);

class RichEdit {
public:
    explicit RichEdit(EditControl& edit) : m_edit(edit), m_formats(FormatsOf(edit)) {}

    void SetCharFormat(WPARAM scope, const CHARFORMATA& change)
    {
        EditModel& model = m_edit.Model();
        const auto restyle = [&](std::size_t from, std::size_t to) {
            model.Restyle(from, to, [&](int style) { return m_formats.Intern(Apply(m_formats.Format(style), change)); });
        };
        if (scope & SCF_ALL) {
            restyle(0, model.Length());
            if (model.Length() == 0)
                m_formats.SetDefault(Apply(m_formats.Format(0), change));
        } else if (scope & SCF_SELECTION) {
            if (model.HasSelection())
                restyle(model.SelStart(), model.SelEnd());
            else
                m_edit.SetInsertStyle(m_formats.Intern(Apply(m_formats.Format(InsertionStyle()), change)));
        } else {
            m_formats.SetDefault(Apply(m_formats.Format(0), change));
        }
        m_edit.StylesChanged();
    }

    DWORD GetCharFormat(WPARAM scope, CHARFORMATA& out) const
    {
        const EditModel& model = m_edit.Model();
        if (!(scope & SCF_SELECTION)) {
            Copy(m_formats.Format(0), FULL_MASK, out);
            return FULL_MASK;
        }
        if (!model.HasSelection()) {
            Copy(m_formats.Format(InsertionStyle()), FULL_MASK, out);
            return FULL_MASK;
        }
        const CHARFORMATA& first = m_formats.Format(model.StyleAt(model.SelStart()));
        DWORD mask = FULL_MASK;
        std::size_t pos = 0;
        for (const EditModel::Run& run : model.Runs()) {
            if (pos < model.SelEnd() && pos + run.length > model.SelStart())
                mask &= Agreement(first, m_formats.Format(run.style));
            pos += run.length;
        }
        Copy(first, mask, out);
        return mask;
    }

private:
    [[nodiscard]] int InsertionStyle() const
    {
        const EditModel& model = m_edit.Model();
        return model.SelStart() > 0 ? model.StyleAt(model.SelStart() - 1) : model.StyleAt(0);
    }

    static void Copy(const CHARFORMATA& format, DWORD mask, CHARFORMATA& out)
    {
        const UINT size = out.cbSize;
        out = format;
        out.cbSize = size;
        out.dwMask = mask;
    }

    EditControl& m_edit;
    RichFormats& m_formats;
};

// Only a RichEditControl gives an edit its formats, so the cast holds.
RichFormats& FormatsOf(EditControl& edit) { return *static_cast<RichFormats*>(edit.Styles()); }

LRESULT RichMessage(EditControl& edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RichEdit rich(edit);
    switch (msg) {
    case EM_EXGETSEL:
        if (auto* range = reinterpret_cast<CHARRANGE*>(lParam)) {
            range->cpMin = static_cast<LONG>(edit.Model().SelStart());
            range->cpMax = static_cast<LONG>(edit.Model().SelEnd());
        }
        return 0;
    case EM_EXSETSEL: {
        const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
        if (!range)
            return 0;
        const std::size_t length = edit.Model().Length();
        if (range->cpMin < 0)
            edit.SetSelection(edit.Model().Caret(), edit.Model().Caret(), true);
        else
            edit.SetSelection(static_cast<std::size_t>(range->cpMin),
                              range->cpMax < 0 ? length : static_cast<std::size_t>(range->cpMax), true);
        return static_cast<LRESULT>(edit.Model().SelEnd());
    }
    case EM_EXLIMITTEXT:
        return edit.EditControl::Handle(EM_LIMITTEXT, static_cast<WPARAM>(lParam), 0);
    case EM_EXLINEFROMCHAR:
        return edit.EditControl::Handle(EM_LINEFROMCHAR, static_cast<WPARAM>(lParam), 0);
    case EM_SETCHARFORMAT:
        if (!lParam)
            return FALSE;
        rich.SetCharFormat(wParam, *reinterpret_cast<const CHARFORMATA*>(lParam));
        return TRUE;
    case EM_GETCHARFORMAT:
        return lParam ? static_cast<LRESULT>(rich.GetCharFormat(wParam, *reinterpret_cast<CHARFORMATA*>(lParam))) : 0;
    case EM_SETEVENTMASK: {
        const DWORD old = edit.EventMask();
        edit.SetEventMask(static_cast<DWORD>(lParam));
        return static_cast<LRESULT>(old);
    }
    case EM_GETEVENTMASK:
        return static_cast<LRESULT>(edit.EventMask());
    case EM_SETBKGNDCOLOR: {
        const COLORREF old = edit.Background();
        edit.SetBackground(wParam ? GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(lParam));
        return static_cast<LRESULT>(old);
    }
    case EM_HIDESELECTION:
        return 0;
    case WM_SETFONT:
        FormatsOf(edit).SetDefaultFromFont(reinterpret_cast<HFONT>(wParam));
        return edit.EditControl::Handle(msg, wParam, lParam);
    default:
        return edit.EditControl::Handle(msg, wParam, lParam);
    }
}

// An edit with styles, and the rich edit's own messages before the edit's.
class RichEditControl final : public EditControl {
public:
    explicit RichEditControl(HWND hwnd) : EditControl(hwnd) { MakeRich(std::make_unique<RichFormats>()); }

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) override { return RichMessage(*this, msg, wParam, lParam); }
};

} // namespace

void RegisterRichEditClass()
{
    (void)RegisterControlInstanceClass<RichEditControl>(RICHEDIT_CLASSA, CS_DBLCLKS, IDC_IBEAM);
}
