#pragma once

#include "grid/tools/DBCtrlsGx.h"

#include <memory>
#include <string>

// How a combo box drops its list down.
class TDropDownBoxGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    void Assign(const TPersistent* source) override;

    TDropDownAlign Align = ddaLeft;
    bool AutoDrop = false;
    int Rows = 7;
    bool Sizable = false;
    // -1: as wide as the widest item; 0 or less: as wide as the box.
    int Width = 0;
};

// Sender, the text that is no item.
using TNotInListEventGx = TEvent<TObject*, const std::string&>;

// A data-aware edit with a list of items. With key items the box is key based: it shows
// Items[i] and stores KeyItems[i], its text comes only from the items and typing searches them.
class TCustomDBComboBoxGx : public TCustomDBEditGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomDBComboBoxGx(TComponent* owner);
    ~TCustomDBComboBoxGx() override;

    [[nodiscard]] TStringList* Items() const { return m_items.get(); }
    [[nodiscard]] TStringList* KeyItems() const { return m_keyItems.get(); }
    [[nodiscard]] bool KeyBased() const { return m_keyItems->Count() > 0; }
    // The items in use: with key items, no more than there are keys.
    [[nodiscard]] int ItemCount() const;
    [[nodiscard]] int ItemIndex() const { return m_itemIndex; }
    // The user's choice: written to the field at once.
    void SetItemIndex(int index);
    [[nodiscard]] Variant ComboValue() const;
    void SetComboValue(const Variant& value);
    [[nodiscard]] TDropDownBoxGx& DropDownBox() const { return *m_dropDownBox; }
    [[nodiscard]] TPopupListboxGx* PopupList() const { return m_list; }
    // Drops the list down, as the default button does.
    void DropDown();
    // Images beside the items of the dropped-down list and, for the chosen item, at the box's
    // left edge: item i shows image i unless OnGetItemImageIndex chooses another (-1: none).
    [[nodiscard]] TCustomImageList* Images() const { return EditImage()->Images(); }
    void SetImages(TCustomImageList* images);
    void SetOnGetItemImageIndex(const TGetItemImageIndexEventGx& handler) { m_onGetItemImageIndex = handler; }

    void SetOnDropDown(const TNotifyEvent& handler) { m_onDropDown = handler; }
    void SetOnCloseUp(const TCloseUpEventGx& handler) { m_onCloseUp = handler; }
    void SetOnNotInList(const TNotInListEventGx& handler) { m_onNotInList = handler; }

    void ClosePopup(bool accept) override;

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Change() override;
    void DoExit() override;
    void OpenDropDown() override;
    void LinkDataChanged() override;
    void PostToLink() override;
    [[nodiscard]] int BaseImageIndex() const override;

    // Makes the first item beginning with (or, not partial, equal to) `text` current; answers
    // whether the item changed.
    virtual bool LocateStr(const std::string& text, bool partial);
    virtual void SetItemIndexInternal(int index);

private:
    void ItemIndexFollowsText();
    void SelectNeighbour(int step);
    void SearchKey(char key);
    bool CompleteTyping(char key);
    [[nodiscard]] bool ListOpen() const { return m_list && DroppedDown(); }
    void PlaceList();

    std::unique_ptr<TStringList> m_items;
    std::unique_ptr<TStringList> m_keyItems;
    std::unique_ptr<TDropDownBoxGx> m_dropDownBox;
    Variant m_value = Null();
    int m_itemIndex = -1;
    TPopupListboxGx* m_list = nullptr;
    TGetItemImageIndexEventGx m_onGetItemImageIndex;
    TNotifyEvent m_onDropDown;
    TCloseUpEventGx m_onCloseUp;
    TNotInListEventGx m_onNotInList;
};

class TDBComboBoxGx : public TCustomDBComboBoxGx {
    CLASSLIB_DECLARE_CLASS;

    using TCustomDBComboBoxGx::TCustomDBComboBoxGx;
};
