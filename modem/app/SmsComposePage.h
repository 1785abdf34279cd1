#pragma once

#include "modem/core/SmsRecipients.h"
#include "modem/store/PhonebookMatches.h"

#include <string>

class TMainForm;
class TModemSession;

// The SMS page (panel PS): composes one text message for one or more recipients. Recipients are
// typed as digits, picked from the phonebook names offered while typing, or added by other pages;
// "Send" queues one item per recipient for the main timer to send; "Save" keeps the message as a
// draft in the outbox.
//
// A recipient's number is checked when it is added (a refused one is not added, with a message
// that says why). The text never holds more than one SMS and nothing that would break the send
// command: whatever puts text into the memo - typing, pasting, a template, a forwarded message -
// is cleaned and cut to the limit in the memo itself, where the user sees it, and the counter
// shows 0.
class TSmsComposePage {
public:
    TSmsComposePage(TMainForm& form, TModemSession& session, const std::string& programFolder);
    TSmsComposePage(const TSmsComposePage&) = delete;
    TSmsComposePage& operator=(const TSmsComposePage&) = delete;

    // Adds a recipient unless its number is already one, ending a name lookup; false when the
    // number is refused.
    bool CBNumAdd(const std::string& name, const std::string& number);
    void CBNumDel(int index);
    [[nodiscard]] const TSmsRecipients& Recipients() const { return m_recipients; }

    void MDelClick();
    // "Clear All": no recipient left, the name list hidden.
    void MDelAClick();
    void PMCBNumPopup();
    void CBNumKeyPress(char& key);
    void CBNumChange();
    void CBNumClick();
    void LBNameSClick();
    void LBNameSDblClick();
    void MMChange();
    void MMKeyPress(char& key);
    void BMClearClick();
    void BMSendClick();
    void BMSaveClick();

private:
    void Wire();
    void PlaceRecipientList(int height);
    [[nodiscard]] std::string MessageText() const;

    TMainForm& m_form;
    TModemSession& m_session;
    TPhonebookMatches m_matches;
    TSmsRecipients m_recipients;
    // Where the message memo ends, whatever room the recipients take above it.
    const int m_messageBottom;
};
