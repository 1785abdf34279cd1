#pragma once

#include "modem/store/ModemDatabase.h"
#include "modem/store/NameLookup.h"
#include "modem/store/RecordView.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/rtl/DateTime.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

// The lists the records brought into view, in order.
class FakeRecordView : public IRecordView {
public:
    void ShowCallList(TCallList list) override { shown.push_back("call " + std::to_string(static_cast<int>(list))); }
    void ShowSmsBox(TSmsBox box) override { shown.push_back("sms " + std::to_string(static_cast<int>(box))); }
    void ClearCallDisplay() override { shown.push_back("clear"); }

    std::vector<std::string> shown;
};

// The manager's database in a temporary program folder, its eight queries open, and a clock that
// stands still.
class StoreFixture : public ::testing::Test {
protected:
    static constexpr TDateTime FixedNow = 45413.5; // 2024-05-01 12:00:00

    StoreFixture()
    {
        RegisterModemDatabase();
        SetDateTimeSource([] { return FixedNow; });
        for (std::size_t i = 0; i < m_queries.size(); ++i) {
            m_queries[i] = std::make_unique<TADOQuery>(nullptr);
            m_queries[i]->SQL()->SetText(std::string(ModemQueries[i].sql));
            OpenModemQuery(*m_queries[i], ProgramFolder());
        }
    }

    ~StoreFixture() override
    {
        SetDateTimeSource(nullptr);
        RegisterDatabaseSchema({});
    }

    [[nodiscard]] std::string ProgramFolder() const { return m_dir.Path().string() + "/"; }
    [[nodiscard]] TADOQuery& Query(TModemQuery query) { return *m_queries[static_cast<std::size_t>(query)]; }

    void AddContact(const std::string& name, const std::string& number)
    {
        TADOQuery& phonebook = Query(TModemQuery::QAll);
        phonebook.Append();
        phonebook.FieldByName("NAME")->SetAsString(name);
        phonebook.FieldByName("NUM")->SetAsString(number);
        phonebook.Post();
    }

    // Every row of a table, read afresh from the file: "NAME|NUM|..." for the named fields.
    [[nodiscard]] std::vector<std::string> TableRows(const std::string& table, const std::vector<std::string>& fields)
    {
        TADOQuery query(nullptr);
        query.SetConnectionString(ModemConnectionString(ProgramFolder()));
        query.SQL()->SetText("SELECT * FROM " + table);
        query.Open();
        std::vector<std::string> rows;
        for (query.First(); !query.Eof(); query.Next()) {
            std::string row;
            for (const auto& field : fields) {
                if (!row.empty())
                    row += '|';
                row += FieldText(*query.FieldByName(field));
            }
            rows.push_back(row);
        }
        return rows;
    }

    static std::string FieldText(const TField& field)
    {
        if (field.FieldName() == "DT")
            return FormatDateTime("yyyy-mm-dd hh:nn:ss", field.AsDateTime());
        if (field.FieldName() == "R")
            return field.AsBoolean() ? "True" : "False";
        return field.IsNull() ? "<null>" : field.AsString();
    }

    TempDir m_dir;
    FakeRecordView m_view;
    std::array<std::unique_ptr<TADOQuery>, 8> m_queries;
};
