#include "controls/KvEdit.h"

#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/GdiOwners.h"


namespace {

void DescribeKvEdit(TClassBuilder& c)
{
    c.String("About", &TKvEdit::About, &TKvEdit::SetAbout).Stored(false);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TKvEdit::Alignment, &TKvEdit::SetAlignment).Default(taLeftJustify);
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor)
        .Default(clWindow)
        .StoredWhen(&TKvEdit::IsColorStored);
    c.Ordinal("DisabledColor", ColorTypeInfo(), &TKvEdit::DisabledColor, &TKvEdit::SetDisabledColor)
        .Default(clBtnFace)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpDisabledColor>);
    c.Ordinal("FocusColor", ColorTypeInfo(), &TKvEdit::FocusColor, &TKvEdit::SetFocusColor)
        .Default(clWindow)
        .StoredWhen(&TKvEdit::IsFocusColorStored);
    c.Ordinal("FrameColor", ColorTypeInfo(), &TKvEdit::FrameColor, &TKvEdit::SetFrameColor).Default(clBtnShadow)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameColor>);
    c.Ordinal("FrameHotColor", ColorTypeInfo(), &TKvEdit::FrameHotColor, &TKvEdit::SetFrameHotColor)
        .Default(clBtnShadow)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameHotColor>);
    c.Boolean("FrameHotTrack", &TKvEdit::FrameHotTrack, &TKvEdit::SetFrameHotTrack).Default(false)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameHotTrack>);
    c.Enum("FrameHotStyle", FrameStyleTypeInfo(), &TKvEdit::FrameHotStyle, &TKvEdit::SetFrameHotStyle)
        .Default(fsFlatBold)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameHotStyle>);
    c.Set("FrameSides", SidesTypeInfo(), &TKvEdit::FrameSides, &TKvEdit::SetFrameSides).Default(AllSides)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameSides>);
    c.Enum("FrameStyle", FrameStyleTypeInfo(), &TKvEdit::FrameStyle, &TKvEdit::SetFrameStyle).Default(fsFlat)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameStyle>);
    c.Boolean("FrameVisible", &TKvEdit::FrameVisible, &TKvEdit::SetFrameVisible).Default(false)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFrameVisible>);
    c.Object("FrameController", &TKvEdit::FrameController, &TKvEdit::SetFrameController);
    c.Set("FrameControllerNotifications", FrameControllerNotificationsTypeInfo(),
          &TKvEdit::FrameControllerNotifications, &TKvEdit::SetFrameControllerNotifications)
        .Default(AllFrameControllerNotifications);
    c.Enum("FramingPreference", FramingPreferenceTypeInfo(), &TKvEdit::FramingPreference,
           &TKvEdit::SetFramingPreference)
        .Default(fpXPThemes)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpFramingPreference>);
    c.Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TKvEdit::SetReadOnly).Default(false);
    c.Ordinal("ReadOnlyColor", ColorTypeInfo(), &TKvEdit::ReadOnlyColor, &TKvEdit::SetReadOnlyColor)
        .Default(clInfoBk)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpReadOnlyColor>);
    c.Boolean("ReadOnlyColorOnFocus", &TKvEdit::ReadOnlyColorOnFocus, &TKvEdit::SetReadOnlyColorOnFocus)
        .Default(false)
        .StoredWhen(&TKvEdit::IsStoredUnlessSupplied<fcpReadOnlyColorOnFocus>);
    c.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    c.Boolean("TabOnEnter", &TKvEdit::TabOnEnter, &TKvEdit::SetTabOnEnter).Default(false);
    c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    c.Event("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown);
    c.Event("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
    c.Event("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);
    c.Event("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
    c.Event("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit);
    c.Event("OnMouseEnter", &TKvEdit::OnMouseEnter, &TKvEdit::SetOnMouseEnter);
    c.Event("OnMouseLeave", &TKvEdit::OnMouseLeave, &TKvEdit::SetOnMouseLeave);
}

constexpr DWORD ALIGNMENT_STYLES[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
constexpr char CTRL_V = 0x16;

bool IsControlChar(unsigned char c) { return c < 0x20 || c == 0x7F; }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomEdit, TCustomMaskEdit, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvEdit, TKvCustomEdit, ComponentCreator<TKvEdit>, DescribeKvEdit)

void RegisterKvEditClasses() { RegisterClass(TKvEdit::StaticClass()); }

TKvCustomEdit::TKvCustomEdit(TComponent* owner)
    : TCustomMaskEdit(owner), m_frameCanvas(std::make_unique<TCanvas>())
{
    TControlStyle style = ControlStyle();
    style.Exclude(csSetCaption);
    style.Include(csCaptureMouse);
    SetControlStyle(style);
}

TKvCustomEdit::~TKvCustomEdit() = default;

// ---- Properties ----------------------------------------------------------------------------------

void TKvCustomEdit::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    RecreateWnd();
}

void TKvCustomEdit::SetDisabledColor(TColor color)
{
    m_disabledColor = color;
    if (!Enabled())
        UpdateColors();
}

void TKvCustomEdit::SetFocusColor(TColor color)
{
    m_focusColor = color;
    if (Focused())
        UpdateColors();
}

void TKvCustomEdit::SetReadOnlyColor(TColor color)
{
    m_readOnlyColor = color;
    if (IsReadOnly())
        UpdateColors();
}

void TKvCustomEdit::SetReadOnlyColorOnFocus(bool onFocus)
{
    if (onFocus == m_readOnlyColorOnFocus)
        return;
    m_readOnlyColorOnFocus = onFocus;
    UpdateColors();
}

void TKvCustomEdit::SetFrameColor(TColor color)
{
    if (color == m_frameColor)
        return;
    m_frameColor = color;
    RefreshFrame();
}

void TKvCustomEdit::SetFrameHotColor(TColor color)
{
    if (color == m_frameHotColor)
        return;
    m_frameHotColor = color;
    RefreshFrame();
}

void TKvCustomEdit::SetFrameHotTrack(bool hotTrack)
{
    if (hotTrack == m_frameHotTrack)
        return;
    m_frameHotTrack = hotTrack;
    if (hotTrack) {
        SetFrameVisible(true);
        // Form data keeps the sides it names.
        if (!IsLoading())
            SetFrameSides(AllSides);
    }
    RefreshFrame();
    Invalidate();
}

void TKvCustomEdit::SetFrameHotStyle(TFrameStyle style)
{
    if (style == m_frameHotStyle)
        return;
    m_frameHotStyle = style;
    RefreshFrame();
}

void TKvCustomEdit::SetFrameSides(TSides sides)
{
    if (sides == m_frameSides)
        return;
    m_frameSides = sides;
    RefreshFrame();
}

void TKvCustomEdit::SetFrameStyle(TFrameStyle style)
{
    if (style == m_frameStyle)
        return;
    m_frameStyle = style;
    RefreshFrame();
}

void TKvCustomEdit::SetFrameVisible(bool visible)
{
    if (visible == m_frameVisible)
        return;
    m_frameVisible = visible;
    if (HandleAllocated())
        RecreateWnd();
}

void TKvCustomEdit::SetFramingPreference(TFramingPreference preference)
{
    if (preference == m_framingPreference)
        return;
    m_framingPreference = preference;
    if (preference == fpCustomFraming)
        RefreshFrame();
}

void TKvCustomEdit::SetReadOnly(bool readOnly)
{
    if (readOnly == IsReadOnly())
        return;
    TCustomEdit::SetReadOnly(readOnly);
    ReadOnlyChanged();
}

// A disabled edit shows its disabled colour in Color, which is not the one to store.
bool TKvCustomEdit::IsColorStored() const
{
    return Enabled() && TControl::IsColorStored() && !SuppliedByController(fcpColor);
}

bool TKvCustomEdit::IsFocusColorStored() const
{
    return ColorToRGB(m_focusColor) != ColorToRGB(Color()) && !SuppliedByController(fcpFocusColor);
}

void TKvCustomEdit::SetFrameController(TKvFrameController* controller) { m_frameController.Set(controller); }

void TKvCustomEdit::Notification(TComponent* component, TOperation operation)
{
    TCustomMaskEdit::Notification(component, operation);
    m_frameController.Notification(component, operation);
}

// ---- State colours and the frame -----------------------------------------------------------------

TColor TKvCustomEdit::StateColor() const
{
    if (!Enabled())
        return m_disabledColor;
    if (Focused())
        return IsReadOnly() && m_readOnlyColorOnFocus ? m_readOnlyColor : m_focusColor;
    return IsReadOnly() ? m_readOnlyColor : m_normalColor;
}

void TKvCustomEdit::UpdateColors()
{
    if (IsLoading())
        return;
    m_updatingColor = true;
    try {
        SetColor(StateColor());
    } catch (...) {
        m_updatingColor = false;
        throw;
    }
    m_updatingColor = false;
}

// A Color set from outside becomes the normal colour, and a focus colour that matched the old
// one moves along with it.
void TKvCustomEdit::TrackColor()
{
    if (m_focusColor == m_normalColor)
        m_focusColor = Color();
    m_normalColor = Color();
}

void TKvCustomEdit::UpdateFrame(bool byMouse, bool inside)
{
    (byMouse ? m_mouseOver : m_focusedIn) = inside;
    if (m_dropButtonVisible) {
        // Only the look of a flat or hot button changes; a pressed one stays as it is.
        if ((m_flatButtons || m_frameHotTrack) && m_dropButtonState != bsDown && HandleAllocated()) {
            TRect strip = WindowInClient();
            if (!m_frameHotTrack)
                strip.left = strip.right - GetSystemMetrics(SM_CXVSCROLL) - 2;
            (void)RedrawWindow(Handle(), &strip, nullptr, RDW_FRAME | RDW_NOERASE | RDW_INVALIDATE);
        }
    } else if (m_frameHotTrack) {
        RefreshFrame();
    }
    UpdateColors();
}

// The whole window in client coordinates: an invalid area that reaches the frame.
TRect TKvCustomEdit::WindowInClient()
{
    const HWND window = Handle();
    RECT bounds{};
    POINT origin{0, 0};
    (void)GetWindowRect(window, &bounds);
    (void)::ClientToScreen(window, &origin);
    OffsetRect(&bounds, -origin.x, -origin.y);
    return bounds;
}

void TKvCustomEdit::RefreshFrame()
{
    if (HandleAllocated())
        RedrawWindowFrame(Handle(), WindowInClient());
}

void TKvCustomEdit::RepaintFrame()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), WM_NCPAINT, 0, 0);
}

void TKvCustomEdit::ReadOnlyChanged()
{
    if (IsReadOnly())
        DoReadOnlyOn();
    else
        DoReadOnlyOff();
    UpdateColors();
    RepaintFrame();
}

// The frame covers the window's standard border, over the whole window; the drop button sits
// inside it.
void TKvCustomEdit::PaintNonClient()
{
    const HWND window = Handle();
    const HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    struct Release {
        HWND window;
        HDC dc;
        TCanvas& canvas;
        ~Release()
        {
            canvas.SetHandle(nullptr);
            (void)ReleaseDC(window, dc);
        }
    } const release{window, dc, *m_frameCanvas};
    m_frameCanvas->SetHandle(dc);
    if (m_frameVisible && !UsingXPThemes()) {
        const bool hot = FrameIsHot();
        DrawStyleFrame(*m_frameCanvas, Width(), Height(), hot ? m_frameHotStyle : m_frameStyle, Color(),
                       hot ? m_frameHotColor : m_frameColor, m_frameSides, false);
    }
    if (m_dropButtonVisible)
        PaintDropButton(dc);
}

// ---- Messages ------------------------------------------------------------------------------------

void TKvCustomEdit::CreateParams(TCreateParams& params)
{
    TCustomMaskEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.Style &= ~static_cast<DWORD>(ES_MULTILINE | ES_RIGHT | ES_CENTER);
    params.Style |= ALIGNMENT_STYLES[m_alignment];
}

void TKvCustomEdit::MouseEnterLeave(TMessage& message, bool entering)
{
    const TNotifyEvent& handler = entering ? m_onMouseEnter : m_onMouseLeave;
    if (Outlives([&] { TCustomMaskEdit::Dispatch(message); }) && Outlives([&] { handler(this); }))
        UpdateFrame(true, entering);
}

void TKvCustomEdit::Dispatch(TMessage& message)
{
    if (m_dropButtonVisible && DropButtonMessage(message))
        return;
    switch (message.Msg) {
    case CM_ENTER:
        UpdateFrame(false, true);
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        MouseEnterLeave(message, message.Msg == CM_MOUSEENTER);
        return;
    case WM_PASTE:
        if (IsMasked())
            break;
        PasteTyped();
        return;
    default:
        break;
    }
    if (!Outlives([&] { TCustomMaskEdit::Dispatch(message); }))
        return;
    switch (message.Msg) {
    case CM_EXIT:
        UpdateFrame(false, false);
        break;
    case CM_ENABLEDCHANGED:
        UpdateColors();
        RepaintFrame();
        break;
    case CM_COLORCHANGED:
        if (!m_updatingColor)
            TrackColor();
        if (m_frameVisible && !UsingXPThemes())
            RefreshFrame();
        break;
    case CM_PARENTCOLORCHANGED:
        if (ParentColor())
            TrackColor();
        if (m_frameVisible && !UsingXPThemes())
            RefreshFrame();
        break;
    case WM_SIZE:
        if (m_frameVisible && !UsingXPThemes())
            RefreshFrame();
        break;
    case WM_NCPAINT:
        if ((m_frameVisible && !UsingXPThemes()) || m_dropButtonVisible) {
            PaintNonClient();
            message.Result = 0;
        }
        break;
    default:
        break;
    }
}

void TKvCustomEdit::KeyPress(char& key)
{
    // Ctrl+V is a command, not a typed character: it goes to the window, whose paste then
    // passes what it brings through this same filter.
    if (key == CTRL_V)
        return;
    if (m_tabOnEnter && key == '\r') {
        key = '\0';
        // The posted Tab takes the dialog's way, as the Tab key does.
        (void)PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TCustomMaskEdit::KeyPress(key);
}

// ---- Pasting -------------------------------------------------------------------------------------

void TKvCustomEdit::PasteTyped()
{
    if (IsReadOnly())
        return;
    const std::string typed = TypedText(Clipboard()->AsText());
    if (typed.empty())
        return;
    // The edit keeps to its length limit and cuts on a whole character.
    (void)SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
}

// One line, as a single-line edit takes it; a character is kept when KeyPress lets every byte
// of it through, and a one-byte character as KeyPress changed it (an upper-casing filter).
std::string TKvCustomEdit::TypedText(const std::string& text)
{
    const std::string line = text.substr(0, text.find_first_of("\r\n"));
    std::string typed;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t next = Utf8NextStart(line, pos);
        const std::size_t length = next - pos;
        const std::string character = line.substr(pos, length);
        pos = next;
        if (length == 1 && IsControlChar(static_cast<unsigned char>(character[0])))
            continue;
        std::string passed;
        for (char byte : character) {
            // A form that previews keys filters first, as it does for typing.
            if (TCustomForm* form = GetParentForm(this); form && form->KeyPreview())
                form->OnKeyPress()(form, byte);
            if (byte != '\0')
                KeyPress(byte);
            passed += byte;
        }
        if (length == 1 ? passed[0] != '\0' && !IsControlChar(static_cast<unsigned char>(passed[0]))
                        : passed == character)
            typed += passed;
    }
    return typed;
}

// ---- Form data and validation --------------------------------------------------------------------

void TKvCustomEdit::ValidateError()
{
    if (m_onInvalidInput) {
        std::string text;
        m_onInvalidInput(this, text);
        if (!text.empty())
            throw EDBEditError(text);
    }
    TCustomMaskEdit::ValidateError();
}

// Older form data named the hot frame otherwise; those names are read and converted, never
// written.
void TKvCustomEdit::DefineProperties(TFiler& filer)
{
    TCustomMaskEdit::DefineProperties(filer);
    filer.DefineProperty(
        "FrameFlat",
        [this](TReader& reader) {
            const bool flat = reader.ReadBoolean();
            SetFrameHotTrack(flat);
            if (flat) {
                SetFrameStyle(fsStatus);
                SetFrameHotStyle(fsLowered);
            }
        },
        nullptr, false);
    filer.DefineProperty(
        "FrameFocusStyle",
        [this](TReader& reader) {
            // A name that is no edit frame style changes nothing.
            if (const int style = GetEnumValue(FrameStyleTypeInfo(), reader.ReadIdent()); style >= 0)
                SetFrameHotStyle(static_cast<TFrameStyle>(style));
        },
        nullptr, false);
    filer.DefineProperty("FrameFlatStyle", [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}

void TKvCustomEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}
