#pragma once

// A user's handler may free the control whose event it answers. A family's table has one row per
// event and way of firing it: the row makes a control, sets the event to a handler that frees its
// sender, puts things in place (the focus, the mouse), arms the trap and fires the event by mouse
// or keyboard. The control must then leave its freed state alone (AddressSanitizer reports it
// otherwise) and be gone.

#include "platform/classlib/forms/Controls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>

namespace free_in_event {

// The next handler made by FreeSender to run frees its sender; until then they do nothing.
void Arm();
// Whether a handler freed its sender since the last Arm.
[[nodiscard]] bool Sprung();
void Disarm();
// What the handlers do: frees the sender when armed, once.
void FreeIfArmed(TObject* sender);

// An event of any signature whose handler frees its sender.
template <class Event>
Event FreeSender()
{
    return Event::FromFunction([](TObject* sender, auto&&...) { FreeIfArmed(sender); });
}

// An event of any signature whose handler frees `control`: for events whose sender is a part of
// the control (a grid's column) rather than the control itself.
template <class Event>
Event FreeControl(TControl& control)
{
    return Event::FromFunction([&control](auto&&...) { FreeIfArmed(&control); });
}

// Sets an event of `Control`, through its setter, to a handler that frees the sender.
template <class Control, class Event>
std::function<void(TControl&)> Frees(void (Control::*setter)(const Event&))
{
    return [setter](TControl& control) { (static_cast<Control&>(control).*setter)(FreeSender<Event>()); };
}

// One row of a family's table; `Fixture` is the test's fixture, which the steps drive.
template <class Fixture>
struct Row {
    using Step = std::function<void(Fixture&, TControl&)>;
    const char* name;
    std::function<TControl*(Fixture&)> make;
    std::function<void(TControl&)> arm;
    // Done before the trap is set: the focus put in place, the mouse moved in.
    Step prepare;
    // The input that fires the event.
    Step drive;
};

// Runs a row: expects the handler to have run and the control to be gone. The fixture's Settle
// shows its form and lets it settle once the control is made.
template <class Fixture>
void Run(std::type_identity_t<Fixture>& fixture, const Row<Fixture>& row)
{
    TControl* control = row.make(fixture);
    row.arm(*control);
    fixture.Settle();
    row.prepare(fixture, *control);
    const TControlLife life(*control);
    Arm();
    row.drive(fixture, *control);
    EXPECT_TRUE(Sprung()) << "the event never fired";
    EXPECT_FALSE(life.Stands());
    Disarm();
}

// Names a parameterised test by its row.
template <class Fixture>
std::string RowName(const ::testing::TestParamInfo<Row<Fixture>>& info)
{
    return info.param.name;
}

} // namespace free_in_event
