#pragma once

#include "modem/store/NameLookup.h"
#include "modem/store/PhonebookMatches.h"

#include <string>

class TMainForm;
class TModemSession;
struct TSettings;

// The Call page (panel PC), the phone: a twelve-key pad that builds the number in the coloured
// dial display, the smart-dial list of contacts whose numbers begin with the digits typed, call,
// answer, hang-up and redial, tones during a connected call, the call status line with its
// timer, the speaker volume in five steps and the speaker mute. Commands go to the modem through
// the AT command senders; the answers come back through the main timer, which also ends calls.
//
// Every number is checked before it is dialled. The smart-dial list keeps the query's name order
// (it is not sorted again by the list box), so each name stays paired with its own number.
class TCallPage {
public:
    TCallPage(TMainForm& form, TModemSession& session, TSettings& settings, const std::string& programFolder);
    TCallPage(const TCallPage&) = delete;
    TCallPage& operator=(const TCallPage&) = delete;

    // Appends `text` (may be empty) to the dial display, colours it and refreshes the smart-dial
    // list. Also used when another page puts a number on the display.
    void EDNumStyle(const std::string& text);

    // An empty dial display, whose next character takes the first colour again.
    void ClearDisplay();
    // `number` on the display in its colours, without a smart-dial lookup (an incoming caller).
    void ShowNumber(const std::string& number);

    // "Call" from the phonebook: the number (empty when none was ticked) on the cleared display,
    // not dialled; the next key starts the display's colours again.
    void ShowTickedNumber(const std::string& number);

    void KeyClick(char key);
    void BClearClick();
    void BCallClick();
    void BHangClick();
    void BRecallClick();
    // The call timer's second.
    void TCallTimer();
    void LBNameClick();
    void LBNameDblClick();
    void BCVClick();
    void TBVolChange();
    void IMuteClick();
    void BCHClick();

private:
    void WireKeys();
    void Recolour();
    void RefreshSmartDial(const std::string& display);
    void ShowDialledContact(const std::string& number);

    TMainForm& m_form;
    TModemSession& m_session;
    TSettings& m_settings;
    TPhonebookMatches m_matches;
    TNameLookup m_lookup;
    // The colour the next character of the dial display takes; kept from call to call, so the
    // digits change colour with every keystroke.
    int m_digitColourIndex = 0;
};
