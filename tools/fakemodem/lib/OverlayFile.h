#pragma once

#include <string>

// The registry overlay that presents the simulated modem the way the manager finds a real one
// (the devices stand-in reads it from the file named by MODEM_DEVICE_OVERLAY): a "[usb]" line for
// a Qualcomm 05c6:3197 interface 0 on the pseudo-terminal, which gives the "\Device\qcusbser<n>"
// serialcomm value, the USB instance key with "FriendlyName" and "Device Parameters\PortName",
// and the COM name's device. The file is replaced whole by a rename, so a reader never sees half
// of it.
class OverlayFile {
public:
    OverlayFile(std::string path, std::string comName, std::string description);
    // Removes the file when it is present.
    ~OverlayFile();
    OverlayFile(const OverlayFile&) = delete;
    OverlayFile& operator=(const OverlayFile&) = delete;

    // Writes the file for the device at `devicePath`; throws std::runtime_error when it cannot.
    void Present(const std::string& devicePath);
    // Removes the file: the modem is no longer listed.
    void Withdraw();

    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] const std::string& ComName() const { return m_comName; }

    // "<runtime folder>/fakemodem-<pid>.ini", the runtime folder being $XDG_RUNTIME_DIR, else /tmp.
    [[nodiscard]] static std::string DefaultPath();

private:
    std::string m_path;
    std::string m_comName;
    std::string m_description;
};
