// The panel freed by a handler of its own events (see FreeInEvent.h).

#include "panels/KvPanel.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/components/FreeInEvent.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using free_in_event::Frees;

class PanelFreeInEvent;
using Row = free_in_event::Row<PanelFreeInEvent>;
using Step = Row::Step;

// A panel on a form with an edit beside it for the mouse to come from.
class PanelFreeInEvent : public ::testing::TestWithParam<Row> {
public:
    TControl* MakePanel()
    {
        auto* panel = new TKvPanel(m_form.get());
        panel->SetParent(m_form.get());
        panel->SetBounds(10, 10, 200, 150);
        return panel;
    }
    void Settle()
    {
        m_form->Show();
        Pump();
    }
    static void Pump()
    {
        for (int round = 0; round < 5; ++round)
            Application->ProcessMessages();
    }
    // Mouse input at a client point of a control, after a pause (never half a double click).
    void Click(TControl& control, POINT client)
    {
        m_clock.Advance(1000);
        m_display->InjectClick(FormId(), InForm(control, client));
        Pump();
    }
    void Move(TControl& control, POINT client)
    {
        m_display->InjectMouseMove(FormId(), InForm(control, client));
        Pump();
    }

    TEdit* m_other = nullptr;

protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 400, 300);
        m_other = new TEdit(m_form.get());
        m_other->SetParent(m_form.get());
        m_other->SetBounds(10, 200, 100, 22);
    }
    void TearDown() override { m_form.reset(); }

private:
    [[nodiscard]] WindowId FormId() const { return reinterpret_cast<WindowId>(m_form->Handle()); }
    [[nodiscard]] POINT InForm(TControl& control, POINT client) const
    {
        const TPoint screen = control.ClientToScreen(TPoint{client.x, client.y});
        RECT window{};
        (void)GetWindowRect(m_form->Handle(), &window);
        return POINT{screen.x - window.left, screen.y - window.top};
    }

    FakeClock m_clock;
    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
};

TControl* Panel(PanelFreeInEvent& f) { return f.MakePanel(); }

const Step Nothing = [](PanelFreeInEvent&, TControl&) {};
const Step ClickIt = [](PanelFreeInEvent& f, TControl& c) { f.Click(c, POINT{50, 50}); };
const Step MouseIn = [](PanelFreeInEvent& f, TControl& c) { f.Move(c, POINT{50, 50}); };
const Step MouseOut = [](PanelFreeInEvent& f, TControl&) { f.Move(*f.m_other, POINT{5, 5}); };

const Row ROWS[] = {
    {"Click", Panel, Frees(&TKvPanel::SetOnClick), Nothing, ClickIt},
    {"MouseDown", Panel, Frees(&TKvPanel::SetOnMouseDown), Nothing, ClickIt},
    {"MouseUp", Panel, Frees(&TKvPanel::SetOnMouseUp), Nothing, ClickIt},
    {"MouseMove", Panel, Frees(&TKvPanel::SetOnMouseMove), MouseOut, MouseIn},
    {"MouseEnter", Panel, Frees(&TKvPanel::SetOnMouseEnter), MouseOut, MouseIn},
    {"MouseLeave", Panel, Frees(&TKvPanel::SetOnMouseLeave), MouseIn, MouseOut},
};

TEST_P(PanelFreeInEvent, ThePanelLeavesItsStateAloneOnceTheHandlerFreesIt) { free_in_event::Run(*this, GetParam()); }

INSTANTIATE_TEST_SUITE_P(EveryEvent, PanelFreeInEvent, ::testing::ValuesIn(ROWS),
                         free_in_event::RowName<PanelFreeInEvent>);

} // namespace
