#include "platform/winapi/mci/MMSystem.h"

#include "platform/rtl/Strings.h"
#include "platform/winapi/mci/MidiSequencer.h"
#include "platform/winapi/user/WinUser.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>

namespace {

namespace detail = winapi_mci::detail;

// The open devices by ID. IDs are never reused within a process, so a late notification of a
// closed device is recognised as such.
struct DeviceTable {
    std::mutex mutex;
    std::map<MCIDEVICEID, std::shared_ptr<detail::MidiSequencer>> devices;
    MCIDEVICEID nextId = 1;
};

DeviceTable& Devices()
{
    static DeviceTable table;
    return table;
}

std::shared_ptr<detail::MidiSequencer> FindDevice(MCIDEVICEID id)
{
    auto& table = Devices();
    std::lock_guard lock(table.mutex);
    const auto found = table.devices.find(id);
    return found == table.devices.end() ? nullptr : found->second;
}

bool IsSequencerFile(std::string_view file)
{
    const auto dot = file.rfind('.');
    const std::string extension = dot == std::string_view::npos ? std::string() : LowerCase(file.substr(dot));
    return extension == ".mid" || extension == ".midi" || extension == ".rmi";
}

HWND CallbackWindow(DWORD_PTR flags, DWORD_PTR callback)
{
    return (flags & MCI_NOTIFY) ? reinterpret_cast<HWND>(callback) : nullptr;
}

// A command that is done as soon as it returns.
void NotifyDone(DWORD_PTR flags, DWORD_PTR callback, MCIDEVICEID id)
{
    if (const HWND window = CallbackWindow(flags, callback))
        (void)PostMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(id));
}

MCIERROR OpenDevice(DWORD_PTR flags, MCI_OPEN_PARMSA* parms)
{
    if (!parms || !(flags & MCI_OPEN_ELEMENT) || !parms->lpstrElementName)
        return MCIERR_UNSUPPORTED_FUNCTION;
    if ((flags & MCI_OPEN_TYPE) && (!parms->lpstrDeviceType || !SameText(parms->lpstrDeviceType, "sequencer")))
        return MCIERR_INVALID_DEVICE_NAME;
    if (!(flags & MCI_OPEN_TYPE) && !IsSequencerFile(parms->lpstrElementName))
        return MCIERR_INVALID_FILE;
    auto device = std::make_shared<detail::MidiSequencer>();
    if (const MCIERROR failed = device->Open(parms->lpstrElementName))
        return failed;
    auto& table = Devices();
    {
        std::lock_guard lock(table.mutex);
        parms->wDeviceID = table.nextId++;
        table.devices.emplace(parms->wDeviceID, std::move(device));
    }
    NotifyDone(flags, parms->dwCallback, parms->wDeviceID);
    return 0;
}

MCIERROR CloseDevice(MCIDEVICEID id, DWORD_PTR flags, const MCI_GENERIC_PARMS* parms)
{
    std::shared_ptr<detail::MidiSequencer> device;
    {
        auto& table = Devices();
        std::lock_guard lock(table.mutex);
        const auto found = table.devices.find(id);
        if (found == table.devices.end())
            return MCIERR_INVALID_DEVICE_ID;
        device = std::move(found->second);
        table.devices.erase(found);
    }
    device.reset();
    NotifyDone(flags, parms ? parms->dwCallback : 0, id);
    return 0;
}

MCIERROR Status(detail::MidiSequencer& device, DWORD_PTR flags, MCI_STATUS_PARMS* parms)
{
    if (!parms || !(flags & MCI_STATUS_ITEM) || parms->dwItem != MCI_STATUS_MODE)
        return MCIERR_UNSUPPORTED_FUNCTION;
    parms->dwReturn = device.Mode();
    return 0;
}

MCIERROR DeviceCommand(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR param)
{
    const auto device = FindDevice(id);
    if (!device)
        return MCIERR_INVALID_DEVICE_ID;
    const auto* generic = reinterpret_cast<const MCI_GENERIC_PARMS*>(param);
    const DWORD_PTR callback = generic ? generic->dwCallback : 0;
    MCIERROR result = 0;
    switch (message) {
    case MCI_PLAY:
        if (flags & (MCI_FROM | MCI_TO))
            return MCIERR_UNSUPPORTED_FUNCTION;
        // The play's own notification comes at its end.
        return device->Play(CallbackWindow(flags, callback), id);
    case MCI_STOP:
        result = device->Stop();
        break;
    case MCI_SEEK:
        if (!(flags & MCI_SEEK_TO_START))
            return MCIERR_UNSUPPORTED_FUNCTION;
        result = device->SeekToStart();
        break;
    case MCI_STATUS:
        result = Status(*device, flags, reinterpret_cast<MCI_STATUS_PARMS*>(param));
        break;
    default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
    if (result == 0)
        NotifyDone(flags, callback, id);
    return result;
}

struct ErrorText {
    MCIERROR code;
    const char* text;
};

constexpr ErrorText ErrorTexts[] = {
    {MCIERR_INVALID_DEVICE_ID, "The media device is not open."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The media device does not know this command."},
    {MCIERR_HARDWARE, "No audio output is available to play the sound."},
    {MCIERR_INVALID_DEVICE_NAME, "There is no media device of this type."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The media device cannot do this."},
    {MCIERR_FILE_NOT_FOUND, "The sound file cannot be found."},
    {MCIERR_INVALID_FILE, "The file is not a MIDI sound file."},
    {MCIERR_SEQ_NOMIDIPRESENT, "No General MIDI sound font is installed to play MIDI sounds with."},
};

} // namespace

MCIERROR mciSendCommandA(MCIDEVICEID IDDevice, UINT uMsg, DWORD_PTR fdwCommand, DWORD_PTR dwParam)
{
    switch (uMsg) {
    case MCI_OPEN:
        return OpenDevice(fdwCommand, reinterpret_cast<MCI_OPEN_PARMSA*>(dwParam));
    case MCI_CLOSE:
        return CloseDevice(IDDevice, fdwCommand, reinterpret_cast<const MCI_GENERIC_PARMS*>(dwParam));
    default:
        return DeviceCommand(IDDevice, uMsg, fdwCommand, dwParam);
    }
}

BOOL mciGetErrorStringA(MCIERROR mcierr, LPSTR pszText, UINT cchText)
{
    if (!pszText || cchText == 0)
        return FALSE;
    for (const ErrorText& error : ErrorTexts) {
        if (error.code != mcierr)
            continue;
        const std::size_t length = std::min<std::size_t>(std::strlen(error.text), cchText - 1);
        std::memcpy(pszText, error.text, length);
        pszText[length] = '\0';
        return TRUE;
    }
    pszText[0] = '\0';
    return FALSE;
}
