#pragma once

#include "controls/KvCommon.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/rtl/Exceptions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The small classes the tab control is built on: the record of one tab and the list that owns
// them, the two colour sets the control publishes, the cache of tab regions and the unit's error.

enum TKvTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant };
enum TKvTabSequence { tsStandard, tsReverse };
enum TKvTabOrientation { toTop, toLeft, toBottom, toRight };
enum TKvImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TKvHorizontalAlignment { haLeft, haCenter, haRight };
enum TKvVerticalAlignment { vaTop, vaCenter, vaBottom };
// The state a caption is drawn in, which picks its colour.
enum TKvTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabled };
// Hot tracking marks the tab under the mouse with a bar, or colours its caption.
enum TKvTabHotTrackStyle { htsTab, htsText };

[[nodiscard]] const TTypeInfo& TabStyleTypeInfo();
[[nodiscard]] const TTypeInfo& TabSequenceTypeInfo();
[[nodiscard]] const TTypeInfo& TabOrientationTypeInfo();
[[nodiscard]] const TTypeInfo& ImagePositionTypeInfo();
[[nodiscard]] const TTypeInfo& HorizontalAlignmentTypeInfo();
[[nodiscard]] const TTypeInfo& VerticalAlignmentTypeInfo();
[[nodiscard]] const TTypeInfo& TabHotTrackStyleTypeInfo();

RTL_DECLARE_EXCEPTION(EKvTabControlError, Exception);

inline constexpr const char* SKvPageVisibleError = "You cannot change the Visible property of a page";
inline constexpr const char* SKvTabShapePointsError = "Incorrect number of points in tab shape";
inline constexpr const char* SKvRegionCacheCapacityError = "Capacity must be -1 (to cache all regions) or > 0";
inline constexpr const char* SKvSaveDCError = "Error saving device context";
inline constexpr const char* SKvCreateRegionError = "Error creating region";
inline constexpr const char* SKvPageIndexError = "%d is an invalid PageIndex value. PageIndex must be between 0 and %d";

// One tab. The rectangle (in tab space, written by the layout) and the row are the layout's and
// are not copied.
class TKvTabData : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    void Assign(const TPersistent* source) override;

    std::string Caption;
    TColor Color = clBtnFace;
    int DisabledImageIndex = -1;
    bool Enabled = true;
    std::string Hint;
    int ImageIndex = -1;
    TRect Rect{};
    bool Visible = true;
    int Row = 0;
};

// Owns its tabs, in order.
class TKvTabDataList : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TKvTabDataList() = default;
    ~TKvTabDataList() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] virtual int Count() const;
    [[nodiscard]] virtual TKvTabData* Item(int index) const;
    // Frees the tab at the index and takes ownership of the new one.
    virtual void SetItem(int index, TKvTabData* item);
    void Add(TKvTabData* item);
    void Clear();

private:
    std::vector<std::unique_ptr<TKvTabData>> m_items;
};

// The colours of the tabs themselves; a change asks the tab control to repaint.
class TKvTabColors : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabColors(std::function<void()> repaint) : m_repaint(std::move(repaint)) {}

    void Assign(const TPersistent* source) override;

    [[nodiscard]] TColor HighlightBar() const { return m_highlightBar; }
    virtual void SetHighlightBar(TColor color);
    [[nodiscard]] TColor Shadow() const { return m_shadow; }
    virtual void SetShadow(TColor color);
    [[nodiscard]] TColor Unselected() const { return m_unselected; }
    virtual void SetUnselected(TColor color);

private:
    void Update(TColor& field, TColor color);

    std::function<void()> m_repaint;
    TColor m_highlightBar = clHighlight;
    TColor m_shadow = clBtnFace;
    TColor m_unselected = clWindow;
};

// The colours of the tab captions; a change asks the tab control to repaint.
class TKvTextColors : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTextColors(std::function<void()> repaint) : m_repaint(std::move(repaint)) {}

    void Assign(const TPersistent* source) override;

    [[nodiscard]] TColor Disabled() const { return m_disabled; }
    virtual void SetDisabled(TColor color);
    [[nodiscard]] TColor Selected() const { return m_selected; }
    virtual void SetSelected(TColor color);
    [[nodiscard]] TColor Unselected() const { return m_unselected; }
    virtual void SetUnselected(TColor color);

private:
    void Update(TColor& field, TColor color);

    std::function<void()> m_repaint;
    TColor m_disabled = clGrayText;
    TColor m_selected = clBtnText;
    TColor m_unselected = clBtnText;
};

// A rectangle and the region made for it; the item owns the region.
class TKvTabRegionCacheItem : public TObject {
public:
    TKvTabRegionCacheItem() = default;
    ~TKvTabRegionCacheItem() override;

    [[nodiscard]] HRGN Region() const { return m_region; }
    void SetRegion(HRGN region);

    TRect Rect{-1, -1, -1, -1};

private:
    HRGN m_region = nullptr;
};

// Tab regions by exact rectangle, the most recently added first; a capacity of -1 keeps them all.
class TKvTabRegionCache : public TObject {
public:
    [[nodiscard]] HRGN Find(const TRect& rect) const;
    // Takes ownership of the region. For a rectangle already held the held item moves to the
    // front and keeps its region; a different region handed in for it is deleted, not leaked.
    void Add(const TRect& rect, HRGN region);
    void Clear();

    [[nodiscard]] int Capacity() const { return m_capacity; }
    void SetCapacity(int capacity);
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }

private:
    void Trim();

    std::vector<std::unique_ptr<TKvTabRegionCacheItem>> m_items;
    int m_capacity = 1;
};

// One rectangle as an object; the row rotation keeps each row's top and bottom in one.
class TRectClass : public TObject {
public:
    explicit TRectClass(const TRect& rect = {}) : Rect(rect) {}
    TRect Rect;
};
