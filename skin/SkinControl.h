#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>
#include <memory>
#include <string>

class TControl;
class TWinSkinForm;

// What the form skinner needs of a control skinner: attaching it to a control object or to a bare
// window, taking it off again, telling it of a new skin, and knowing whether its window is gone.
// The form skinner owns its control skinners; a skinner whose window was destroyed reports
// IsDead() and is then only freed, never detached.
class TSkinControl {
public:
    TSkinControl() = default;
    virtual ~TSkinControl() = default;
    TSkinControl(const TSkinControl&) = delete;
    TSkinControl& operator=(const TSkinControl&) = delete;

    // `boxFlag` 1 asks a box-like skinner to paint the control as a container.
    virtual void AttachControl(TWinSkinForm& form, TControl& control, int boxFlag) = 0;
    virtual void AttachWindow(TWinSkinForm& form, HWND window) = 0;
    virtual void Detach() = 0;
    virtual void SkinChanged() = 0;
    [[nodiscard]] virtual bool IsDead() const = 0;
    [[nodiscard]] virtual HWND Handle() const = 0;
    [[nodiscard]] virtual TControl* Control() const = 0;
};

// The control skinners known to the form skinner, by the name of their kind ("TSkinButton",
// "TSkinEdit", ...). Control discovery decides which kind a control gets; a kind nobody
// registered leaves the control unskinned.
using TSkinnerFactory = std::function<std::unique_ptr<TSkinControl>()>;
void RegisterSkinner(const std::string& kind, TSkinnerFactory factory);
void UnregisterSkinner(const std::string& kind);
// A new skinner of the kind, or null when none is registered.
[[nodiscard]] std::unique_ptr<TSkinControl> CreateSkinner(const std::string& kind);
