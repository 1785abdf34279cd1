#pragma once

#include "platform/classlib/forms/Forms.h"

// A tool window holding one control floated out of a dock site, at the place on the screen where
// the control stood. The window goes once its control has docked somewhere else.
class TKvFloatingDockHost : public TForm {
public:
    // Takes a docked control out of its site into a new host window, which is shown.
    static TKvFloatingDockHost& Float(TControl& client);

    void DockDrop(TControl& client, TPoint drop) override;
    void ClientUndocked(TControl& client) override;

private:
    explicit TKvFloatingDockHost(TComponent* owner);
};
