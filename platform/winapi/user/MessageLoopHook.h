#pragma once

#include <functional>

// A function the message loop runs each time a thread looks at its queue (GetMessage,
// PeekMessage, and while SendMessage waits for its answer). The class library installs its
// hand-over of methods from worker threads here (a worker posts WM_NULL to the main thread to
// wake it); the window system itself knows nothing of it. Empty clears it.
void SetMessageLoopHook(std::function<void()> hook);
