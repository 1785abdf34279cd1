#include "controls/KvBlinkingControlsList.h"

#include <algorithm>

namespace {

std::unique_ptr<TKvBlinkingControlsList>& SharedList()
{
    static std::unique_ptr<TKvBlinkingControlsList> list;
    return list;
}

} // namespace

TKvBlinkingControlsList::TKvBlinkingControlsList() : m_timer(std::make_unique<TTimer>(nullptr))
{
    m_timer->SetInterval(m_intervalOff);
    m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { Tick(); }));
    m_timer->SetEnabled(true);
}

TKvBlinkingControlsList::~TKvBlinkingControlsList() = default;

TKvBlinkingControlsList& TKvBlinkingControlsList::Shared()
{
    auto& list = SharedList();
    if (!list)
        list = std::make_unique<TKvBlinkingControlsList>();
    return *list;
}

TKvBlinkingControlsList* TKvBlinkingControlsList::SharedIfMade() { return SharedList().get(); }

void TKvBlinkingControlsList::ReleaseSharedIfEmpty()
{
    auto& list = SharedList();
    if (!list || list->Count() > 0)
        return;
    // A control that goes while the list is telling the controls of a tick: the list finishes
    // the tick first.
    if (list->m_ticking) {
        list->m_releaseAfterTick = true;
        return;
    }
    list.reset();
}

void TKvBlinkingControlsList::Add(TControl* control) { m_controls.push_back(control); }

void TKvBlinkingControlsList::Remove(TControl* control)
{
    if (const auto found = std::ranges::find(m_controls, control); found != m_controls.end())
        m_controls.erase(found);
}

bool TKvBlinkingControlsList::Listed(const TControl* control) const
{
    return std::ranges::find(m_controls, control) != m_controls.end();
}

void TKvBlinkingControlsList::Tick()
{
    m_on = !m_on;
    m_timer->SetInterval(m_on ? m_intervalOn : m_intervalOff);
    m_ticking = true;
    // A control told of the tick may free itself, or another listed control.
    const std::vector<TControl*> controls = m_controls;
    for (TControl* control : controls)
        if (Listed(control) && control->Perform(KM_BLINKQUERY) == 1)
            (void)control->Perform(KM_BLINKTICK, m_on ? 1 : 0);
    m_ticking = false;
    if (m_releaseAfterTick) {
        m_releaseAfterTick = false;
        ReleaseSharedIfEmpty();
    }
}
