#include "KvFormFixture.h"

#include "controls/KvControlLibrary.h"
#include "platform/classlib/core/FormReader.h"

void KvFormFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    m_clock = std::make_unique<FakeClock>();
    RegisterControlLibraryClasses();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(40, 40, 480, 260);
    m_form->SetColor(clBtnFace);
}

void KvFormFixture::TearDown()
{
    m_form.reset();
    Pump();
    Application->SetShowExceptionHook(nullptr);
    m_clock.reset();
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void KvFormFixture::UseForm(TClass formClass)
{
    m_form.reset(static_cast<TForm*>(TCustomForm::Create(formClass, nullptr)));
}

void KvFormFixture::Load(const std::string& text)
{
    (void)ReadComponentText(text, m_form.get());
    Pump();
}

void KvFormFixture::Advance(std::uint64_t ms)
{
    m_clock->Advance(ms);
    Pump();
}

void KvFormFixture::ShowForm()
{
    m_form->Show();
    Pump();
}

void KvFormFixture::Focus(TWinControl& control)
{
    control.SetFocus();
    Pump();
    ASSERT_TRUE(control.Focused());
}

void KvFormFixture::Pump()
{
    // Posted work may post more (a Tab posted by Enter moves the focus): a few rounds settle it.
    for (int round = 0; round < 5; ++round)
        Application->ProcessMessages();
}

WindowId KvFormFixture::FormId() const { return reinterpret_cast<WindowId>(m_form->Handle()); }

POINT KvFormFixture::InForm(TControl& control, POINT client) const
{
    const TPoint screen = control.ClientToScreen(client);
    RECT window{};
    (void)GetWindowRect(m_form->Handle(), &window);
    return POINT{screen.x - window.left, screen.y - window.top};
}

std::uint32_t KvFormFixture::Shown(TControl& control, POINT client) const
{
    const POINT point = InForm(control, client);
    return m_display->WindowPixel(FormId(), point.x, point.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

POINT KvFormFixture::WindowInForm(TWinControl& control, POINT window) const
{
    RECT form{};
    RECT own{};
    (void)GetWindowRect(m_form->Handle(), &form);
    (void)GetWindowRect(control.Handle(), &own);
    return POINT{own.left - form.left + window.x, own.top - form.top + window.y};
}

std::uint32_t KvFormFixture::ShownInWindow(TWinControl& control, POINT window) const
{
    const POINT point = WindowInForm(control, window);
    return m_display->WindowPixel(FormId(), point.x, point.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

void KvFormFixture::ClickInWindow(TWinControl& control, POINT window)
{
    m_display->InjectClick(FormId(), WindowInForm(control, window));
    Pump();
}

int KvFormFixture::CountShown(TControl& control, TColor color) const
{
    int count = 0;
    for (int y = 0; y < control.Height(); ++y)
        for (int x = 0; x < control.Width(); ++x)
            count += Shown(control, POINT{x, y}) == Rgb(color) ? 1 : 0;
    return count;
}

bool KvFormFixture::ShowsColour(TControl& control, const TRect& rect, TColor color) const
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (Shown(control, POINT{x, y}) == Rgb(color))
                return true;
    return false;
}

TRect KvFormFixture::BoundsShown(TControl& control, TColor color) const
{
    TRect box{control.Width(), control.Height(), 0, 0};
    for (int y = 0; y < control.Height(); ++y)
        for (int x = 0; x < control.Width(); ++x)
            if (Shown(control, POINT{x, y}) == Rgb(color))
                box = Rect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                           std::max<int>(box.bottom, y + 1));
    return box.left < box.right ? box : TRect{};
}

void KvFormFixture::MoveMouse(TControl& control, POINT client)
{
    m_display->InjectMouseMove(FormId(), InForm(control, client));
    Pump();
}

void KvFormFixture::Click(TWinControl& control, POINT client)
{
    m_display->InjectClick(FormId(), InForm(control, client));
    Pump();
}

void KvFormFixture::Press(TWinControl& control, POINT client, bool down)
{
    m_display->InjectMouseButton(FormId(), InForm(control, client), MouseButton::Left, down,
                                 down ? 0U : static_cast<unsigned>(ModLeftButton));
    Pump();
}

void KvFormFixture::MoveHeld(TWinControl& control, POINT client)
{
    m_display->InjectMouseMove(FormId(), InForm(control, client), ModLeftButton);
    Pump();
}

void KvFormFixture::Key(unsigned virtualKey, unsigned modifiers, const std::string& text)
{
    m_display->InjectKeyChord(FormId(), virtualKey, modifiers, text);
    Pump();
}

void KvFormFixture::Type(const std::string& text)
{
    m_display->InjectText(FormId(), text);
    Pump();
}

std::uint32_t Rgb(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}
