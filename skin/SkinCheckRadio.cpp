#include "skin/SkinCheckRadio.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Button.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"

#include <algorithm>
#include <cctype>

namespace {

// Between the box and its caption, as the plain check boxes leave it.
constexpr int LABEL_GAP = 4;

std::string LowerEnum(const TControl& control, std::string_view name)
{
    std::string value = GetEnumProp(control, name);
    for (char& c : value)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return value;
}

// Sent by data-aware check boxes when their field changes.
constexpr UINT CM_DATACHANGED = 0xB0D0;

} // namespace

int CheckFrameIndex(TCheckMark mark, bool disabled, int frameCount, bool radio)
{
    const int count = std::max(frameCount, 1);
    const bool grouped = radio ? count == 8 : count == 12;
    if (radio && mark == cmIndeterminate)
        mark = cmChecked;
    int index = 0;
    if (grouped)
        index = mark * 4 + 1 + (disabled ? 3 : 0);
    else if (mark == cmIndeterminate)
        index = 4;
    else
        index = (mark == cmChecked ? 2 : 1) + (disabled ? 2 : 0);
    return std::clamp(index, 1, count);
}

void TSkinCheckControl::ControlAttached()
{
    m_rememberedCheck = -1;
    m_transparent = TransparentBackground();
}

TBitmap* TSkinCheckControl::Picture() const
{
    if (!m_data)
        return nullptr;
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    return m_radio ? &buttons.RadioButton : &buttons.CheckButton;
}

int TSkinCheckControl::PictureFrames() const
{
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    return std::max(m_radio ? buttons.RadioButtonFrame : buttons.CheckButtonFrame, 1);
}

bool TSkinCheckControl::ImageMode() const
{
    const TBitmap* picture = Picture();
    return picture && !picture->Empty();
}

bool TSkinCheckControl::BeforeMessage(TMessage& message)
{
    const bool answer = TSkinHook::BeforeMessage(message);
    if (!answer || !m_control)
        return answer;
    if ((message.Msg == WM_PAINT || message.Msg == WM_PRINT) && ImageMode()) {
        HandlePaint(message);
        return false;
    }
    if (message.Msg == WM_ERASEBKGND && m_transparent) {
        HandleEraseBackground(message);
        return false;
    }
    return answer;
}

void TSkinCheckControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case BM_SETCHECK:
        m_rememberedCheck = static_cast<int>(std::min<WPARAM>(message.WParam, BST_INDETERMINATE));
        Repaint();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_DATACHANGED:
        Repaint();
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

TCheckMark TSkinCheckBox::Mark() const
{
    const auto state = static_cast<UINT>(SendMessageA(m_handle, BM_GETSTATE, 0, 0));
    if (state & BST_INDETERMINATE)
        return cmIndeterminate;
    TCheckMark mark = (state & BST_CHECKED) ? cmChecked : cmUnchecked;
    if (!m_control)
        return mark;
    if (IsPublishedProp(*m_control, "State")) {
        const std::string value = LowerEnum(*m_control, "State");
        if (value.find("uncheck") != std::string::npos)
            mark = cmUnchecked;
        else if (value.find("check") != std::string::npos)
            mark = cmChecked;
        else if (value.find("gray") != std::string::npos)
            mark = cmIndeterminate;
    } else if (IsPublishedProp(*m_control, "Checked")) {
        mark = LowerEnum(*m_control, "Checked") == "true" ? cmChecked : cmUnchecked;
    }
    if (IsPublishedProp(*m_control, "DataField") && m_rememberedCheck >= 0)
        mark = static_cast<TCheckMark>(m_rememberedCheck);
    if (IsPublishedProp(*m_control, "DataBinding"))
        mark = cmUnchecked;
    return mark;
}

TCheckMark TSkinRadioButton::Mark() const
{
    TCheckMark mark = (SendMessageA(m_handle, BM_GETCHECK, 0, 0) & 1) ? cmChecked : cmUnchecked;
    if (m_control && IsPublishedProp(*m_control, "Checked"))
        mark = LowerEnum(*m_control, "Checked") == "true" ? cmChecked : cmUnchecked;
    return mark;
}

void TSkinCheckControl::PaintSkin(HDC dc, const RECT& rect)
{
    TBitmap* picture = Picture();
    if (!picture || picture->Empty())
        return;
    ReadWindowState();
    const int frames = PictureFrames();
    const int boxWidth = std::max(picture->Width() / frames, 1);
    const int boxHeight = picture->Height();
    const int top = rect.top + (rect.bottom - rect.top - boxHeight) / 2;
    const bool leftText = (GetWindowLongA(m_handle, GWL_STYLE) & BS_LEFTTEXT) != 0;
    RECT box{};
    RECT text{};
    UINT flags = BiDiTextFlags(0);
    if (!leftText) {
        box = RECT{rect.left, top, rect.left + boxWidth, top + boxHeight};
        text = RECT{box.right + LABEL_GAP, rect.top, rect.right, rect.bottom};
    } else {
        const int right = m_radio ? rect.right - 1 : rect.right;
        box = RECT{right - boxWidth, top, right, top + boxHeight};
        text = RECT{rect.left, rect.top, box.left - LABEL_GAP, rect.bottom};
        if (flags & DT_RTLREADING)
            flags |= DT_RIGHT;
    }
    if (!m_transparent)
        FillFace(dc, rect);
    BlitStripFrame(dc, box, frames, CheckFrameIndex(Mark(), !m_enabled, frames, m_radio), *picture);

    const std::string caption = CaptionText();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0));
    TColor colour = m_data->Elements().Colours().ButtonText;
    if (m_control && m_control->Font()) {
        font = m_control->Font()->Handle();
        colour = m_enabled ? m_control->Font()->Color() : clGrayText;
    } else if (!m_enabled) {
        colour = clGrayText;
    }
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const COLORREF oldText = SetTextColor(dc, ColorToRGB(colour));
    const COLORREF oldBack = SetBkColor(dc, ColorToRGB(m_data->Elements().Colours().ButtonFace));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const UINT drawFlags = DT_EXPANDTABS | DT_WORDBREAK | flags;
    RECT measured = text;
    (void)DrawTextA(dc, caption.c_str(), -1, &measured, drawFlags | DT_CALCRECT | DT_NOCLIP);
    OffsetRect(&text, 0, ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2);
    if (m_focused && !caption.empty()) {
        RECT focus = measured;
        OffsetRect(&focus, 0, text.top - measured.top);
        if (flags & DT_RIGHT)
            OffsetRect(&focus, text.right - measured.right, 0);
        InflateRect(&focus, 2, 1);
        IntersectRect(&focus, &focus, &rect);
        (void)DrawFocusRect(dc, &focus);
    }
    (void)DrawTextA(dc, caption.c_str(), -1, &text, drawFlags);
    (void)SetBkMode(dc, oldMode);
    (void)SetBkColor(dc, oldBack);
    (void)SetTextColor(dc, oldText);
    if (oldFont)
        (void)SelectObject(dc, oldFont);
}
