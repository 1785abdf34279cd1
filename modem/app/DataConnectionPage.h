#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/forms/WindowProcLink.h"

#include <cstdint>
#include <memory>
#include <string>

class TMainForm;
class TModemSession;
class TRASConnection;
struct TSettings;

// The Modem page (panel PM): brings the packet data connection up and down through the dial-up
// component, shows its time, speed and byte counts once a second, keeps the time-stamped
// connection log, and edits the dial-up settings (panel PNet).
//
// Before dialling it takes the serial port from the modem logic (the dial-up service needs the
// same modem); whatever way the dial ends - hung up, dropped, an error the service reports
// (every code from 600 up) or a dial it refuses at once - the error is logged and the page comes
// back to "Dial" with the port watch on, which gives the port back to the modem logic.
//
// It wires itself to the window's controls and takes the window's WM_RAS_NOTIFY.
class TDataConnectionPage {
public:
    TDataConnectionPage(TMainForm& form, TRASConnection& dialer, TModemSession& session, TSettings& settings);
    TDataConnectionPage(const TDataConnectionPage&) = delete;
    TDataConnectionPage& operator=(const TDataConnectionPage&) = delete;

    // A line of the connection log: the text and the time, "hh:nn:ss".
    void AddLog(const std::string& text);

    void BDialClick();
    // A notification of the dial-up service: a dial state, or an error code.
    void RasNotify(std::uint32_t code);
    void TNetTimer();
    void BSetClick();
    void BBackClick();
    void BSaveClick();
    void BDefClick();

private:
    void HandOverPort();
    void Dial();
    void EndWithError(const std::string& logText);
    void ResetLabels();
    void DialReset();

    TMainForm& m_form;
    TRASConnection& m_dialer;
    TModemSession& m_session;
    TSettings& m_settings;
    // The form's window procedure hands dial-up notices to the page while it lives.
    TWindowProcLink m_rasNotifications;
};
