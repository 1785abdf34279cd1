#pragma once

#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/StringLists.h"

#include <memory>
#include <string>

// The texts an editor remembers the user entered, offered again while the user types.

// Sender, the item's text, var Accept.
using TFilterItemEventGx = TEvent<TObject*, const std::string&, bool&>;

// Texts the user entered, oldest first; a text entered again moves to the end.
class TMRUListGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TMRUListGx(TPersistent* owner);
    ~TMRUListGx() override;

    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override { return m_owner; }

    // A blank text is not kept; beyond Limit the oldest texts go.
    void AddText(const std::string& text);
    // Fills `target` with the texts that begin with `text`. Gives way to typing: answers false,
    // unfinished, when a key waits in the queue (checked every 100 texts).
    bool CopyMatchingItems(TStrings& target, const std::string& text) const;
    // Whether a text is offered for what was typed: its beginning equals `text`, and the filter agrees.
    [[nodiscard]] bool Matches(const std::string& item, const std::string& text) const;
    void OpenList();
    void CloseList(bool accept);

    [[nodiscard]] bool Active() const { return m_active; }
    void SetActive(bool active);
    [[nodiscard]] bool AutoAdd() const { return m_autoAdd; }
    void SetAutoAdd(bool autoAdd) { m_autoAdd = autoAdd; }
    [[nodiscard]] bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }
    [[nodiscard]] TStringList* Items() const { return m_items.get(); }
    void SetItems(const TStrings* items);
    [[nodiscard]] int Limit() const { return m_limit; }
    // Never below 0.
    void SetLimit(int limit);
    [[nodiscard]] int Rows() const { return m_rows; }
    void SetRows(int rows) { m_rows = rows; }
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    [[nodiscard]] bool DroppedDown() const { return m_droppedDown; }
    void SetDroppedDown(bool droppedDown) { m_droppedDown = droppedDown; }
    [[nodiscard]] bool StopOnKey() const { return m_stopOnKey; }
    void SetStopOnKey(bool stopOnKey) { m_stopOnKey = stopOnKey; }

    void SetOnDropDown(const TNotifyEvent& handler) { m_onDropDown = handler; }
    void SetOnCloseUp(const TEvent<TObject*, bool>& handler) { m_onCloseUp = handler; }
    void SetOnFilterItem(const TFilterItemEventGx& handler) { m_onFilterItem = handler; }
    void SetOnActiveChanged(const TNotifyEvent& handler) { m_onActiveChanged = handler; }

private:
    void ApplyLimit();

    TPersistent* m_owner;
    bool m_active = false;
    bool m_autoAdd = true;
    bool m_caseSensitive = false;
    std::unique_ptr<TStringList> m_items;
    int m_limit = 100;
    int m_rows = 7;
    int m_width = 0;
    bool m_droppedDown = false;
    bool m_stopOnKey = true;
    TNotifyEvent m_onDropDown;
    TEvent<TObject*, bool> m_onCloseUp;
    TFilterItemEventGx m_onFilterItem;
    TNotifyEvent m_onActiveChanged;
};
