#include "GridTestClasses.h"

#include "tests/support/windows/HeadlessWindows.h"

#include <utility>

void GridFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(20, 20, 460, 380);
    m_grid = new TTestGrid(m_form.get());
    m_grid->SetParent(m_form.get());
    m_grid->SetBorderStyle(bsNoneGx);
    m_grid->SetScrollBars(ssNoneGx);
    m_grid->SetBounds(0, 0, 400, 300);
    m_grid->SetColCount(10);
    m_grid->SetRowCount(20);
    m_form->Show();
    Pump();
    m_form->SetActiveControl(m_grid);
    Pump();
}

void GridFixture::TearDown()
{
    (void)ReleaseCapture();
    m_form.reset();
    Pump();
    Application->SetShowExceptionHook(nullptr);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void GridFixture::Pump() { Application->ProcessMessages(); }

void GridFixture::Key(unsigned virtualKey, unsigned modifiers, std::string text)
{
    const WindowId id = TopLevelId(TargetHandle());
    m_display->InjectKeyChord(id, virtualKey, modifiers, std::move(text));
    Pump();
}

void GridFixture::Type(const std::string& text)
{
    m_display->InjectText(TopLevelId(TargetHandle()), text);
    Pump();
}

void GridFixture::Click(POINT client)
{
    MouseInput(*m_display).Click(TargetHandle(), client);
    Pump();
}

void GridFixture::Press(POINT client, bool down)
{
    MouseInput(*m_display).Press(TargetHandle(), client, down);
    Pump();
}

void GridFixture::MoveHeld(POINT client)
{
    MouseInput(*m_display).MoveHeld(TargetHandle(), client);
    Pump();
}

std::uint32_t GridFixture::Shown(POINT client) const { return ShownPixel(*m_display, TargetHandle(), client); }

std::uint32_t GridFixture::SysRgb(int index) { return RgbOf(GetSysColor(index)); }
