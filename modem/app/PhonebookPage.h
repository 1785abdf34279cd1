#pragma once

#include "modem/store/PhonebookRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TMainForm;

// A number a contact may keep: what a dial command takes (digits, "*", "#" and "+"), at most the
// 20 characters of the phonebook's number field; empty is allowed.
[[nodiscard]] bool IsContactNumber(std::string_view number);

// The phonebook page's group tabs act through the main window; its popup menu, its detail panel
// and its deletes live here. Every action works on the contact the user chose - its key taken
// when the popup menu opened, and kept while the detail panel shows it - never on whatever row the
// shared phonebook query shows by the time the user confirms.
class TPhonebookPage {
public:
    TPhonebookPage(TMainForm& form, const std::string& programFolder);

    void PMPBPopup();
    // "Details And Edit" and "Add New Number" open the detail panel.
    void PPMEClick();
    void PMAddClick();
    // The panel's "Edit" / "Add" button, and its "Back".
    void BPBOpClick();
    void BPBCClick();
    void PMDelOClick();
    void PMDelAClick();
    // "Call" and "Send Message": the ticked contacts in name order, their ticks cleared; the
    // phonebook shows every contact again, from its first row.
    [[nodiscard]] std::vector<TTickedContact> TakeTicked();
    // Every contact's tick, whatever the group tab or a lookup filter shows.
    void ClearTicks() { m_records.ClearTicks(); }

private:
    void WireControls();
    void ShowPanel(const std::string& operation, const TContact& contact);
    void HidePanel();
    [[nodiscard]] TContact PanelContact() const;
    [[nodiscard]] bool Confirm(const char* question) const;
    void RefreshPhonebook();
    [[nodiscard]] std::optional<int> ShownGroup() const;

    TMainForm& m_form;
    TPhonebookRecords m_records;
    // The row under the grid's cursor when the popup menu opened.
    std::optional<std::int64_t> m_chosen;
    // The contact the detail panel shows; none while it adds one.
    std::optional<std::int64_t> m_editing;
};
