#include "grid/core/EditButtonsGx.h"

CLASSLIB_IMPLEMENT_CLASS(TEditButtonActionLinkGx, TActionLink, nullptr, nullptr)

// ---- TEditButtonActionLinkGx

bool TEditButtonActionLinkGx::IsShortCutLinked() const
{
    return TActionLink::IsShortCutLinked() && m_client.ShortCut() == CustomAction()->ShortCut();
}

void TEditButtonActionLinkGx::SetShortCut(TShortCut value)
{
    if (IsShortCutLinked())
        m_client.SetShortCut(value);
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
