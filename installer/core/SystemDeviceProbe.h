#pragma once

#include "installer/core/DriverWatch.h"

// The watch's probe over the registry view of the devices present now (DeviceDetection.h). This
// system has no "new hardware" wizard: it counts as shown, in any language, while the modem is
// there and awaits a driver, and there is nothing to hide.
class TSystemDeviceProbe : public IDeviceProbe {
public:
    bool FindModemPorts(std::vector<std::string>& ports) override;
    [[nodiscard]] int CountUninstalledInterfaces() override;
    [[nodiscard]] bool FindHardwareWizard(const std::string& language) override;
    void HideHardwareWizard() override {}
};
