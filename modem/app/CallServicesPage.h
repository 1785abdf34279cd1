#pragma once

#include "platform/classlib/forms/Controls.h"

#include <cstdint>
#include <string>

class TMainForm;
class TTimer;
class TModemSession;
enum class TFeatureCode : std::uint8_t;

// The "Setting" tab of the call-history panel: call waiting on or off, the four kinds of call
// forwarding on (to a number) or off, and cancelling every forwarding, each a feature code the
// modem dials. While a request waits for the modem's answer the wait panel shows and the
// call-history panel is disabled; the engine ends that on the answer. A request the modem cannot
// take now (not ready, or the command queue full) is refused with a message instead, and a request
// the modem leaves unanswered is given up after ServiceAnswerTimeout, so the panel never stays
// disabled for good. Also the engineering panel's new MIN; the panel lies on the Setting tab
// (it goes with the tab), shows on Ctrl+Shift+E while the tab is in view with its MIN field
// focused, and nothing in the window points to it.
inline constexpr unsigned ServiceAnswerTimeout = 35000; // milliseconds

class TCallServicesPage {
public:
    TCallServicesPage(TMainForm& form, TModemSession& session);

    void BSetCWClick();
    // The forwarding kind: 0 all, 1 when busy, 2 no answer, 3 no response.
    void ChooseForwarding(int kind);
    void BCFSetClick();
    void BFwdcancelClick();
    void BminokClick();
    void BminCanClick();
    // The window's key, seen before its controls see it.
    void FormKeyDown(WORD key, TShiftState shift);
    // The wait for the modem's answer has lasted too long.
    void ServiceWaitTimeout();

private:
    void WireControls();
    void Request(TFeatureCode code, const std::string& number = {});
    void Tell(const std::string& text) const;

    TMainForm& m_form;
    TModemSession& m_session;
    int m_forwarding = 0;
    // Owned by the window ("TServiceWait"), so it goes with the window's other timers.
    TTimer* m_answerWait = nullptr;
};
