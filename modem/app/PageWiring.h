#pragma once

#include "platform/classlib/forms/Controls.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TListBox;

// What the pages share in wiring themselves to the main window's controls.

// The control `name` of `form`'s form data, of class T; the form data and the code that uses it
// are one program, so a missing control is a programming error.
template <class T>
[[nodiscard]] T& FormControl(const TComponent& form, std::string_view name)
{
    auto* control = dynamic_cast<T*>(form.FindComponent(name));
    if (!control)
        throw std::logic_error("the main window has no control " + std::string(name));
    return *control;
}

// An OnClick / OnTimer / OnChange handler that runs `action`.
[[nodiscard]] TNotifyEvent PageHandler(std::function<void()> action);

// A number edit's key filter: the digits 0-9 and backspace pass, every other key is dropped.
// Pasted text passes no key filter: whatever takes the number checks it again.
[[nodiscard]] bool IsDigitOrBackspace(char key);
[[nodiscard]] TKeyPressEvent DigitKeysOnly();

// The number behind the selected name of a name list, whose numbers are kept item for item in
// `numbers`; null when no name is selected or the lists are out of step.
[[nodiscard]] const std::string* SelectedNumber(const TListBox& names, const std::vector<std::string>& numbers);
