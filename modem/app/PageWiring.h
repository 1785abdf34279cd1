#pragma once

#include "platform/classlib/forms/Controls.h"

#include <functional>
#include <string>
#include <vector>

class TListBox;

// What the pages share in wiring themselves to the main window's controls.

// An OnClick / OnTimer / OnChange handler that runs `action`.
[[nodiscard]] TNotifyEvent PageHandler(std::function<void()> action);

// The number behind the selected name of a name list, whose numbers are kept item for item in
// `numbers`; null when no name is selected or the lists are out of step.
[[nodiscard]] const std::string* SelectedNumber(const TListBox& names, const std::vector<std::string>& numbers);
