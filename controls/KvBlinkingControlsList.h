#pragma once

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Controls.h"

#include <memory>
#include <vector>

// The library's own messages between the blinking list and a control. The list asks whether the
// control blinks now (answer 1 when it does) and then tells it the new phase (wParam 1 on, 0 off).
inline constexpr UINT KM_BLINKQUERY = 0xB3E8;
inline constexpr UINT KM_BLINKTICK = 0xB3E9;

// Every blinking control of the process blinks in step with one timer: the first control that
// blinks makes the shared list, the last one to go releases it. Each tick flips the phase and
// tells the controls that answer the query. The phases' lengths are shared by all controls.
class TKvBlinkingControlsList {
public:
    TKvBlinkingControlsList();
    ~TKvBlinkingControlsList();
    TKvBlinkingControlsList(const TKvBlinkingControlsList&) = delete;
    TKvBlinkingControlsList& operator=(const TKvBlinkingControlsList&) = delete;

    // The shared list, made on first use.
    [[nodiscard]] static TKvBlinkingControlsList& Shared();
    // The shared list, or null when there is none.
    [[nodiscard]] static TKvBlinkingControlsList* SharedIfMade();
    // Frees the shared list when no control is listed; a control calls it after removing itself.
    static void ReleaseSharedIfEmpty();

    // The same control may be added twice; Remove takes out one entry.
    void Add(TControl* control);
    void Remove(TControl* control);
    [[nodiscard]] int Count() const { return static_cast<int>(m_controls.size()); }

    // Milliseconds; a change takes effect at the next switch to that phase.
    [[nodiscard]] unsigned IntervalOn() const { return m_intervalOn; }
    void SetIntervalOn(unsigned interval) { m_intervalOn = interval; }
    [[nodiscard]] unsigned IntervalOff() const { return m_intervalOff; }
    void SetIntervalOff(unsigned interval) { m_intervalOff = interval; }
    [[nodiscard]] bool BlinkOn() const { return m_on; }

private:
    void Tick();
    [[nodiscard]] bool Listed(const TControl* control) const;

    bool m_on = true;
    unsigned m_intervalOn = 500;
    unsigned m_intervalOff = 500;
    std::unique_ptr<TTimer> m_timer;
    std::vector<TControl*> m_controls;
    bool m_ticking = false;
    bool m_releaseAfterTick = false;
};
