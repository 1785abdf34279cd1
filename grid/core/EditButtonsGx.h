#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/forms/ActnList.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/Menus.h"

#include <memory>
#include <string>

// The buttons an editor shows at its right edge beside its text, described: how each looks and
// what it does. The grid's columns own a collection of them for the cell editor; the data-aware
// edit shows them as button controls.

enum TEditButtonStyleGx { ebsDropDownGx, ebsEllipsisGx, ebsGlyphGx, ebsUpDownGx, ebsPlusGx, ebsMinusGx };

// Sender, TopButton, var AutoRepeat, var Handled.
using TButtonDownEventGx = TEvent<TObject*, bool, bool&, bool&>;
// Sender, var Handled.
using TButtonClickEventGx = TEvent<TObject*, bool&>;

class TEditButtonGx;

// The link of an edit button to its action: the button follows the action's enabled state, hint,
// short cut and visibility for as long as its own value equals the action's.
class TEditButtonActionLinkGx : public TClientActionLink<TEditButtonGx> {
    CLASSLIB_DECLARE_CLASS;

    using TClientActionLink::TClientActionLink;

    [[nodiscard]] bool IsShortCutLinked() const override;
    void SetShortCut(TShortCut value) override;
};

// One button of an editor: how it looks and what it does.
class TEditButtonGx : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TEditButtonGx(TCollection* collection);
    // The editor's own default button, outside any collection.
    explicit TEditButtonGx(TWinControl* editor);
    ~TEditButtonGx() override;

    void Assign(const TPersistent* source) override;
    // OnClick when assigned, else the action (run for the editor); answers Handled.
    virtual void Click(TObject* sender, bool& handled);

    // A button with an action takes its state from it (see TEditButtonActionLinkGx).
    [[nodiscard]] TBasicAction* Action() const { return m_actionLink ? m_actionLink->Action() : nullptr; }
    void SetAction(TBasicAction* action);

    [[nodiscard]] TWinControl* Editor() const { return m_editor; }
    [[nodiscard]] TPopupMenu* DropdownMenu() const { return m_dropdownMenu; }
    void SetDropdownMenu(TPopupMenu* menu);
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* glyph);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint);
    [[nodiscard]] int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int numGlyphs);
    [[nodiscard]] TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    [[nodiscard]] TEditButtonStyleGx Style() const { return m_style; }
    void SetStyle(TEditButtonStyleGx style);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // 0: as wide as the editor chooses.
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width);

    [[nodiscard]] const TButtonClickEventGx& OnClick() const { return m_onClick; }
    void SetOnClick(const TButtonClickEventGx& handler) { m_onClick = handler; }
    [[nodiscard]] const TButtonDownEventGx& OnDown() const { return m_onDown; }
    void SetOnDown(const TButtonDownEventGx& handler) { m_onDown = handler; }
    // Set by the editor that owns a stand-alone button.
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

protected:
    void Changed();
    // Takes the action's state; while the action is still loading, only into properties that
    // still have their defaults.
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    bool m_visible = false;
    TShortCut m_shortCut = scNone;

private:
    std::unique_ptr<TEditButtonActionLinkGx> m_actionLink;
    TWinControl* m_editor = nullptr;
    TPopupMenu* m_dropdownMenu = nullptr;
    bool m_enabled = true;
    std::unique_ptr<TBitmap> m_glyph;
    std::string m_hint;
    int m_numGlyphs = 1;
    TEditButtonStyleGx m_style = ebsDropDownGx;
    int m_width = 0;
    TButtonClickEventGx m_onClick;
    TButtonDownEventGx m_onDown;
    TNotifyEvent m_onChange;
};

// A button of an editor's collection: visible, and dropping down on Alt+Down, from the start.
class TVisibleEditButtonGx : public TEditButtonGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TVisibleEditButtonGx(TCollection* collection);
    explicit TVisibleEditButtonGx(TWinControl* editor);

private:
    void ShowByDefault();
};

// An editor's extra buttons. OnChanged fires after every change, with the item or null.
class TEditButtonsGx : public TCollection {
    CLASSLIB_DECLARE_CLASS;

    TEditButtonsGx(TPersistent* owner, TClass itemClass);

    [[nodiscard]] TEditButtonGx* Items(int index) const { return static_cast<TEditButtonGx*>(TCollection::Items(index)); }
    [[nodiscard]] TPersistent* GetOwner() const override { return m_owner; }
    void SetOnChanged(const TEvent<TObject*, TCollectionItem*>& handler) { m_onChanged = handler; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TPersistent* m_owner;
    TEvent<TObject*, TCollectionItem*> m_onChanged;
};
