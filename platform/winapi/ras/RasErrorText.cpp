#include "platform/winapi/ras/Ras.h"

#include <cstring>
#include <string_view>

namespace {

struct ErrorText {
    DWORD code;
    std::string_view text;
};

// Our own words, one sentence each with no line end, because the manager logs the text of a
// failed dial between "==" marks.
constexpr ErrorText ErrorTexts[] = {
    {ERROR_BUFFER_TOO_SMALL, "The buffer is too small for the list."},
    {ERROR_WRONG_INFO_SPECIFIED, "The dial-up program pppd refused the connection settings."},
    {ERROR_DEVICE_DOES_NOT_EXIST,
     "This system has no kernel support for PPP (the /dev/ppp device is missing), so no data connection can be made."},
    {ERROR_PORT_NOT_FOUND, "The modem's port was not found; check that the modem is plugged in."},
    {ERROR_PORT_DISCONNECTED, "The modem hung up and the connection was closed."},
    {ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "The dial-up entry was not found in the phonebook."},
    {ERROR_REMOTE_DISCONNECTION, "The connection was closed by the remote computer."},
    {ERROR_USER_DISCONNECTION, "The dial-up program was stopped and the connection was closed."},
    {ERROR_INVALID_SIZE, "The size given for a dial-up structure is wrong."},
    {ERROR_PORT_NOT_AVAILABLE, "The modem's port is in use by another program, or this user may not open it."},
    {ERROR_UNKNOWN, "The dial-up program stopped with an unexpected error."},
    {ERROR_BAD_STRING,
     "The phone number, user name or password holds characters that cannot be used for dialling."},
    {ERROR_REQUEST_TIMEOUT, "The remote computer stopped answering and the connection was closed."},
    {ERROR_FROM_DEVICE, "The modem reported an error while dialling."},
    {ERROR_NO_CONNECTION, "The connection has ended."},
    {ERROR_LINE_BUSY, "The line is busy."},
    {ERROR_NO_ANSWER, "The remote computer did not answer."},
    {ERROR_NO_CARRIER, "The modem found no carrier."},
    {ERROR_NO_DIALTONE, "There is no dial tone."},
    {ERROR_AUTHENTICATION_FAILURE, "The user name or password was not accepted."},
    {ERROR_RASMAN_CANNOT_INITIALIZE,
     "The dial-up program pppd could not be started; install the ppp package and allow this user to run pppd."},
    {ERROR_PPP_TIMEOUT, "The remote computer did not answer the PPP negotiation in time."},
    {ERROR_PPP_LCP_TERMINATED, "The PPP link could not be negotiated."},
    {ERROR_PPP_LOOPBACK_DETECTED, "The line is looped back to this computer."},
};

} // namespace

DWORD RasGetErrorStringA(UINT uErrorValue, LPSTR lpszErrorString, DWORD cBufSize)
{
    if (!lpszErrorString)
        return ERROR_INVALID_PARAMETER;
    for (const auto& entry : ErrorTexts) {
        if (entry.code != uErrorValue)
            continue;
        if (entry.text.size() >= cBufSize)
            return ERROR_INSUFFICIENT_BUFFER;
        std::memcpy(lpszErrorString, entry.text.data(), entry.text.size());
        lpszErrorString[entry.text.size()] = '\0';
        return 0;
    }
    return ERROR_INVALID_PARAMETER;
}
