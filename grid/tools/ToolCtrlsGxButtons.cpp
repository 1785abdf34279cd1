#include "grid/tools/ToolCtrlsGxButtons.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TEditButtonControlGx, TSpeedButton, ComponentCreator<TEditButtonControlGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TSpeedButtonGx, TEditButtonControlGx, ComponentCreator<TSpeedButtonGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TEditButtonGx, TCollectionItem, CollectionItemCreator<TEditButtonGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TVisibleEditButtonGx, TEditButtonGx, CollectionItemCreator<TVisibleEditButtonGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TEditButtonsGx, TCollection, nullptr, nullptr)

namespace {

constexpr unsigned FirstRepeatDelay = 400;
constexpr unsigned RepeatInterval = 100;

} // namespace

TEditButtonFaceKind FaceKindOfStyle(TEditButtonStyleGx style)
{
    switch (style) {
    case ebsEllipsisGx:
        return ebfEllipsis;
    case ebsGlyphGx:
    case ebsUpDownGx:
        return ebfUpDown;
    case ebsPlusGx:
        return ebfPlus;
    case ebsMinusGx:
        return ebfMinus;
    case ebsDropDownGx:
        break;
    }
    return ebfDropDown;
}

// ---- TEditButtonControlGx

TEditButtonControlGx::TEditButtonControlGx(TComponent* owner) : TSpeedButton(owner) {}

TEditButtonControlGx::~TEditButtonControlGx() = default;

void TEditButtonControlGx::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    Invalidate();
}

void TEditButtonControlGx::SetAlwaysDown(bool alwaysDown)
{
    m_alwaysDown = alwaysDown;
    if (alwaysDown) {
        SetGroupIndex(1);
        SetDown(true);
        SetAllowAllUp(false);
        m_pressedPart = ppUpperOrWhole;
    } else {
        SetAllowAllUp(true);
        SetDown(false);
        SetGroupIndex(0);
        m_pressedPart = ppNone;
    }
    Invalidate();
}

void TEditButtonControlGx::SetStyle(TEditButtonStyleGx style)
{
    if (style == m_style)
        return;
    m_style = style;
    Invalidate();
}

void TEditButtonControlGx::Click()
{
    if (!m_suppressClick)
        TSpeedButton::Click();
}

void TEditButtonControlGx::UpdatePressedPart(int y)
{
    TPressedPart part = ppNone;
    if (IsDown()) {
        if (m_style != ebsUpDownGx)
            part = ppUpperOrWhole;
        else if (y < Height() / 2)
            part = ppUpperOrWhole;
        else if (y > Height() - Height() / 2)
            part = ppLower;
    }
    if (part == m_pressedPart)
        return;
    m_pressedPart = part;
    Invalidate();
}

void TEditButtonControlGx::FireDown(bool& autoRepeat)
{
    bool handled = false;
    m_onDown(this, m_pressedPart == ppUpperOrWhole, autoRepeat, handled);
}

void TEditButtonControlGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    bool autoRepeat = m_style == ebsUpDownGx;
    TSpeedButton::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    m_tracking = true;
    UpdatePressedPart(y);
    if (m_pressedPart == ppNone)
        return;
    FireDown(autoRepeat);
    if (autoRepeat)
        StartTimer(FirstRepeatDelay);
}

void TEditButtonControlGx::MouseMove(TShiftState shift, int x, int y)
{
    TSpeedButton::MouseMove(shift, x, y);
    if (!m_tracking || m_style != ebsUpDownGx || !IsDown())
        return;
    const bool leftUpper = m_pressedPart == ppUpperOrWhole && y > Height() - Height() / 2;
    const bool leftLower = m_pressedPart == ppLower && y < Height() / 2;
    if (leftUpper || leftLower)
        SetState(bsUp);
}

void TEditButtonControlGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    m_suppressClick = m_style == ebsUpDownGx && !IsDown();
    TSpeedButton::MouseUp(button, shift, x, y);
    m_suppressClick = false;
    if (button == mbLeft)
        m_tracking = false;
    UpdatePressedPart(y);
    StopTimer();
}

void TEditButtonControlGx::StartTimer(unsigned interval)
{
    if (!m_timer) {
        m_timer = new TTimer(this);
        m_timer->SetEnabled(false);
        m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject* sender) { TimerTick(sender); }));
    }
    if (m_timer->Enabled() && m_timer->Interval() == interval)
        return;
    m_timer->SetEnabled(false);
    m_timer->SetInterval(interval);
    m_timer->SetEnabled(true);
}

void TEditButtonControlGx::StopTimer()
{
    if (m_timer)
        m_timer->SetEnabled(false);
}

void TEditButtonControlGx::TimerTick(TObject* /*sender*/)
{
    if (!IsDown())
        return;
    if (m_timer->Interval() == FirstRepeatDelay)
        StartTimer(RepeatInterval);
    bool autoRepeat = m_style == ebsUpDownGx;
    FireDown(autoRepeat);
    if (!autoRepeat)
        StopTimer();
}

void TEditButtonControlGx::Paint()
{
    if (m_style == ebsGlyphGx) {
        PaintGlyphButton();
        return;
    }
    const COLORREF parentColor = ColorToRGB(Parent() ? Parent()->Color() : clBtnFace);
    PaintEditButtonFace(Canvas()->Handle(), RECT{0, 0, Width(), Height()}, parentColor, FaceKindOfStyle(m_style),
                        IsDown() ? m_pressedPart : ppNone, {Flat(), m_active, Enabled()});
}

// A flat glyph button keeps a thin edge while active, and a frame in the parent's colour otherwise.
void TEditButtonControlGx::PaintGlyphButton()
{
    if (!Flat()) {
        TSpeedButton::Paint();
        return;
    }
    const HDC dc = Canvas()->Handle();
    {
        const SavedDC saved(dc);
        (void)IntersectClipRect(dc, 1, 1, Width() - 1, Height() - 1);
        TSpeedButton::Paint();
    }
    RECT edge{0, 0, Width(), Height()};
    if (m_active) {
        (void)DrawEdge(dc, &edge, IsDown() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        return;
    }
    const GdiObject<HBRUSH> frame(CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : clBtnFace)));
    (void)FrameRect(dc, &edge, frame.Get());
}

// ---- TEditButtonGx

TEditButtonGx::TEditButtonGx(TCollection* collection)
    : TCollectionItem(collection), m_glyph(std::make_unique<TBitmap>())
{
    if (collection && collection->Owner())
        m_editor = dynamic_cast<TWinControl*>(collection->Owner());
    m_glyph->SetTransparent(true);
}

TEditButtonGx::TEditButtonGx(TWinControl* editor) : TEditButtonGx(static_cast<TCollection*>(nullptr))
{
    m_editor = editor;
}

TEditButtonGx::~TEditButtonGx() = default;

void TEditButtonGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TEditButtonGx*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetAction(other->Action());
    m_dropdownMenu = other->m_dropdownMenu;
    m_enabled = other->m_enabled;
    m_glyph->Assign(other->m_glyph.get());
    m_hint = other->m_hint;
    m_numGlyphs = other->m_numGlyphs;
    m_shortCut = other->m_shortCut;
    m_style = other->m_style;
    m_visible = other->m_visible;
    m_width = other->m_width;
    m_onClick = other->m_onClick;
    m_onDown = other->m_onDown;
    Changed();
}

TEditButtonControlGx* TEditButtonGx::NewButtonControl() const
{
    auto* control = new TEditButtonControlGx(m_editor);
    control->SetControlStyle(control->ControlStyle() + TControlStyle{csReplicatable});
    control->SetParent(m_editor);
    control->SetBounds(0, 0, 10, 17);
    control->SetVisible(true);
    return control;
}

void TEditButtonGx::Click(TObject* sender, bool& handled)
{
    if (m_onClick) {
        m_onClick(sender, handled);
        return;
    }
    if (!Action())
        return;
    TObject* target = m_editor;
    if (!target && Collection())
        target = dynamic_cast<TComponent*>(Collection()->Owner());
    (void)m_actionLink->Execute(target);
    handled = true;
}

void TEditButtonGx::Changed()
{
    if (m_onChange)
        m_onChange(this);
    else if (Collection())
        TCollectionItem::Changed(false);
}

void TEditButtonGx::SetDropdownMenu(TPopupMenu* menu) { Store(m_dropdownMenu, menu); }
void TEditButtonGx::SetEnabled(bool enabled) { Store(m_enabled, enabled); }
void TEditButtonGx::SetHint(const std::string& hint) { Store(m_hint, hint); }
void TEditButtonGx::SetNumGlyphs(int numGlyphs) { Store(m_numGlyphs, std::clamp(numGlyphs, 1, 4)); }
void TEditButtonGx::SetShortCut(TShortCut shortCut) { Store(m_shortCut, shortCut); }
void TEditButtonGx::SetStyle(TEditButtonStyleGx style) { Store(m_style, style); }
void TEditButtonGx::SetVisible(bool visible) { Store(m_visible, visible); }
void TEditButtonGx::SetWidth(int width) { Store(m_width, width); }

void TEditButtonGx::SetGlyph(TBitmap* glyph)
{
    m_glyph->Assign(glyph);
    Changed();
}

// ---- TVisibleEditButtonGx

TVisibleEditButtonGx::TVisibleEditButtonGx(TCollection* collection) : TEditButtonGx(collection) { ShowByDefault(); }

TVisibleEditButtonGx::TVisibleEditButtonGx(TWinControl* editor) : TEditButtonGx(editor) { ShowByDefault(); }

void TVisibleEditButtonGx::ShowByDefault()
{
    m_visible = true;
    m_shortCut = ::ShortCut(VK_DOWN, TShiftState{ssAlt});
}

// ---- TEditButtonsGx

TEditButtonsGx::TEditButtonsGx(TPersistent* owner, TClass itemClass) : TCollection(itemClass), m_owner(owner) {}

void TEditButtonsGx::Update(TCollectionItem* item)
{
    TCollection::Update(item);
    m_onChanged(this, item);
}
