#include "controls/KvButton.h"

#include "platform/classlib/core/Resources.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct TStockKind {
    const char* caption;
    const char* glyphResource;
    TModalResult modalResult;
};

constexpr std::array<TStockKind, 11> StockKinds{{
    {"", nullptr, mrNone},
    {"OK", "KVCOMMON_OK", mrOk},
    {"Cancel", "KVCOMMON_CANCEL", mrCancel},
    {"&Help", "KVCOMMON_HELP", mrNone},
    {"&Yes", "KVCOMMON_YES", mrYes},
    {"&No", "KVCOMMON_NO", mrNo},
    {"&Close", "KVCOMMON_CLOSE", mrNone},
    {"Abort", "KVCOMMON_ABORT", mrAbort},
    {"&Retry", "KVCOMMON_RETRY", mrRetry},
    {"&Ignore", "KVCOMMON_IGNORE", mrIgnore},
    {"&All", "KVCOMMON_ALL", mrAll},
}};

[[nodiscard]] const TStockKind& StockKind(TBitBtnKind kind) { return StockKinds.at(static_cast<std::size_t>(kind)); }

[[nodiscard]] bool IsDefaultKind(TBitBtnKind kind) { return kind == bkOK || kind == bkYes; }
[[nodiscard]] bool IsCancelKind(TBitBtnKind kind) { return kind == bkCancel || kind == bkNo; }

void DescribeKvBitBtn(TClassBuilder& c)
{
    // A stock kind supplies these, so they are written only for a custom button.
    c.Boolean("Cancel", &TKvButton::Cancel, &TKvButton::SetCancel).Default(false).StoredWhen(&TKvBitBtn::IsCustomKind);
    c.Boolean("Default", &TKvButton::Default, &TKvButton::SetDefault)
        .Default(false)
        .StoredWhen(&TKvBitBtn::IsCustomKind);
    c.Integer("ModalResult", &TKvButton::ModalResult, &TKvButton::SetModalResult)
        .Default(mrNone)
        .StoredWhen(&TKvBitBtn::IsCustomKind);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption).StoredWhen(&TKvBitBtn::IsCaptionStored);
    c.Object("Glyph", &TKvBitBtn::Glyph, &TKvBitBtn::SetGlyph).StoredWhen(&TKvBitBtn::IsCustomKind);
    c.Integer("NumGlyphs", &TKvBitBtn::NumGlyphs, &TKvBitBtn::SetNumGlyphs)
        .Default(1)
        .StoredWhen(&TKvBitBtn::IsCustomKind);
    c.Integer("DisabledIndex", &TKvBitBtn::DisabledIndex, &TKvBitBtn::SetDisabledIndex).Default(-1);
    c.Integer("ImageIndex", &TKvBitBtn::ImageIndex, &TKvBitBtn::SetImageIndex).Default(-1);
    c.Object("Images", &TKvBitBtn::Images, &TKvBitBtn::SetImages);
    c.Enum("Kind", BitBtnKindTypeInfo(), &TKvBitBtn::Kind, &TKvBitBtn::SetKind).Default(bkCustom);
    c.Enum("Layout", ButtonLayoutTypeInfo(), &TKvBitBtn::Layout, &TKvBitBtn::SetLayout).Default(blGlyphLeft);
    c.Integer("Margin", &TKvBitBtn::Margin, &TKvBitBtn::SetMargin).Default(2);
    c.Integer("Spacing", &TKvBitBtn::Spacing, &TKvBitBtn::SetSpacing).Default(4);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvBitBtn, TKvButton, ComponentCreator<TKvBitBtn>, DescribeKvBitBtn)

TBitmap* KvStockGlyph(TBitBtnKind kind)
{
    static std::array<std::unique_ptr<TBitmap>, 11> cache;
    const TStockKind& stock = StockKind(kind);
    if (!stock.glyphResource)
        return nullptr;
    std::unique_ptr<TBitmap>& slot = cache.at(static_cast<std::size_t>(kind));
    if (!slot) {
        auto glyph = std::make_unique<TBitmap>();
        glyph->LoadFromResourceName(nullptr, stock.glyphResource);
        slot = std::move(glyph);
    }
    return slot.get();
}

TKvBitBtn::TKvBitBtn(TComponent* owner)
    : TKvButton(owner), m_glyph(std::make_unique<TBitmap>()), m_imageChangeLink(std::make_unique<TChangeLink>())
{
    m_glyph->SetOnChange(TNotifyEvent(this, &TKvBitBtn::GlyphChanged));
    m_imageChangeLink->SetOnChange(TNotifyEvent(this, &TKvBitBtn::ImageListChanged));
}

TKvBitBtn::~TKvBitBtn() { SetImages(nullptr); }

void TKvBitBtn::SetGlyph(TBitmap* value)
{
    m_glyph->Assign(value);
    m_glyphModified = true;
}

void TKvBitBtn::GlyphChanged(TObject*)
{
    const int width = m_glyph->Width();
    const int height = m_glyph->Height();
    if (height != 0 && width % height == 0) {
        const int cells = width / height;
        m_numGlyphs = cells < 1 || cells > 4 ? 1 : cells;
    }
    Invalidate();
}

// A glyph holds one to four cells: fewer would leave nothing to draw, more have no state to show.
void TKvBitBtn::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == m_numGlyphs)
        return;
    m_numGlyphs = value;
    Invalidate();
}

TBitBtnKind TKvBitBtn::Kind() const
{
    if (m_kind == bkCustom)
        return m_kind;
    const bool stillStock = Default() == IsDefaultKind(m_kind) && Cancel() == IsCancelKind(m_kind) &&
                            ModalResult() == StockKind(m_kind).modalResult && !m_glyphModified;
    if (!stillStock)
        m_kind = bkCustom;
    return m_kind;
}

void TKvBitBtn::SetKind(TBitBtnKind value)
{
    if (value == Kind())
        return;
    if (value != bkCustom) {
        SetDefault(IsDefaultKind(value));
        SetCancel(IsCancelKind(value));
        // Form data may hold a caption of its own before the kind: it stays.
        if (!IsLoading() || Caption().empty())
            SetCaption(StockKind(value).caption);
        SetModalResult(StockKind(value).modalResult);
        m_glyph->Assign(KvStockGlyph(value));
        SetNumGlyphs(2);
        m_glyphModified = false;
    }
    m_kind = value;
    Invalidate();
}

bool TKvBitBtn::IsCaptionStored() const { return Caption() != StockKind(Kind()).caption; }

void TKvBitBtn::SetLayout(TButtonLayout value)
{
    if (value == m_layout)
        return;
    m_layout = value;
    Invalidate();
}

void TKvBitBtn::SetMargin(int value)
{
    if (value == m_margin || value < -1)
        return;
    m_margin = value;
    Invalidate();
}

void TKvBitBtn::SetSpacing(int value)
{
    if (value == m_spacing)
        return;
    m_spacing = value;
    Invalidate();
}

void TKvBitBtn::SetImageIndex(int value)
{
    if (value == m_imageIndex)
        return;
    m_imageIndex = value;
    Invalidate();
}

void TKvBitBtn::SetDisabledIndex(int value)
{
    if (value == m_disabledIndex)
        return;
    m_disabledIndex = value;
    Invalidate();
}

void TKvBitBtn::SetImages(TCustomImageList* value)
{
    if (value == m_images)
        return;
    if (m_images) {
        m_images->UnRegisterChanges(m_imageChangeLink.get());
        m_images->RemoveFreeNotification(this);
    }
    m_images = value;
    if (m_images) {
        m_images->RegisterChanges(m_imageChangeLink.get());
        m_images->FreeNotification(this);
    }
    Invalidate();
}

void TKvBitBtn::ImageListChanged(TObject* sender)
{
    if (sender == m_images)
        Repaint();
}

void TKvBitBtn::Notification(TComponent* component, TOperation operation)
{
    TKvButton::Notification(component, operation);
    // The list is being destroyed: it is only forgotten, never called.
    if (operation == opRemove && component == m_images) {
        m_images = nullptr;
        Invalidate();
    }
}

SIZE TKvBitBtn::GetGlyphSize() const
{
    if (HasImageListImage())
        return SIZE{m_images->Width(), m_images->Height()};
    return SIZE{m_glyph->Width() / m_numGlyphs, m_glyph->Height()};
}

int TKvBitBtn::CenteredCaptionHeight()
{
    TRect rect{};
    TKvButton::GetCaptionRect(rect);
    Canvas()->SetFont(Font());
    return CaptionHeight(*Canvas(), rect);
}

void TKvBitBtn::GetCaptionRect(TRect& rect)
{
    TKvButton::GetCaptionRect(rect);
    if (!HasImageListImage() && m_glyph->Empty())
        return;
    const SIZE glyph = GetGlyphSize();
    switch (m_layout) {
    case blGlyphLeft:
        rect.left += m_margin + glyph.cx + m_spacing;
        return;
    case blGlyphRight:
        rect.right -= m_margin + glyph.cx + m_spacing;
        return;
    case blGlyphTop:
    case blGlyphBottom:
        break;
    }
    if (m_margin >= 0) {
        if (m_layout == blGlyphTop)
            rect.top += m_margin + glyph.cy + m_spacing;
        else
            rect.bottom -= m_margin + glyph.cy + m_spacing;
        return;
    }
    const int text = CenteredCaptionHeight();
    const int freeSpace = (Height() - text - glyph.cy - m_spacing) / 2;
    rect.top += freeSpace + (m_layout == blGlyphTop ? glyph.cy : 0);
    rect.bottom = rect.top + text;
}

void TKvBitBtn::GetGlyphRect(TRect& rect)
{
    TKvButton::GetCaptionRect(rect);
    if (PressedDisplay())
        (void)OffsetRect(&rect, -1, -1);
    const SIZE glyph = GetGlyphSize();
    if (m_margin >= 0) {
        switch (m_layout) {
        case blGlyphLeft: rect.left += m_margin; break;
        case blGlyphRight: rect.left = rect.right - m_margin - glyph.cx; break;
        case blGlyphTop: rect.top += m_margin; break;
        case blGlyphBottom: rect.top = rect.bottom - m_margin - glyph.cy; break;
        }
    } else if (m_layout != blGlyphLeft) {
        const int text = m_layout == blGlyphRight ? 0 : CenteredCaptionHeight();
        const int freeSpace = (Height() - text - glyph.cy - m_spacing) / 2;
        switch (m_layout) {
        case blGlyphRight: rect.left = rect.right - glyph.cx; break;
        case blGlyphTop: rect.top = freeSpace; break;
        case blGlyphBottom: rect.top += text + freeSpace; break;
        case blGlyphLeft: break;
        }
    }
    if (m_layout == blGlyphTop || m_layout == blGlyphBottom)
        rect.left += (rect.right - rect.left - glyph.cx + 1) / 2;
    else
        rect.top += (rect.bottom - rect.top - glyph.cy + 1) / 2;
    rect.right = rect.left + glyph.cx;
    rect.bottom = rect.top + glyph.cy;
    if (PressedDisplay())
        (void)OffsetRect(&rect, 1, 1);
}

void TKvBitBtn::PaintCaption()
{
    TKvButton::PaintCaption();
    TRect rect{};
    GetGlyphRect(rect);
    if (Kind() == bkCustom && HasImageListImage())
        DrawImageListGlyph(rect);
    else if (!m_glyph->Empty())
        DrawBitmapGlyph(rect);
}

void TKvBitBtn::DrawImageListGlyph(const TRect& rect)
{
    if (!m_images)
        return;
    if (m_disabledIndex == -1) {
        if (m_imageIndex != -1)
            m_images->Draw(Canvas(), rect.left, rect.top, m_imageIndex, Enabled());
        return;
    }
    const int index = Enabled() ? m_imageIndex : m_disabledIndex;
    if (index != -1)
        m_images->Draw(Canvas(), rect.left, rect.top, index, true);
}

int TKvBitBtn::GlyphCell() const
{
    if (m_numGlyphs == 4 && State() == bsExclusive)
        return 3;
    if (m_numGlyphs >= 3 && PressedDisplay())
        return 2;
    if (m_numGlyphs >= 2 && !Enabled())
        return 1;
    return 0;
}

void TKvBitBtn::DrawBitmapGlyph(const TRect& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int cell = GlyphCell();
    TBitmap composed;
    composed.SetSize(width, height);
    TCanvas& target = *composed.Canvas();
    target.Brush()->SetColor(Color());
    target.CopyRect(Rect(0, 0, width, height), Canvas(), rect);
    DrawMaskedBitmap(target, *m_glyph, Rect(0, 0, width, height), Rect(cell * width, 0, (cell + 1) * width, height),
                     m_glyph->TransparentColor());
    Canvas()->Draw(rect.left, rect.top, &composed);
}
