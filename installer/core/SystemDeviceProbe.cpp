#include "installer/core/SystemDeviceProbe.h"

#include "installer/core/DeviceDetection.h"

bool TSystemDeviceProbe::FindModemPorts(std::vector<std::string>& ports)
{
    return ::FindModemPorts(ports);
}

int TSystemDeviceProbe::CountUninstalledInterfaces()
{
    return ::CountUninstalledInterfaces();
}

bool TSystemDeviceProbe::FindHardwareWizard(const std::string&)
{
    return ModemAwaitsDriver();
}
