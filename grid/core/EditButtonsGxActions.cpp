#include "grid/core/EditButtonsGx.h"

CLASSLIB_IMPLEMENT_CLASS(TEditButtonActionLinkGx, TActionLink, nullptr, nullptr)

// ---- TEditButtonActionLinkGx

bool TEditButtonActionLinkGx::IsEnabledLinked() const
{
    return TActionLink::IsEnabledLinked() && m_client.Enabled() == CustomAction()->Enabled();
}

bool TEditButtonActionLinkGx::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && m_client.Hint() == CustomAction()->Hint();
}

bool TEditButtonActionLinkGx::IsShortCutLinked() const
{
    return TActionLink::IsShortCutLinked() && m_client.ShortCut() == CustomAction()->ShortCut();
}

bool TEditButtonActionLinkGx::IsVisibleLinked() const
{
    return TActionLink::IsVisibleLinked() && m_client.Visible() == CustomAction()->Visible();
}

void TEditButtonActionLinkGx::SetEnabled(bool value)
{
    if (IsEnabledLinked())
        m_client.SetEnabled(value);
}

void TEditButtonActionLinkGx::SetHint(const std::string& value)
{
    if (IsHintLinked())
        m_client.SetHint(value);
}

void TEditButtonActionLinkGx::SetShortCut(TShortCut value)
{
    if (IsShortCutLinked())
        m_client.SetShortCut(value);
}

void TEditButtonActionLinkGx::SetVisible(bool value)
{
    if (IsVisibleLinked())
        m_client.SetVisible(value);
}

// ---- TEditButtonGx's action

void TEditButtonGx::SetAction(TBasicAction* action)
{
    if (!action) {
        m_actionLink.reset();
        return;
    }
    if (!m_actionLink)
        m_actionLink = std::make_unique<TEditButtonActionLinkGx>(*this);
    m_actionLink->SetAction(action);
    ActionChange(action, action->ComponentState().Contains(csLoading));
}

void TEditButtonGx::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action)
        return;
    if (!checkDefaults || Enabled())
        SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty())
        SetHint(action->Hint());
    if (!checkDefaults || ShortCut() == scNone)
        SetShortCut(action->ShortCut());
    if (!checkDefaults || Visible())
        SetVisible(action->Visible());
}
