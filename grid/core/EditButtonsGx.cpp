#include "grid/core/EditButtonsGx.h"

#include "platform/classlib/forms/Controls.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TEditButtonGx, TCollectionItem, CollectionItemCreator<TEditButtonGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TVisibleEditButtonGx, TEditButtonGx, CollectionItemCreator<TVisibleEditButtonGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TEditButtonsGx, TCollection, nullptr, nullptr)

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
