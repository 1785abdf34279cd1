#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Events.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

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

// An OnClick / OnPopup handler that runs `action`.
[[nodiscard]] inline TNotifyEvent Handler(std::function<void()> action)
{
    return TNotifyEvent::FromFunction([action = std::move(action)](TObject*) { action(); });
}
