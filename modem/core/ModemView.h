#pragma once

#include <string>

// The call page's buttons the main timer keeps in step with the call.
enum class TCallButton { Call, Hang, Recall, Clear };

// The two ring tones.
enum class TTone { Sms, Ring };

// The window as the main timer and the dispatcher see it: the few controls they read and set.
// The main window implements it; every method does nothing by default, so that a test's view
// records only what it looks at.
class TModemView {
public:
    virtual ~TModemView() = default;

    // The status bar: panel 0 the port and the modem, panel 1 the network and SMS.
    [[nodiscard]] virtual std::string StatusText(int /*panel*/) const { return {}; }
    virtual void SetStatusText(int /*panel*/, const std::string& /*text*/) {}

    // The main timer (250 ms) and the call timer (1 s).
    virtual void SetMainTimerEnabled(bool /*enabled*/) {}
    virtual void SetCallTimerEnabled(bool /*enabled*/) {}

    // The call page: the call button's caption ("Call" or "Answer") and the buttons' states.
    [[nodiscard]] virtual std::string CallCaption() const { return {}; }
    virtual void SetCallCaption(const std::string& /*caption*/) {}
    [[nodiscard]] virtual bool ButtonEnabled(TCallButton /*button*/) const { return false; }
    virtual void SetButtonEnabled(TCallButton /*button*/, bool /*enabled*/) {}
    // The call status line.
    virtual void SetCallTitle(const std::string& /*text*/) {}
    // The number on the dial display.
    [[nodiscard]] virtual std::string DialDisplay() const { return {}; }

    // Whether the call buttons are in view: the call history panel hidden, or the call page shown.
    [[nodiscard]] virtual bool CallButtonsInView() const { return true; }

    // A caller's number arrived: the call page is opened and cleared, the number shown on the dial
    // display (an empty number shows "Anonymous"), and the caller's name listed when known.
    virtual void ShowIncomingCaller(const std::string& /*number*/, const std::string& /*name*/) {}
    // A call-waiting or call-forwarding request has been answered (or given up): the wait panel
    // goes and the call history panel is usable again.
    virtual void EndServiceWait() {}

    // The signal bars: images 0-5.
    virtual void ShowSignal(int /*image*/) {}
    // A new message arrived: the SMS boxes shown, the new-message mark set.
    virtual void ShowNewMessage() {}

    // Ring tones; a looping tone repeats until StopTone.
    virtual void PlayTone(TTone /*tone*/, bool /*looping*/) {}
    virtual void StopTone() {}
    [[nodiscard]] virtual bool ToneLooping() const { return false; }
};
