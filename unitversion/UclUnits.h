#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// Start-up and shut-down of the library units that record their versions: UclUnitVersioning,
// UclResources, UclBase and UclWin32. The program calls these once each, first thing and last
// thing, with its module instance; start-up runs the units in that order, shut-down in reverse.
void InitializeUclUnits(HINSTANCE instance);
void FinalizeUclUnits();
