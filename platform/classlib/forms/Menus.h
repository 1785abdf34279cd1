#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ImgListReference.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;
class TMenu;

// A key with its modifiers in one word: the virtual key in the low byte.
using TShortCut = WORD;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

[[nodiscard]] TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+Shift+S", "F5", "Del"; "" for scNone or a key without a name.
[[nodiscard]] std::string ShortCutToText(TShortCut shortCut);
// The reverse, case-insensitive; scNone for text that names no key.
[[nodiscard]] TShortCut TextToShortCut(std::string_view text);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TMenuItemAutoFlag { maAutomatic, maManual, maParent };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

[[nodiscard]] const TTypeInfo& MenuBreakTypeInfo();
[[nodiscard]] const TTypeInfo& PopupAlignmentTypeInfo();
[[nodiscard]] const TTypeInfo& MenuItemAutoFlagTypeInfo();

// The caption that makes an item a separator line.
inline constexpr const char* cLineCaption = "-";

using TMenuMeasureItemEvent = TEvent<TObject*, TCanvas*, int&, int&>;
using TMenuDrawItemEvent = TEvent<TObject*, TCanvas*, TRect, bool>;

// One entry of a menu, and the submenu of its own items. Each item has a command number unique in
// the program, by which the menu's WM_COMMAND finds it. An item with items has a pop-up menu
// handle; its parent's menu handle is rebuilt whenever one of its items changes. Freeing an item
// frees its items.
class TMenuItem : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    [[nodiscard]] bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    [[nodiscard]] bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool radioItem);
    // Checking a radio item unchecks the other radio items of its group among its siblings.
    [[nodiscard]] int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int groupIndex) { m_groupIndex = groupIndex; }
    // Clicking toggles Checked.
    [[nodiscard]] bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool autoCheck) { m_autoCheck = autoCheck; }
    [[nodiscard]] bool Default() const { return m_default; }
    void SetDefault(bool isDefault);
    [[nodiscard]] TMenuBreak Break() const { return m_break; }
    void SetBreak(TMenuBreak value);
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    [[nodiscard]] TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }
    [[nodiscard]] int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int helpContext) { m_helpContext = helpContext; }
    // Kept for the code that copies items; captions are taken as they are.
    [[nodiscard]] TMenuItemAutoFlag AutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuItemAutoFlag flag) { m_autoHotkeys = flag; }
    [[nodiscard]] TMenuItemAutoFlag AutoLineReduction() const { return m_autoLineReduction; }
    void SetAutoLineReduction(TMenuItemAutoFlag flag) { m_autoLineReduction = flag; }
    // The glyph of an owner-drawn item without an ImageIndex (owned; empty by default).
    [[nodiscard]] TBitmap* Bitmap() const { return m_bitmap.get(); }
    void SetBitmap(TBitmap* bitmap);
    // The images of this item's items, instead of the menu's.
    [[nodiscard]] TCustomImageList* SubMenuImages() const { return m_subMenuImages; }
    void SetSubMenuImages(TCustomImageList* images);

    [[nodiscard]] const TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(const TNotifyEvent& handler) { m_onClick = handler; }
    [[nodiscard]] const TMenuDrawItemEvent& OnDrawItem() const { return m_onDrawItem; }
    void SetOnDrawItem(const TMenuDrawItemEvent& handler) { m_onDrawItem = handler; }
    [[nodiscard]] const TMenuMeasureItemEvent& OnMeasureItem() const { return m_onMeasureItem; }
    void SetOnMeasureItem(const TMenuMeasureItemEvent& handler) { m_onMeasureItem = handler; }

    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    // Raises EMenuError "Menu index out of range" for a bad index.
    [[nodiscard]] TMenuItem* Items(int index) const;
    [[nodiscard]] int IndexOf(const TMenuItem* item) const;
    // Raises EMenuError "Menu inserted twice" for an item that already has a parent or that holds
    // this item (directly or further down).
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the item at `index`.
    void Delete(int index);
    // Frees every item.
    void Clear();
    [[nodiscard]] TMenuItem* Parent() const { return m_parent; }
    [[nodiscard]] int MenuIndex() const;
    void SetMenuIndex(int index);
    // The menu the item belongs to, through its parents.
    [[nodiscard]] TMenu* GetParentMenu() const;
    [[nodiscard]] bool IsLine() const { return m_caption == cLineCaption; }
    [[nodiscard]] WORD Command() const { return m_command; }
    // The pop-up menu of the items (made on demand).
    [[nodiscard]] HMENU Handle();
    // The item with this caption (ignoring '&'), case-insensitively, among the direct items.
    [[nodiscard]] TMenuItem* Find(std::string_view caption) const;

    // Toggles Checked with AutoCheck and fires OnClick, when enabled.
    virtual void Click();
    // The size of the item when its menu is owner-drawn, and its drawing: OnMeasureItem and
    // OnDrawItem when assigned, the classic look otherwise.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    virtual void DrawItem(TCanvas* canvas, const TRect& rect, bool selected);

    [[nodiscard]] bool HasParent() const override { return true; }
    [[nodiscard]] TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;

private:
    friend class TMenu;
    void Changed();
    void Notification(TComponent* component, TOperation operation) override;
    // The images this item's glyph comes from: its parent's SubMenuImages, or the menu's.
    [[nodiscard]] TCustomImageList* GlyphImages() const;
    void RebuildHandle();
    void AppendTo(HMENU menu);
    void DrawDefault(TCanvas* canvas, const TRect& rect, bool selected);

    TMenuItem* m_parent = nullptr;
    TMenu* m_menu = nullptr; // set on a menu's root item
    std::vector<TMenuItem*> m_items;
    HMENU m_handle = nullptr;
    WORD m_command = 0;
    std::string m_caption;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_checked = false;
    bool m_radioItem = false;
    int m_groupIndex = 0;
    bool m_autoCheck = false;
    bool m_default = false;
    TMenuBreak m_break = mbNone;
    int m_imageIndex = -1;
    TShortCut m_shortCut = scNone;
    std::string m_hint;
    int m_helpContext = 0;
    TMenuItemAutoFlag m_autoHotkeys = maParent;
    TMenuItemAutoFlag m_autoLineReduction = maParent;
    std::unique_ptr<TBitmap> m_bitmap;
    TCustomImageList* m_subMenuImages = nullptr;
    TNotifyEvent m_onClick;
    TMenuDrawItemEvent m_onDrawItem;
    TMenuMeasureItemEvent m_onMeasureItem;
};

RTL_DECLARE_EXCEPTION(EMenuError, Exception);

// What main and pop-up menus share: the root item whose items are the menu, the images the items
// show (which make the menu owner-drawn, as OwnerDraw does), and the dispatch of the commands and
// owner-draw messages the menu loop sends to the menu's window.
class TMenu : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    ~TMenu() override;

    [[nodiscard]] TMenuItem* Items() const { return m_items.get(); }
    [[nodiscard]] HMENU Handle() const { return m_items->Handle(); }
    [[nodiscard]] TCustomImageList* Images() const { return m_images.List(); }
    void SetImages(TCustomImageList* images);
    [[nodiscard]] bool OwnerDraw() const { return m_ownerDraw; }
    void SetOwnerDraw(bool ownerDraw);
    [[nodiscard]] bool IsOwnerDraw() const { return m_ownerDraw || m_images.List(); }

    // Searches every item; null when none matches.
    [[nodiscard]] TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
    // Clicks the item of the command; false when no item has it.
    bool DispatchCommand(WORD command);
    // Clicks the enabled, visible item whose ShortCut the key makes; false when none has it.
    bool IsShortCut(WORD key, TShiftState shift);
    // Answers WM_COMMAND, WM_INITMENUPOPUP (a submenu opening clicks its item), WM_MEASUREITEM and
    // WM_DRAWITEM of the menu's items; false for others.
    bool DispatchMenuMessage(TMessage& message);

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;

protected:
    TMenu(TComponent* owner, bool popup);
    void Notification(TComponent* component, TOperation operation) override;
    // The menu's items changed.
    virtual void MenuChanged() {}

private:
    friend class TMenuItem;
    void ImageListChanged(TObject*);
    void MeasureMessage(MEASUREITEMSTRUCT& measure);
    void DrawMessage(const DRAWITEMSTRUCT& draw);

    std::unique_ptr<TMenuItem> m_items;
    TImageListReference m_images;
    bool m_ownerDraw = false;
    bool m_popup;
};

// The menu bar of a form: the menu is attached to the form's window (SetMenu), which shows it
// under the caption; WM_COMMAND and owner-draw messages of the form go to DispatchMenuMessage.
class TMainMenu : public TMenu {
    CLASSLIB_DECLARE_CLASS;

    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    [[nodiscard]] HWND WindowHandle() const { return m_window; }
    void SetWindowHandle(HWND window);

protected:
    void MenuChanged() override;

private:
    HWND m_window = nullptr;
};

// A menu shown at a point of the screen by Popup; the choice comes back as WM_COMMAND to a hidden
// window of the menu's own, which clicks the item once the menu loop is over. Controls whose
// PopupMenu it is show it on a right click when AutoPopup is on.
class TPopupMenu : public TMenu {
    CLASSLIB_DECLARE_CLASS;

    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Fires OnPopup, then runs the menu loop with the menu's corner (by Alignment) at (x, y).
    virtual void Popup(int x, int y);
    [[nodiscard]] TPopupAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TPopupAlignment alignment) { m_alignment = alignment; }
    [[nodiscard]] bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool autoPopup) { m_autoPopup = autoPopup; }
    // The control the menu was last popped up for.
    [[nodiscard]] TComponent* PopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(TComponent* component);
    [[nodiscard]] TPoint PopupPoint() const { return m_popupPoint; }
    [[nodiscard]] HWND Window() const { return m_window; }

    [[nodiscard]] const TNotifyEvent& OnPopup() const { return m_onPopup; }
    void SetOnPopup(const TNotifyEvent& handler) { m_onPopup = handler; }

protected:
    virtual void DoPopup(TObject* sender) { m_onPopup(sender); }
    void Notification(TComponent* component, TOperation operation) override;

private:
    void WndProc(TMessage& message);

    HWND m_window = nullptr;
    TPopupAlignment m_alignment = paLeft;
    bool m_autoPopup = true;
    TComponent* m_popupComponent = nullptr;
    TPoint m_popupPoint{0, 0};
    TNotifyEvent m_onPopup;
};

// Makes TMainMenu, TPopupMenu and TMenuItem known to form data.
void RegisterMenuClasses();
