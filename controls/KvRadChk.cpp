#include "controls/KvRadChk.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Button.h"
#include "platform/winapi/user/WinUser.h"

namespace {

void DescribeKvCustomGlyphButton(TClassBuilder& c)
{
    c.Enum("Alignment", LeftRightTypeInfo(), &TKvCustomGlyphButton::Alignment, &TKvCustomGlyphButton::SetAlignment)
        .Default(taRightJustify);
    c.Object("CustomGlyphs", &TKvCustomGlyphButton::CustomGlyphs, &TKvCustomGlyphButton::SetCustomGlyphs);
    c.Boolean("UseCustomGlyphs", &TKvCustomGlyphButton::UseCustomGlyphs, &TKvCustomGlyphButton::SetUseCustomGlyphs)
        .Default(false);
    c.Ordinal("DisabledColor", ColorTypeInfo(), &TKvCustomGlyphButton::DisabledColor,
              &TKvCustomGlyphButton::SetDisabledColor)
        .Default(clBtnFace);
    c.Ordinal("FillColor", ColorTypeInfo(), &TKvCustomGlyphButton::FillColor, &TKvCustomGlyphButton::SetFillColor)
        .Default(clWindow);
    c.Ordinal("FocusColor", ColorTypeInfo(), &TKvCustomGlyphButton::FocusColor, &TKvCustomGlyphButton::SetFocusColor)
        .Default(clWindow);
    c.Ordinal("FrameColor", ColorTypeInfo(), &TKvCustomGlyphButton::FrameColor, &TKvCustomGlyphButton::SetFrameColor)
        .Default(clBtnShadow);
    c.Object("FrameController", &TKvCustomGlyphButton::FrameController, &TKvCustomGlyphButton::SetFrameController);
    c.Set("FrameControllerNotifications", FrameControllerNotificationsTypeInfo(),
          &TKvCustomGlyphButton::FrameControllerNotifications, &TKvCustomGlyphButton::SetFrameControllerNotifications)
        .Default(AllFrameControllerNotifications);
    c.Enum("HotTrackStyle", KvButtonHotTrackStyleTypeInfo(), &TKvCustomGlyphButton::HotTrackStyle,
           &TKvCustomGlyphButton::SetHotTrackStyle)
        .Default(htsInterior);
    c.Boolean("ReadOnly", &TKvCustomGlyphButton::ReadOnly, &TKvCustomGlyphButton::SetReadOnly).Default(false);
    c.Ordinal("ReadOnlyColor", ColorTypeInfo(), &TKvCustomGlyphButton::ReadOnlyColor,
              &TKvCustomGlyphButton::SetReadOnlyColor)
        .Default(clInfoBk);
    c.Boolean("ReadOnlyColorOnFocus", &TKvCustomGlyphButton::ReadOnlyColorOnFocus,
              &TKvCustomGlyphButton::SetReadOnlyColorOnFocus)
        .Default(false);
    c.Boolean("TabOnEnter", &TKvCustomGlyphButton::TabOnEnter, &TKvCustomGlyphButton::SetTabOnEnter).Default(false);
    c.Boolean("Transparent", &TKvCustomButton::Transparent, &TKvCustomButton::SetTransparent).Default(false);
    c.Ordinal("TransparentColor", ColorTypeInfo(), &TKvCustomGlyphButton::TransparentColor,
              &TKvCustomGlyphButton::SetTransparentColor)
        .Default(clOlive);
    c.Ordinal("WinMaskColor", ColorTypeInfo(), &TKvCustomGlyphButton::WinMaskColor,
              &TKvCustomGlyphButton::SetWinMaskColor)
        .Default(clLime);
}

void DescribeKvCheckBox(TClassBuilder& c)
{
    c.Object("Action", &TKvCustomButton::Action, &TKvCustomButton::SetAction);
    c.Enum("AlignmentVertical", AlignmentVerticalTypeInfo(), &TKvCustomButton::AlignmentVertical,
           &TKvCustomButton::SetAlignmentVertical)
        .Default(avTop);
    c.Boolean("AllowGrayed", &TKvCustomCheckBox::AllowGrayed, &TKvCustomCheckBox::SetAllowGrayed).Default(false);
    c.Boolean("Checked", &TKvCustomCheckBox::Checked, &TKvCustomCheckBox::SetChecked)
        .Default(false)
        .StoredWhen(&TKvCustomGlyphButton::IsCheckedStored);
    c.Enum("State", CheckBoxStateTypeInfo(), &TKvCustomCheckBox::State, &TKvCustomCheckBox::SetState)
        .Default(cbUnchecked);
}

[[nodiscard]] TRect BitmapRect(const TBitmap& bitmap) { return Rect(0, 0, bitmap.Width(), bitmap.Height()); }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomGlyphButton, TKvCustomButton, nullptr, DescribeKvCustomGlyphButton)
CLASSLIB_IMPLEMENT_CLASS(TKvCustomCheckBox, TKvCustomGlyphButton, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvCheckBox, TKvCustomCheckBox, ComponentCreator<TKvCheckBox>, DescribeKvCheckBox)

const TTypeInfo& KvButtonHotTrackStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvButtonHotTrackStyle", {"htsInterior", "htsFrame"});
    return info;
}

void RegisterKvRadChkClasses() { RegisterClass(TKvCheckBox::StaticClass()); }

// ---- TKvCustomGlyphButton -----------------------------------------------------------------------

TKvCustomGlyphButton::TKvCustomGlyphButton(TComponent* owner)
    : TKvCustomButton(owner), m_customGlyphs(std::make_unique<TBitmap>()), m_background(std::make_unique<TBitmap>())
{
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption, csReplicatable});
    m_customGlyphs->SetOnChange(TNotifyEvent(this, &TKvCustomGlyphButton::CustomGlyphsChanged));
}

TKvCustomGlyphButton::~TKvCustomGlyphButton() = default;

void TKvCustomGlyphButton::SetFrameController(TKvFrameController* controller) { m_frameController.Set(controller); }

void TKvCustomGlyphButton::Notification(TComponent* component, TOperation operation)
{
    TKvCustomButton::Notification(component, operation);
    m_frameController.Notification(component, operation);
}

bool TKvCustomGlyphButton::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TKvCustomButton::GetInterface(iid, object);
}

void TKvCustomGlyphButton::FrameControllerChanged()
{
    const TKvFrameController* controller = m_frameController.Controller();
    if (!controller || !controller->FrameVisible())
        return;
    StoreHotTrack(true);
    if (m_notifications.Contains(fcpColor))
        m_fillColor = controller->Color();
    if (m_notifications.Contains(fcpFrameColor))
        m_frameColor = controller->FrameColor();
    if (m_notifications.Contains(fcpFocusColor))
        m_focusColor = controller->FocusColor();
    if (m_notifications.Contains(fcpDisabledColor))
        m_disabledColor = controller->DisabledColor();
    if (m_notifications.Contains(fcpReadOnlyColor))
        m_readOnlyColor = controller->ReadOnlyColor();
    if (m_notifications.Contains(fcpReadOnlyColorOnFocus))
        m_readOnlyColorOnFocus = controller->ReadOnlyColorOnFocus();
    if (m_notifications.Contains(fcpFrameHotTrack))
        m_hotTrackStyle = controller->FrameHotTrack() ? htsFrame : htsInterior;
    if (m_notifications.Contains(fcpFrameHotColor) && m_hotTrackStyle == htsFrame)
        SetHotTrackColor(controller->FrameHotColor());
    Invalidate();
}

void TKvCustomGlyphButton::SetAlignment(TLeftRight value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetCustomGlyphs(TBitmap* value) { m_customGlyphs->Assign(value); }

void TKvCustomGlyphButton::CustomGlyphsChanged(TObject*)
{
    SetUseCustomGlyphs(!m_customGlyphs->Empty());
    // A new strip of another size while custom glyphs are already in use: its cells are measured
    // afresh (the setter above changes nothing then).
    UpdateGlyphSize();
    m_rebuildBackground = true;
    Invalidate();
}

void TKvCustomGlyphButton::SetUseCustomGlyphs(bool value)
{
    if (value == m_useCustomGlyphs)
        return;
    m_useCustomGlyphs = value;
    UpdateGlyphSize();
    Invalidate();
}

void TKvCustomGlyphButton::UpdateGlyphSize()
{
    if (m_useCustomGlyphs)
        m_glyphSize = SIZE{m_customGlyphs->Width() / m_customGlyphCells, m_customGlyphs->Height()};
    else
        m_glyphSize = SIZE{13, 13};
}

void TKvCustomGlyphButton::SetFillColor(TColor value)
{
    if (value == m_fillColor)
        return;
    m_fillColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetFocusColor(TColor value)
{
    if (value == m_focusColor)
        return;
    m_focusColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetFrameColor(TColor value)
{
    if (value == m_frameColor)
        return;
    m_frameColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetDisabledColor(TColor value)
{
    if (value == m_disabledColor)
        return;
    m_disabledColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetReadOnly(bool value)
{
    if (value == m_readOnly)
        return;
    m_readOnly = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetReadOnlyColor(TColor value)
{
    if (value == m_readOnlyColor)
        return;
    m_readOnlyColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetTransparentColor(TColor value)
{
    if (value == m_transparentColor)
        return;
    m_transparentColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetWinMaskColor(TColor value)
{
    if (value == m_winMaskColor)
        return;
    m_winMaskColor = value;
    Invalidate();
}

void TKvCustomGlyphButton::SetTransparent(bool value)
{
    m_rebuildBackground = true;
    TKvCustomButton::SetTransparent(value);
}

TRect TKvCustomGlyphButton::GlyphRect() const
{
    // Right-to-left reading is not supported by the class library: the reading order is always
    // left to right, so the glyph stands left of a right-justified caption.
    const int x = m_alignment == taRightJustify ? 0 : Width() - m_glyphSize.cx;
    int y = 2;
    switch (AlignmentVertical()) {
    case avTop: break;
    case avCenter: y = (Height() - m_glyphSize.cy) / 2; break;
    case avBottom: y = Height() - m_glyphSize.cy - 2; break;
    }
    return Rect(x, y, x + m_glyphSize.cx, y + m_glyphSize.cy);
}

TCheckDrawState TKvCustomGlyphButton::DrawState() const
{
    if (!Enabled())
        return cdsDisabled;
    if (PressedDisplay())
        return cdsPressed;
    return MouseOver() ? cdsHot : cdsNormal;
}

void TKvCustomGlyphButton::ExtractGlyphCell(int index, TBitmap& dest, int height, int width, TBitmap& strip)
{
    dest.SetSize(width, height);
    dest.Canvas()->CopyRect(Rect(0, 0, width, height), strip.Canvas(), Rect(index * width, 0, (index + 1) * width, height));
}

void TKvCustomGlyphButton::DrawGlyph(TCanvas* canvas)
{
    TCanvas& target = canvas ? *canvas : *Canvas();
    const TRect at = GlyphRect();
    const TRect cell = Rect(0, 0, m_glyphSize.cx, m_glyphSize.cy);
    TBitmap glyph;
    glyph.SetSize(cell.right, cell.bottom);
    TBitmap prepared;
    prepared.SetSize(cell.right, cell.bottom);
    GetGlyph(glyph);
    if (Transparent()) {
        prepared.Canvas()->CopyRect(cell, &target, at);
        DrawMaskedBitmap(*prepared.Canvas(), glyph, cell, cell, m_transparentColor);
    } else {
        prepared.Canvas()->Brush()->SetColor(Color());
        prepared.Canvas()->BrushCopy(cell, &glyph, cell, m_transparentColor);
    }
    if (!m_useCustomGlyphs) {
        target.Draw(at.left, at.top, &prepared);
        return;
    }
    TBitmap result;
    result.SetSize(cell.right, cell.bottom);
    result.Canvas()->Brush()->SetColor(clWindow);
    result.Canvas()->BrushCopy(cell, &prepared, cell, m_winMaskColor);
    target.Draw(at.left, at.top, &result);
}

void TKvCustomGlyphButton::RebuildBackground()
{
    SizeToControl(*m_background, *this);
    TCanvas& canvas = *m_background->Canvas();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(BitmapRect(*m_background));
    if (Transparent())
        PaintParentBackgroundOnCanvas(*this, canvas, false);
    m_rebuildBackground = false;
}

void TKvCustomGlyphButton::Paint()
{
    if (ComponentState().Contains(csDestroying))
        return;
    TBitmap offScreen;
    SizeToControl(offScreen, *this);
    TCanvas& canvas = *offScreen.Canvas();
    canvas.SetFont(Font());
    canvas.Brush()->SetColor(Color());
    if (m_rebuildBackground)
        RebuildBackground();
    canvas.Draw(0, 0, m_background.get());
    DrawGlyph(&canvas);
    TRect caption = ClientRect();
    (void)InflateRect(&caption, -1, -1);
    if (GlyphRect().left == 0)
        caption.left += m_glyphSize.cx + 4;
    else
        caption.right -= m_glyphSize.cx + 4;
    DrawCaption(canvas, caption, DT_EXPANDTABS | DT_WORDBREAK);
    if (Focused() && !Caption().empty())
        PaintFocusBorder(canvas, caption);
    Canvas()->Draw(0, 0, &offScreen);
}

void TKvCustomGlyphButton::PaintFocusBorder(TCanvas& canvas, TRect rect)
{
    (void)InflateRect(&rect, 1, 1);
    const int width = std::min<int>(rect.right - rect.left, canvas.TextWidth(Trim(Caption())) + 3);
    rect.right = rect.left + width;
    DrawDottedOutline(canvas, rect);
}

void TKvCustomGlyphButton::EraseTransparent(HDC dc) { PaintParentBackground(*this, dc, false); }

void TKvCustomGlyphButton::DefineProperties(TFiler& filer)
{
    TKvCustomButton::DefineProperties(filer);
    // Older form data called HotTrack "Flat".
    filer.DefineProperty("Flat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); }, nullptr, false);
}

void TKvCustomGlyphButton::KeyPress(char& key)
{
    if (m_tabOnEnter && key == '\r') {
        key = 0;
        (void)PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    TKvCustomButton::KeyPress(key);
}

void TKvCustomGlyphButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    m_usingMouse = true;
    TKvCustomButton::MouseDown(button, shift, x, y);
}

void TKvCustomGlyphButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (Outlives([&] { TKvCustomButton::MouseUp(button, shift, x, y); }))
        m_usingMouse = false;
}

void TKvCustomGlyphButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
    case WM_SIZE:
        TKvCustomButton::Dispatch(message);
        m_rebuildBackground = true;
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED:
        TKvCustomButton::Dispatch(message);
        m_rebuildBackground = true;
        Invalidate();
        return;
    default:
        break;
    }
    TKvCustomButton::Dispatch(message);
}

// ---- TKvCustomCheckBox --------------------------------------------------------------------------

TKvCustomCheckBox::TKvCustomCheckBox(TComponent* owner) : TKvCustomGlyphButton(owner)
{
    SetAlignmentVertical(avTop);
    SetCustomGlyphCells(9);
}

void TKvCustomCheckBox::SetState(TCheckBoxState value)
{
    if (value == m_state)
        return;
    m_state = value;
    UpdateDisplay();
    // Form data sets the state before the form's components all exist: no OnClick then.
    if (!IsLoading())
        Click();
}

void TKvCustomCheckBox::ButtonClicked()
{
    if (UsingMouse() && ReadOnly())
        return;
    switch (m_state) {
    case cbUnchecked: SetState(m_allowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

int TKvCustomCheckBox::CustomGlyphCell() const
{
    const int state = static_cast<int>(m_state);
    if (!Enabled())
        return 6 + state;
    return PressedDisplay() ? 3 + state : state;
}

void TKvCustomCheckBox::GetGlyph(TBitmap& glyph)
{
    const TRect cell = Rect(0, 0, GlyphSize().cx, GlyphSize().cy);
    if (UseCustomGlyphs()) {
        ExtractGlyphCell(CustomGlyphCell(), glyph, cell.bottom, cell.right, *CustomGlyphs());
        return;
    }
    if (!HotTrack()) {
        DrawFrameControlGlyph(glyph);
        return;
    }
    TCheckGlyph look;
    look.State = m_state;
    look.DrawState = DrawState();
    look.Focused = Focused();
    look.HotTrackStyle = HotTrackStyle();
    look.FrameColor = FrameColor();
    look.CheckColor = HighlightColor();
    look.FillColor = FillColor();
    look.FocusColor = FocusColor();
    look.DisabledColor = DisabledColor();
    look.HotDark = HotDarkColor();
    look.HotLight = HotLightColor();
    look.ReadOnly = ReadOnly();
    look.ReadOnlyColorOnFocus = ReadOnlyColorOnFocus();
    look.ReadOnlyColor = ReadOnlyColor();
    DrawCheckGlyph(*glyph.Canvas(), cell, look);
}

void TKvCustomCheckBox::DrawFrameControlGlyph(TBitmap& glyph)
{
    UINT state = DFCS_BUTTONCHECK;
    if (m_state == cbChecked)
        state |= DFCS_CHECKED;
    else if (m_state == cbGrayed)
        state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (PressedDisplay())
        state |= DFCS_PUSHED;
    if (!Enabled())
        state |= DFCS_INACTIVE;
    RECT rect = BitmapRect(glyph);
    (void)DrawFrameControl(glyph.Canvas()->Handle(), &rect, DFC_BUTTON, state);
}

void TKvCustomCheckBox::KeyDown(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TKvCustomGlyphButton::KeyDown(key, shift); }))
        return;
    if (ReadOnly() || (key != VK_ESCAPE && key != VK_SPACE))
        return;
    m_keyToggle = key == VK_SPACE;
    SetPressedDisplay(key == VK_SPACE);
    UpdateDisplay();
}

void TKvCustomCheckBox::KeyUp(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TKvCustomGlyphButton::KeyUp(key, shift); }))
        return;
    if (ReadOnly() || key != VK_SPACE)
        return;
    SetPressedDisplay(false);
    UpdateDisplay();
    if (m_keyToggle) {
        m_keyToggle = false;
        ButtonClicked();
    }
}

void TKvCustomCheckBox::DoExit()
{
    if (!Outlives([this] { TKvCustomGlyphButton::DoExit(); }))
        return;
    m_keyToggle = false;
    SetPressedDisplay(false);
    UpdateDisplay();
}

void TKvCustomCheckBox::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case BM_GETCHECK:
        message.Result = static_cast<LRESULT>(m_state);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(MessageKey(message), Caption()) && CanFocus()) {
            message.Result = 1;
            if (Outlives([this] { SetFocus(); }) && Focused() && !ReadOnly() && Outlives([this] { ButtonClicked(); }))
                UpdateDisplay();
            return;
        }
        break;
    default:
        break;
    }
    TKvCustomGlyphButton::Dispatch(message);
}
