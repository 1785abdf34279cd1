#include "controls/KvRadChk.h"

CLASSLIB_IMPLEMENT_CLASS(TKvCheckedActionLink, TKvButtonActionLink, nullptr, nullptr)

bool TKvCheckedActionLink::IsCheckedLinked() const
{
    return TKvButtonActionLink::IsCheckedLinked() && m_glyphButton.Checked() == CustomAction()->Checked();
}

void TKvCheckedActionLink::SetChecked(bool value)
{
    if (IsCheckedLinked())
        m_glyphButton.SetCheckedWithoutClick(value);
}

void TKvCustomGlyphButton::SetCheckedWithoutClick(bool value)
{
    controls::detail::WithFlag(*this, m_clicksDisabled, [&] { SetChecked(value); });
}

bool TKvCustomGlyphButton::IsCheckedStored() const { return !ActionLink() || !ActionLink()->IsCheckedLinked(); }

void TKvCustomGlyphButton::Click()
{
    if (!m_clicksDisabled)
        TKvCustomButton::Click();
}

std::unique_ptr<TKvButtonActionLink> TKvCustomGlyphButton::CreateActionLink()
{
    return std::make_unique<TKvCheckedActionLink>(*this);
}

void TKvCustomGlyphButton::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    TKvCustomButton::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (action && (!checkDefaults || !Checked()))
        SetCheckedWithoutClick(action->Checked());
}
