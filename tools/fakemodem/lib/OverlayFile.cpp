#include "tools/fakemodem/lib/OverlayFile.h"

#include "modem/product/ModemProduct.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

OverlayFile::OverlayFile(std::string path, std::string comName, std::string description)
    : m_path(std::move(path))
    , m_comName(std::move(comName))
    , m_description(std::move(description))
{
}

OverlayFile::~OverlayFile()
{
    Withdraw();
}

void OverlayFile::Present(const std::string& devicePath)
{
    const std::string temporary = m_path + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << "; The simulated modem (fakemodem), present while this file exists.\n"
             << "[usb]\n"
             << m_comName << '=' << devicePath << ' ' << ModemUsbId << ":00 " << m_description << '\n';
        if (!file.flush())
            throw std::runtime_error("cannot write the device overlay " + temporary);
    }
    if (std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write the device overlay " + m_path);
    }
}

void OverlayFile::Withdraw()
{
    std::remove(m_path.c_str());
}

std::string OverlayFile::DefaultPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime && *runtime ? runtime : "/tmp";
    return folder + "/fakemodem-" + std::to_string(getpid()) + ".ini";
}
