#include "KvFormHost.h"

#include "controls/KvFrameController.h"
#include "controls/KvLEDDisplay.h"
#include "platform/classlib/core/FormReader.h"

void KvFormHost::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    m_clock = std::make_unique<FakeClock>();
    RegisterFrameControllerClasses();
    RegisterBorderClasses();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(20, 20, 480, 200);
    m_form->SetColor(clBtnFace);
    m_form->Show();
    Settle();
}

void KvFormHost::TearDown()
{
    m_form.reset();
    Settle();
    Application->SetShowExceptionHook(nullptr);
    m_clock.reset();
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void KvFormHost::Settle()
{
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
}

void KvFormHost::Advance(std::uint64_t ms)
{
    m_clock->Advance(ms);
    Settle();
}

std::uint32_t KvFormHost::Shown(const TControl& control, int x, int y) const
{
    const TPoint screen = control.Parent()->ClientToScreen(TPoint{control.Left() + x, control.Top() + y});
    RECT window{};
    (void)GetWindowRect(m_form->Handle(), &window);
    const auto id = reinterpret_cast<WindowId>(m_form->Handle());
    return m_display->WindowPixel(id, screen.x - window.left, screen.y - window.top).value_or(0xDEADBEEF) & 0xFFFFFF;
}

void KvFormHost::Load(const std::string& text)
{
    (void)ReadComponentText(text, m_form.get());
    Settle();
}
