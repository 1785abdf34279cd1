#include "platform/classlib/forms/ActnList.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TBasicActionLink, TObject, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TBasicAction, TComponent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomAction, TBasicAction, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TAction, TCustomAction, ComponentCreator<TAction>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TActionLink, TBasicActionLink, nullptr, nullptr)

// ---- TBasicActionLink

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* action)
{
    if (action == m_action)
        return;
    if (m_action) {
        auto& clients = m_action->m_clients;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    }
    m_action = action;
    if (m_action)
        m_action->m_clients.push_back(this);
}

bool TBasicActionLink::Execute(TObject* target) { return m_action && m_action->ExecuteTarget(target); }

// ---- TBasicAction

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

// The clients keep their links, which no longer name an action.
TBasicAction::~TBasicAction()
{
    while (!m_clients.empty())
        m_clients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!m_onExecute.Assigned())
        return false;
    m_onExecute(this);
    return true;
}

bool TBasicAction::ExecuteTarget(TObject*) { return Execute(); }

// ---- TCustomAction

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

template <class Apply>
void TCustomAction::ForEachActionLink(Apply apply)
{
    const std::vector<TBasicActionLink*> clients = Clients();
    for (TBasicActionLink* client : clients)
        if (auto* link = dynamic_cast<TActionLink*>(client))
            apply(*link);
}

// Each setter tells the links before it stores the value: a client follows while its value
// still equals the action's old one.
void TCustomAction::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    ForEachActionLink([value](TActionLink& link) { link.SetEnabled(value); });
    m_enabled = value;
}

void TCustomAction::SetHint(const std::string& value)
{
    if (value == m_hint)
        return;
    ForEachActionLink([&value](TActionLink& link) { link.SetHint(value); });
    m_hint = value;
}

void TCustomAction::SetShortCut(TShortCut value)
{
    if (value == m_shortCut)
        return;
    ForEachActionLink([value](TActionLink& link) { link.SetShortCut(value); });
    m_shortCut = value;
}

void TCustomAction::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    ForEachActionLink([value](TActionLink& link) { link.SetVisible(value); });
    m_visible = value;
}

void TCustomAction::SetChecked(bool value)
{
    if (value == m_checked)
        return;
    ForEachActionLink([value](TActionLink& link) { link.SetChecked(value); });
    m_checked = value;
}

void TCustomAction::SetImageIndex(int value)
{
    if (value == m_imageIndex)
        return;
    ForEachActionLink([value](TActionLink& link) { link.SetImageIndex(value); });
    m_imageIndex = value;
}

bool TCustomAction::Execute() { return m_enabled && TBasicAction::Execute(); }

// ---- TActionLink

bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
