#include "controls/KvTabs.h"

#include <algorithm>

namespace {

void DescribeTabColors(TClassBuilder& c)
{
    using C = TKvTabColors;
    c.Ordinal("HighlightBar", ColorTypeInfo(), &C::HighlightBar, &C::SetHighlightBar).Default(clHighlight);
    c.Ordinal("Shadow", ColorTypeInfo(), &C::Shadow, &C::SetShadow).Default(clBtnFace);
    c.Ordinal("Unselected", ColorTypeInfo(), &C::Unselected, &C::SetUnselected).Default(clWindow);
}

void DescribeTextColors(TClassBuilder& c)
{
    using C = TKvTextColors;
    c.Ordinal("Disabled", ColorTypeInfo(), &C::Disabled, &C::SetDisabled).Default(clGrayText);
    c.Ordinal("Selected", ColorTypeInfo(), &C::Selected, &C::SetSelected).Default(clBtnText);
    c.Ordinal("Unselected", ColorTypeInfo(), &C::Unselected, &C::SetUnselected).Default(clBtnText);
}

[[nodiscard]] bool SameRect(const TRect& a, const TRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvTabData, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvTabDataList, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvTabColors, TPersistent, nullptr, DescribeTabColors)
CLASSLIB_IMPLEMENT_CLASS(TKvTextColors, TPersistent, nullptr, DescribeTextColors)

const TTypeInfo& TabStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TKvTabStyle", {"tsSingleSlant", "tsDoubleSlant", "tsCutCorner", "tsRoundCorners", "tsBackSlant"});
    return info;
}

const TTypeInfo& TabSequenceTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvTabSequence", {"tsStandard", "tsReverse"});
    return info;
}

const TTypeInfo& TabOrientationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvTabOrientation", {"toTop", "toLeft", "toBottom", "toRight"});
    return info;
}

const TTypeInfo& ImagePositionTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TKvImagePosition", {"ipLeft", "ipTop", "ipRight", "ipBottom", "ipBack", "ipStretch"});
    return info;
}

const TTypeInfo& HorizontalAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvHorizontalAlignment", {"haLeft", "haCenter", "haRight"});
    return info;
}

const TTypeInfo& VerticalAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvVerticalAlignment", {"vaTop", "vaCenter", "vaBottom"});
    return info;
}

const TTypeInfo& TabHotTrackStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvTabHotTrackStyle", {"htsTab", "htsText"});
    return info;
}

// ---- Tabs ----------------------------------------------------------------------------------------

void TKvTabData::Assign(const TPersistent* source)
{
    const auto* tab = dynamic_cast<const TKvTabData*>(source);
    if (tab == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    Caption = tab->Caption;
    DisabledImageIndex = tab->DisabledImageIndex;
    ImageIndex = tab->ImageIndex;
    Color = tab->Color;
    Enabled = tab->Enabled;
    Visible = tab->Visible;
    Hint = tab->Hint;
}

TKvTabDataList::~TKvTabDataList() { Clear(); }

void TKvTabDataList::Assign(const TPersistent* source)
{
    const auto* list = dynamic_cast<const TKvTabDataList*>(source);
    if (list == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    // Assigning the list to itself would clear what it is about to copy.
    if (list == this)
        return;
    Clear();
    for (const auto& item : list->m_items) {
        auto copy = std::make_unique<TKvTabData>();
        copy->Assign(item.get());
        m_items.push_back(std::move(copy));
    }
}

int TKvTabDataList::Count() const { return static_cast<int>(m_items.size()); }

TKvTabData* TKvTabDataList::Item(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }

void TKvTabDataList::SetItem(int index, TKvTabData* item)
{
    auto& slot = m_items.at(static_cast<std::size_t>(index));
    // Storing the item already held keeps it rather than freeing what is stored.
    if (slot.get() != item)
        slot.reset(item);
}

void TKvTabDataList::Add(TKvTabData* item) { m_items.emplace_back(item); }

void TKvTabDataList::Clear() { m_items.clear(); }

// ---- Colour sets ---------------------------------------------------------------------------------

void TKvTabColors::Update(TColor& field, TColor color)
{
    if (field == color)
        return;
    field = color;
    if (m_repaint)
        m_repaint();
}

void TKvTabColors::SetHighlightBar(TColor color) { Update(m_highlightBar, color); }
void TKvTabColors::SetShadow(TColor color) { Update(m_shadow, color); }
void TKvTabColors::SetUnselected(TColor color) { Update(m_unselected, color); }

void TKvTabColors::Assign(const TPersistent* source)
{
    const auto* colors = dynamic_cast<const TKvTabColors*>(source);
    if (colors == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    SetHighlightBar(colors->HighlightBar());
    SetShadow(colors->Shadow());
    SetUnselected(colors->Unselected());
}

void TKvTextColors::Update(TColor& field, TColor color)
{
    if (field == color)
        return;
    field = color;
    if (m_repaint)
        m_repaint();
}

void TKvTextColors::SetDisabled(TColor color) { Update(m_disabled, color); }
void TKvTextColors::SetSelected(TColor color) { Update(m_selected, color); }
void TKvTextColors::SetUnselected(TColor color) { Update(m_unselected, color); }

void TKvTextColors::Assign(const TPersistent* source)
{
    const auto* colors = dynamic_cast<const TKvTextColors*>(source);
    if (colors == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    SetDisabled(colors->Disabled());
    SetSelected(colors->Selected());
    SetUnselected(colors->Unselected());
}

// ---- Region cache --------------------------------------------------------------------------------

TKvTabRegionCacheItem::~TKvTabRegionCacheItem() { SetRegion(nullptr); }

void TKvTabRegionCacheItem::SetRegion(HRGN region)
{
    if (region == m_region)
        return;
    if (m_region != nullptr)
        (void)DeleteObject(m_region);
    m_region = region;
}

HRGN TKvTabRegionCache::Find(const TRect& rect) const
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [&](const auto& item) { return SameRect(item->Rect, rect); });
    return found == m_items.end() ? nullptr : (*found)->Region();
}

void TKvTabRegionCache::Add(const TRect& rect, HRGN region)
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [&](const auto& item) { return SameRect(item->Rect, rect); });
    if (found != m_items.end()) {
        if (region != (*found)->Region() && region != nullptr)
            (void)DeleteObject(region);
        std::rotate(m_items.begin(), found, found + 1);
    } else {
        auto item = std::make_unique<TKvTabRegionCacheItem>();
        item->Rect = rect;
        item->SetRegion(region);
        m_items.insert(m_items.begin(), std::move(item));
    }
    Trim();
}

void TKvTabRegionCache::Clear() { m_items.clear(); }

void TKvTabRegionCache::SetCapacity(int capacity)
{
    if (capacity == 0 || capacity < -1)
        throw EKvTabControlError(SKvRegionCacheCapacityError);
    if (capacity == m_capacity)
        return;
    m_capacity = capacity;
    Trim();
}

void TKvTabRegionCache::Trim()
{
    if (m_capacity == -1)
        return;
    while (Count() > m_capacity)
        m_items.pop_back();
}
