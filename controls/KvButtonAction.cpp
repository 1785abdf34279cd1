#include "controls/KvButton.h"

CLASSLIB_IMPLEMENT_CLASS(TKvButtonActionLink, TActionLink, nullptr, nullptr)

// ---- The button's action

TKvCustomButton::~TKvCustomButton() = default;

TBasicAction* TKvCustomButton::Action() const { return m_actionLink ? m_actionLink->Action() : nullptr; }

void TKvCustomButton::SetAction(TBasicAction* action)
{
    if (!action) {
        m_actionLink.reset();
        return;
    }
    if (!m_actionLink)
        m_actionLink = CreateActionLink();
    m_actionLink->SetAction(action);
    ActionChange(action, IsLoading());
}

std::unique_ptr<TKvButtonActionLink> TKvCustomButton::CreateActionLink()
{
    return std::make_unique<TKvButtonActionLink>(*this);
}

void TKvCustomButton::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action)
        return;
    if (!checkDefaults || Enabled())
        SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty())
        SetHint(action->Hint());
    if (!checkDefaults || Visible())
        SetVisible(action->Visible());
}

void TKvCustomButton::Click()
{
    if (!OnClick().Assigned() && m_actionLink && m_actionLink->Execute(this))
        return;
    TCustomControl::Click();
}

// ---- The bit button's action

void TKvBitBtn::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    TKvButton::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (action && (!checkDefaults || ImageIndex() == -1))
        SetImageIndex(action->ImageIndex());
}
