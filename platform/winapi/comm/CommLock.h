#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <memory>
#include <string>

namespace winapi_comm::detail {

// Exclusive use of one serial device: a claim in this process (keyed by the device number, so
// two names of one device collide) and a UUCP lock file "LCK..<name>" holding our process id in
// ten columns. A lock file of a process that no longer exists is stale and taken over.
class CommLock {
public:
    // The claim, or nullptr with ERROR_ACCESS_DENIED as the last error when the device is in use.
    [[nodiscard]] static std::unique_ptr<CommLock> Acquire(const std::string& devicePath, unsigned long deviceNumber);
    ~CommLock();
    CommLock(const CommLock&) = delete;
    CommLock& operator=(const CommLock&) = delete;

    static void SetFolder(const std::string& folder);

private:
    CommLock(unsigned long deviceNumber, std::string lockFile);

    unsigned long m_deviceNumber;
    std::string m_lockFile;
};

} // namespace winapi_comm::detail
