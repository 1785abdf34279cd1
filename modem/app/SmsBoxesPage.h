#pragma once

#include "modem/store/SmsBoxRecords.h"

#include <cstdint>
#include <optional>
#include <string>

class TADOQuery;
class TDBGridGx;
class TMainForm;
class TSmsComposePage;

// The boxes view over the SMS page: the inbox, outbox, sent box and templates in four grids on one
// page control, sharing one data source that the tab shown points at its query. A received
// message is read in the read panel (which takes its unread mark away), replied to or forwarded;
// a stored one is opened again for sending; messages are deleted one or all at a time after a
// question; a template is copied onto the message or changed.
//
// Every action works on the row the user chose - its key taken when the popup menu opened or the
// row was double-clicked - and on the message or template a panel shows, as it was read when the
// panel opened; never on whatever row the shared data source shows by then (a message arriving
// meanwhile points it at the inbox, and reading a message runs the inbox's query again).
class TSmsBoxesPage {
public:
    TSmsBoxesPage(TMainForm& form, TSmsComposePage& compose, const std::string& programFolder);
    TSmsBoxesPage(const TSmsBoxesPage&) = delete;
    TSmsBoxesPage& operator=(const TSmsBoxesPage&) = delete;

    void PMSMSPopup();
    // "Read This Message" or, on the Template tab, "Read This Template".
    void PMRMClick();
    void PSMDelOClick();
    void PSMDelAClick();
    // "Back To New SMS".
    void PBackClick();
    // A double click on a row: the inbox reads it, the outbox and sent box open it again for
    // sending, the templates open the template panel.
    void DBGIBDblClick();
    void DBGOBDblClick();
    void DBGSBDblClick();
    void DBGTDblClick();
    // A click on a message shows its NAME as the grid's hint.
    void CellClick(TDBGridGx& grid);
    // The read panel's buttons.
    void BIRClick();
    void BIFClick();
    void BIBClick();
    // The template panel's.
    void MTempChange();
    void BTEClick();
    void BTCClick();
    void BTBClick();
    // The boxes, and the panels over them, out of the way of the compose page.
    void HideBoxes();
    // The unread mark of the icon row: shown while a received message is unread.
    void ShowUnreadMark();

private:
    enum class TTab { Inbox, Outbox, SentBox, Templates };
    struct TChosenRow {
        TTab tab;
        std::int64_t key;
    };

    // The box of a message tab.
    [[nodiscard]] static TSmsBox BoxOf(TTab tab);
    void WireControls();
    [[nodiscard]] std::optional<TTab> ShownTab() const;
    [[nodiscard]] TADOQuery& QueryOf(TTab tab) const;
    // The row under the cursor of the tab's query; none when the box is empty.
    [[nodiscard]] std::optional<TChosenRow> CurrentRow(TTab tab) const;
    void Open(const TChosenRow& row);
    void Read(TSmsBox box, std::int64_t key);
    void ReopenForSending(TSmsBox box, std::int64_t key);
    void OpenTemplate(std::int64_t key);
    void BackToCompose();
    [[nodiscard]] bool Confirm(const char* question, const char* title) const;
    void Refresh(TTab tab);

    TMainForm& m_form;
    TSmsComposePage& m_compose;
    TSmsBoxRecords m_records;
    // The row under the grid's cursor when the popup menu opened.
    std::optional<TChosenRow> m_chosen;
    // The message the read panel shows.
    std::optional<TStoredMessage> m_reading;
    // The template the template panel shows, and its text as stored.
    std::optional<std::int64_t> m_template;
    std::string m_templateText;
};
