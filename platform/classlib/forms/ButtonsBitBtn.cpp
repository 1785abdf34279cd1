#include "platform/classlib/forms/ButtonsBitBtn.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/user/Button.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"

#include <array>

namespace {

struct KindDefaults {
    const char* caption;
    TModalResult modalResult;
};

constexpr std::array<KindDefaults, 11> KIND_DEFAULTS{{
    {"", mrNone},
    {"OK", mrOk},
    {"Cancel", mrCancel},
    {"&Help", mrNone},
    {"&Yes", mrYes},
    {"&No", mrNo},
    {"&Close", mrNone},
    {"Abort", mrAbort},
    {"&Retry", mrRetry},
    {"&Ignore", mrIgnore},
    {"&All", mrAll},
}};

void DescribeBitBtn(TClassBuilder& c)
{
    c.Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
    c.Enum("Kind", BitBtnKindTypeInfo(), &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    c.Enum("Layout", ButtonLayoutTypeInfo(), &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    c.Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    c.Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
    c.Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TBitBtn, TButton, ComponentCreator<TBitBtn>, DescribeBitBtn)

const TTypeInfo& BitBtnKindTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry",
                        "bkIgnore", "bkAll"});
    return info;
}

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner), m_glyph(TNotifyEvent::FromFunction([this](TObject*) { Invalidate(); }))
{
}

TBitBtn::~TBitBtn() = default;

// Form data may hold a caption of its own before the kind: it stays.
void TBitBtn::SetKind(TBitBtnKind kind)
{
    if (kind == m_kind)
        return;
    if (kind != bkCustom) {
        const KindDefaults& defaults = KIND_DEFAULTS.at(static_cast<std::size_t>(kind));
        SetDefault(kind == bkOK || kind == bkYes);
        SetCancel(kind == bkCancel || kind == bkNo);
        if (!IsLoading() || Caption().empty())
            SetCaption(defaults.caption);
        SetModalResult(defaults.modalResult);
    }
    m_kind = kind;
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout)
{
    m_params.layout = layout;
    Invalidate();
}

void TBitBtn::SetMargin(int margin)
{
    m_params.margin = std::max(margin, -1);
    Invalidate();
}

void TBitBtn::SetSpacing(int spacing)
{
    m_params.spacing = std::max(spacing, -1);
    Invalidate();
}

void TBitBtn::Click()
{
    if (m_kind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::CreateParams(TCreateParams& params)
{
    TButton::CreateParams(params);
    params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a double click instead of pressing; the second click of
        // a quick pair should press it again.
        message.Msg = WM_LBUTTONDOWN;
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TButton::Dispatch(message);
}

// An owner-drawn window keeps its type: the default look is this control's own.
void TBitBtn::SetButtonStyle(bool) { Invalidate(); }

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    const SavedDC saved(dc);
    const bool down = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    RECT face = item.rcItem;
    if (focused || Active()) {
        (void)FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        (void)InflateRect(&face, -1, -1);
    }
    (void)DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    RECT content = face;
    (void)InflateRect(&content, -2, -2);
    if (down)
        (void)OffsetRect(&content, 1, 1);
    (void)SelectObject(dc, Font()->Handle());
    (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
    const TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
    m_glyph.Draw(dc, content, Caption(), m_params, state);
    if (focused) {
        RECT focus = face;
        (void)InflateRect(&focus, -3, -3);
        (void)DrawFocusRect(dc, &focus);
    }
}
