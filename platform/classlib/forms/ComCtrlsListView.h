#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/forms/ImgListReference.h"
#include "platform/classlib/core/StringLists.h"

#include <memory>
#include <string>
#include <vector>

// The list view over "SysListView32": columns, items with sub-items, selection and custom-drawn
// colours. The items live here; the window shows them and reports the user's changes back.

class TCustomListView;
class TListItems;
struct NMHDR;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TCustomDrawStateFlag { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot };
using TCustomDrawState = TSet<TCustomDrawStateFlag>;

class TListColumn : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

protected:
    [[nodiscard]] std::string GetDisplayName() const override { return m_caption.empty() ? ClassName() : m_caption; }

private:
    friend class TCustomListView;
    std::string m_caption;
    int m_width = 50;
    TAlignment m_alignment = taLeftJustify;
};

class TListColumns : public TOwnedCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit TListColumns(TCustomListView* listView);
    [[nodiscard]] TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* m_listView;
};

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    [[nodiscard]] TListItems* Owner() const { return m_owner; }
    [[nodiscard]] TCustomListView* ListView() const;
    [[nodiscard]] int Index() const;
    void Delete();

    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    [[nodiscard]] TStrings* SubItems() const { return m_subItems.get(); }
    void SetSubItems(TStrings* subItems) { m_subItems->Assign(*subItems); }
    [[nodiscard]] void* Data() const { return m_data; }
    void SetData(void* data) { m_data = data; }
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    [[nodiscard]] bool Selected() const;
    void SetSelected(bool selected);
    [[nodiscard]] bool Focused() const;
    void SetFocused(bool focused);

private:
    friend class TCustomListView;
    [[nodiscard]] UINT State() const;
    void SetState(UINT state, UINT mask);

    TListItems* m_owner;
    std::string m_caption;
    std::unique_ptr<TStringList> m_subItems;
    void* m_data = nullptr;
    int m_imageIndex = -1;
    // The state while the list has no window.
    UINT m_state = 0;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* owner) : m_owner(owner) {}
    ~TListItems() override;

    [[nodiscard]] TCustomListView* Owner() const { return m_owner; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    // Raises EListError for an index out of range.
    [[nodiscard]] TListItem* Item(int index) const;
    [[nodiscard]] int IndexOf(const TListItem* item) const;
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // Holds back repainting until the matching EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    TCustomListView* m_owner;
    std::vector<std::unique_ptr<TListItem>> m_items;
    int m_updateCount = 0;
};

using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;
using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVCustomDrawItemEvent = TEvent<TCustomListView*, TListItem*, TCustomDrawState, bool&>;
using TLVCustomDrawSubItemEvent = TEvent<TCustomListView*, TListItem*, int, TCustomDrawState, bool&>;

class TCustomListView : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    [[nodiscard]] TListColumns* Columns() const { return m_columns.get(); }
    void SetColumns(TListColumns* columns) { m_columns->Assign(columns); }
    [[nodiscard]] TListItems* Items() const { return m_items.get(); }
    [[nodiscard]] TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle style);
    // The first selected item, or null; setting it selects only that item.
    [[nodiscard]] TListItem* Selected() const;
    void SetSelected(TListItem* item);
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);
    [[nodiscard]] TListItem* ItemFocused() const;
    [[nodiscard]] int SelCount() const;
    [[nodiscard]] bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multiSelect);
    [[nodiscard]] bool RowSelect() const { return m_rowSelect; }
    void SetRowSelect(bool rowSelect);
    [[nodiscard]] bool GridLines() const { return m_gridLines; }
    void SetGridLines(bool gridLines);
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    [[nodiscard]] bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hideSelection);
    [[nodiscard]] bool ShowColumnHeaders() const { return m_showColumnHeaders; }
    void SetShowColumnHeaders(bool show);
    // The images of the items' ImageIndex in the report and list views; shown as the list changes.
    [[nodiscard]] TCustomImageList* SmallImages() const { return m_smallImages.List(); }
    void SetSmallImages(TCustomImageList* images) { m_smallImages.SetList(images); }
    // The canvas the custom-draw events set colours on.
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

    void Clear() { m_items->Clear(); }
    void BeginUpdate() { m_items->BeginUpdate(); }
    void EndUpdate() { m_items->EndUpdate(); }

    [[nodiscard]] const TLVSelectItemEvent& OnSelectItem() const { return m_onSelectItem; }
    void SetOnSelectItem(const TLVSelectItemEvent& handler) { m_onSelectItem = handler; }
    [[nodiscard]] const TLVChangeEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TLVChangeEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TLVColumnClickEvent& OnColumnClick() const { return m_onColumnClick; }
    void SetOnColumnClick(const TLVColumnClickEvent& handler) { m_onColumnClick = handler; }
    [[nodiscard]] const TLVCustomDrawItemEvent& OnCustomDrawItem() const { return m_onCustomDrawItem; }
    void SetOnCustomDrawItem(const TLVCustomDrawItemEvent& handler) { m_onCustomDrawItem = handler; }
    [[nodiscard]] const TLVCustomDrawSubItemEvent& OnCustomDrawSubItem() const { return m_onCustomDrawSubItem; }
    void SetOnCustomDrawSubItem(const TLVCustomDrawSubItemEvent& handler) { m_onCustomDrawSubItem = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    // Keeping the window in step with the items and columns.
    void UpdateColumns();
    void InsertWindowItem(int index);
    void UpdateWindowItem(int index);
    void DeleteWindowItem(int index);
    void ClearWindowItems();
    void UpdateStyle();
    void UpdateExtendedStyle();
    [[nodiscard]] LRESULT Notify(const NMHDR& header);
    void ItemChanged(const NMHDR& header);
    void ColumnResized(const NMHDR& header);
    [[nodiscard]] LRESULT CustomDraw(NMHDR& header);
    [[nodiscard]] TListItem* ItemOf(int index) const;
    [[nodiscard]] DWORD ViewStyleBits() const;
    void SendSmallImages();

    std::unique_ptr<TListColumns> m_columns;
    std::unique_ptr<TListItems> m_items;
    std::unique_ptr<TCanvas> m_canvas;
    TViewStyle m_viewStyle = vsIcon;
    bool m_multiSelect = false;
    bool m_rowSelect = false;
    bool m_gridLines = false;
    bool m_readOnly = false;
    bool m_hideSelection = true;
    bool m_showColumnHeaders = true;
    TImageListReference m_smallImages;
    TLVSelectItemEvent m_onSelectItem;
    TLVChangeEvent m_onChange;
    TLVColumnClickEvent m_onColumnClick;
    TLVCustomDrawItemEvent m_onCustomDrawItem;
    TLVCustomDrawSubItemEvent m_onCustomDrawSubItem;
};

class TListView : public TCustomListView {
    CLASSLIB_DECLARE_CLASS;

    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};
