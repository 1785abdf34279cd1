#pragma once

#include <functional>

class TObject;

// Where core components (TTimer) send an exception that escapes an event handler. The forms
// library installs its application object's HandleException here, so a program that has one shows
// the error box and goes on; without one the exception is dropped after the handler, because a
// message loop has nobody to hand it to. Called from inside a catch block.
void SetApplicationHandleException(std::function<void(TObject* sender)> handler);
void ApplicationHandleException(TObject* sender);
