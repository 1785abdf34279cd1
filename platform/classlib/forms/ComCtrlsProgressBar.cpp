#include "platform/classlib/forms/ComCtrlsProgressBar.h"

#include "platform/winapi/controls/ProgressBar.h"

#include <algorithm>

namespace {

void DescribeProgressBar(TClassBuilder& c)
{
    c.Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
    c.Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
    c.Enum("Orientation", ProgressBarOrientationTypeInfo(), &TProgressBar::Orientation, &TProgressBar::SetOrientation)
        .Default(pbHorizontal);
    c.Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
    c.Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
    c.Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TProgressBar, TWinControl, ComponentCreator<TProgressBar>, DescribeProgressBar)

const TTypeInfo& ProgressBarOrientationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TProgressBarOrientation", {"pbHorizontal", "pbVertical"});
    return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetPosition(int value)
{
    m_position = std::clamp(value, m_min, std::max(m_min, m_max));
    if (HandleAllocated())
        (void)SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

void TProgressBar::SetRange(int min, int max)
{
    m_min = min;
    m_max = max;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min), max);
    m_position = std::clamp(m_position, m_min, std::max(m_min, m_max));
}

void TProgressBar::SetStep(int value)
{
    m_step = value;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(value), 0);
}

void TProgressBar::SetSmooth(bool value)
{
    m_smooth = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation value)
{
    m_orientation = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TProgressBar::StepIt()
{
    HandleNeeded();
    (void)SendMessageA(Handle(), PBM_STEPIT, 0, 0);
    m_position = static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::StepBy(int delta)
{
    HandleNeeded();
    (void)SendMessageA(Handle(), PBM_DELTAPOS, static_cast<WPARAM>(delta), 0);
    m_position = static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::CreateParams(TCreateParams& params)
{
    RegisterProgressBarClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSA);
    params.Style |= (m_smooth ? PBS_SMOOTH : 0U) | (m_orientation == pbVertical ? PBS_VERTICAL : 0U);
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    (void)SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
    (void)SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(m_step), 0);
    (void)SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}
