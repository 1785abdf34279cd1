#include "ToolsFixture.h"

#include "tests/support/windows/HeadlessWindows.h"

#include <utility>

namespace {

// The window that receives a control's input, and the control's point in that window.
std::pair<HWND, POINT> WindowPoint(TControl& control, POINT client)
{
    if (auto* window = dynamic_cast<TWinControl*>(&control))
        return {window->Handle(), client};
    return {control.Parent()->Handle(), POINT{client.x + control.Left(), client.y + control.Top()}};
}

} // namespace

void ToolsFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(20, 20, 460, 380);
    m_form->Show();
    Pump();
}

void ToolsFixture::TearDown()
{
    (void)ReleaseCapture();
    m_form.reset();
    Pump();
    Application->SetShowExceptionHook(nullptr);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void ToolsFixture::Pump() { Application->ProcessMessages(); }

void ToolsFixture::Key(unsigned virtualKey, unsigned modifiers, std::string text)
{
    const WindowId id = TopLevelId(m_form->Handle());
    m_display->InjectKeyChord(id, virtualKey, modifiers, std::move(text));
    Pump();
}

void ToolsFixture::Type(const std::string& text)
{
    m_display->InjectText(TopLevelId(m_form->Handle()), text);
    Pump();
}

void ToolsFixture::Click(TControl& control, POINT client)
{
    const auto [window, point] = WindowPoint(control, client);
    MouseInput(*m_display).Click(window, point);
    Pump();
}

void ToolsFixture::Press(TControl& control, POINT client, bool down)
{
    const auto [window, point] = WindowPoint(control, client);
    MouseInput(*m_display).Press(window, point, down);
    Pump();
}

void ToolsFixture::MoveHeld(TControl& control, POINT client)
{
    const auto [window, point] = WindowPoint(control, client);
    MouseInput(*m_display).MoveHeld(window, point);
    Pump();
}

void ToolsFixture::Wheel(TControl& control, POINT client, int delta)
{
    const auto [window, point] = WindowPoint(control, client);
    m_display->InjectWheel(TopLevelId(window), InTopLevel(window, point), delta);
    Pump();
}

std::uint32_t ToolsFixture::Shown(TControl& control, POINT client) const
{
    const auto [window, point] = WindowPoint(control, client);
    return ShownPixel(*m_display, window, point);
}

std::uint32_t ToolsFixture::SysRgb(int index) { return RgbOf(GetSysColor(index)); }
