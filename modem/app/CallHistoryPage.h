#pragma once

#include "modem/store/CallHistoryRecords.h"

#include <cstdint>
#include <optional>
#include <string>

class TADOQuery;
class TCallPage;
class TDBGridGx;
class TMainForm;

// The call-history panel over the call page: its three logs share one data source, switched by
// the main window's tab handler. The popup menu's actions work on the row under the cursor when
// the menu opened (its log and key), even if a call logged meanwhile switched the data source to
// another log.
class TCallHistoryPage {
public:
    TCallHistoryPage(TMainForm& form, TCallPage& callPage, const std::string& programFolder);

    void PMCHPopup();
    // "Call This Number": the row's number into the dial display as if typed (its colours and
    // smart-dial names), without dialling.
    void PCDClick();
    void PCDelOClick();
    void PCDelAClick();
    // "Go back to Dial", also the panel's close picture.
    void PMBDClick();
    // A click on a row shows its NAME as the grid's hint.
    void CellClick(TDBGridGx& grid);

private:
    struct TChosenRow {
        TCallList list;
        std::optional<std::int64_t> key;
    };

    void WireControls();
    [[nodiscard]] std::optional<TCallList> ShownList() const;
    [[nodiscard]] TADOQuery& QueryOf(TCallList list) const;
    [[nodiscard]] bool ConfirmDelete() const;
    void Refresh(TCallList list);

    TMainForm& m_form;
    TCallPage& m_callPage;
    TCallHistoryRecords m_records;
    std::optional<TChosenRow> m_chosen;
};
