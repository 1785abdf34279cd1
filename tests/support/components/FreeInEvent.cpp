#include "tests/support/components/FreeInEvent.h"

namespace free_in_event {

namespace {

struct Trap {
    bool armed = false;
    bool sprung = false;
};

Trap& TheTrap()
{
    static Trap trap;
    return trap;
}

} // namespace

void Arm() { TheTrap() = Trap{true, false}; }

bool Sprung() { return TheTrap().sprung; }

void Disarm() { TheTrap() = Trap{}; }

void FreeIfArmed(TObject* sender)
{
    if (!TheTrap().armed)
        return;
    TheTrap() = Trap{false, true};
    delete sender;
}

} // namespace free_in_event
