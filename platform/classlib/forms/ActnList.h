#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/forms/Menus.h"

#include <string>
#include <vector>

class TBasicAction;

// Ties a client (a control, a menu item, a button description) to an action; the action unlinks
// them all when it goes.
class TBasicActionLink : public TObject {
    CLASSLIB_DECLARE_CLASS;

    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    [[nodiscard]] TBasicAction* Action() const { return m_action; }
    void SetAction(TBasicAction* action);
    // Runs the action for the client: true when it was run.
    bool Execute(TObject* target);

private:
    TBasicAction* m_action = nullptr;
};

// A command that clients share. Execute runs OnExecute.
class TBasicAction : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs the action on behalf of a target (the client's control).
    virtual bool ExecuteTarget(TObject* target);

    [[nodiscard]] const TNotifyEvent& OnExecute() const { return m_onExecute; }
    void SetOnExecute(const TNotifyEvent& handler) { m_onExecute = handler; }

protected:
    [[nodiscard]] const std::vector<TBasicActionLink*>& Clients() const { return m_clients; }

private:
    friend class TBasicActionLink;

    std::vector<TBasicActionLink*> m_clients;
    TNotifyEvent m_onExecute;
};

class TActionLink;

// An action with the state its clients show: enabled, hint, short cut, visibility, checked state
// and image. Changing one passes the new value to every client whose own value still follows the
// action.
class TCustomAction : public TBasicAction {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomAction(TComponent* owner);

    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& value);
    [[nodiscard]] TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut value);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    [[nodiscard]] bool Checked() const { return m_checked; }
    void SetChecked(bool value);
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);

    // A disabled action does not run.
    bool Execute() override;

private:
    template <class Apply>
    void ForEachActionLink(Apply apply);

    bool m_enabled = true;
    std::string m_hint;
    TShortCut m_shortCut = scNone;
    bool m_visible = true;
    bool m_checked = false;
    int m_imageIndex = -1;
};

class TAction : public TCustomAction {
    CLASSLIB_DECLARE_CLASS;

    using TCustomAction::TCustomAction;
};

// The link of a client that shows an action's state. A descendant says, per property, whether the
// client's value still follows the action (it does while both are equal) and how to set it.
class TActionLink : public TBasicActionLink {
    CLASSLIB_DECLARE_CLASS;

    TActionLink() = default;

    [[nodiscard]] virtual bool IsEnabledLinked() const;
    [[nodiscard]] virtual bool IsHintLinked() const;
    [[nodiscard]] virtual bool IsShortCutLinked() const;
    [[nodiscard]] virtual bool IsVisibleLinked() const;
    [[nodiscard]] virtual bool IsCheckedLinked() const;
    [[nodiscard]] virtual bool IsImageIndexLinked() const;
    virtual void SetEnabled(bool) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}
    virtual void SetChecked(bool) {}
    virtual void SetImageIndex(int) {}

protected:
    [[nodiscard]] TCustomAction* CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }
};

// The link of a client whose Enabled, Hint and Visible follow the action while they equal it.
template <class Client>
class TClientActionLink : public TActionLink {
public:
    explicit TClientActionLink(Client& client) : m_client(client) {}

    [[nodiscard]] bool IsEnabledLinked() const override
    {
        return TActionLink::IsEnabledLinked() && m_client.Enabled() == CustomAction()->Enabled();
    }
    [[nodiscard]] bool IsHintLinked() const override
    {
        return TActionLink::IsHintLinked() && m_client.Hint() == CustomAction()->Hint();
    }
    [[nodiscard]] bool IsVisibleLinked() const override
    {
        return TActionLink::IsVisibleLinked() && m_client.Visible() == CustomAction()->Visible();
    }
    void SetEnabled(bool value) override
    {
        if (IsEnabledLinked())
            m_client.SetEnabled(value);
    }
    void SetHint(const std::string& value) override
    {
        if (IsHintLinked())
            m_client.SetHint(value);
    }
    void SetVisible(bool value) override
    {
        if (IsVisibleLinked())
            m_client.SetVisible(value);
    }

protected:
    Client& m_client;
};
