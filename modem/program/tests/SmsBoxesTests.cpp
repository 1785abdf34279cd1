// The SMS boxes and templates over the manager's SMS page, driven as a user drives them (rows
// double-clicked, the popup menu opened on the row chosen, the questions answered), with the
// window and the database checked. Messages arrive from the simulated modem where the order of
// events matters; every wait for it is bounded and handles the window's messages meanwhile.

#include "DatabaseRows.h"
#include "ModemProgramFixture.h"

#include "modem/app/MainForm.h"

#include "grid/core/DBGridGx.h"

#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/rtl/DateTime.h"
#include "platform/winapi/user/MessageBox.h"
#include "platform/winapi/user/WinUser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int UnreadMark = 6;

class SmsBoxesTest : public ModemProgramFixture {
protected:
    SmsBoxesTest()
    {
        SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT) {
            m_asked.push_back(caption + ": " + text);
            return m_answer;
        });
        SetMessageDlgHandler([this](const std::string& text, const std::string&, TMsgDlgType, TMsgDlgButtons) {
            m_asked.push_back(text);
            return mrOk;
        });
    }

    ~SmsBoxesTest() override
    {
        CloseForm();
        SetMessageBoxHandler(nullptr);
        SetMessageDlgHandler(nullptr);
    }

    template <class T>
    T& Control(const char* name)
    {
        auto* control = dynamic_cast<T*>(m_form->FindComponent(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    void Popup() { Control<TPopupMenu>("PMSMS").OnPopup()(&Control<TPopupMenu>("PMSMS")); }
    void Click(const char* name)
    {
        if (auto* item = dynamic_cast<TMenuItem*>(m_form->FindComponent(name)))
            item->Click();
        else
            Control<TButton>(name).Click();
    }

    // The SMS page with its boxes shown on `tab`, each box read afresh.
    void ShowBox(TTabSheet* tab)
    {
        if (!m_form->PS->Visible())
            m_form->BSMS->Click();
        for (TADOQuery* box : {m_form->QIB, m_form->QOB, m_form->QSB, m_form->QTEMP}) {
            box->Close();
            box->Open();
        }
        m_form->BBox->Click();
        m_form->PCSMS->SetActivePage(tab);
        m_form->PCSMSChange(m_form->PCSMS);
    }

    // The row of `query` whose `field` is `value` chosen, as a click on it does.
    static void Choose(TADOQuery& query, const std::string& field, const std::string& value)
    {
        ASSERT_TRUE(query.Locate(field, Variant(value), 0)) << value;
    }

    static void DoubleClick(TDBGridGx& grid) { grid.OnDblClick()(&grid); }

    // A row of a box (IB, OB, SB) or a template (TP, whose only field is TEXT).
    void Store(const char* table, const std::string& name, const std::string& number, const std::string& text,
               bool unread = false)
    {
        TADOQuery writer(nullptr);
        writer.SetConnectionString(m_form->QAll->ConnectionString());
        writer.SQL()->SetText(std::string("SELECT * FROM ") + table);
        writer.Open();
        writer.Append();
        if (std::string(table) != "TP") {
            writer.FieldByName("NAME")->SetAsString(name);
            writer.FieldByName("NUM")->SetAsString(number);
            writer.FieldByName("DT")->SetAsDateTime(EncodeDate(2026, 12, 10) + EncodeTime(9, ++m_stored, 0, 0));
            writer.FieldByName("R")->SetAsBoolean(unread);
        }
        writer.FieldByName("TEXT")->SetAsString(text);
        writer.Post();
    }

    // Every row a statement selects, read afresh from the file: the named fields joined by '|'.
    std::vector<std::string> Rows(const std::string& sql, const std::vector<std::string>& fields)
    {
        return DatabaseRows(m_form->QAll->ConnectionString(), sql, fields);
    }

    [[nodiscard]] std::vector<std::string> Recipients() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_form->CBNum->Items()->Count(); ++i)
            names.push_back(m_form->CBNum->Items()->Strings(i));
        return names;
    }

    [[nodiscard]] bool ComposeShown() const
    {
        return m_form->PS->Visible() && !m_form->PCSMS->Visible() && !m_form->PSMS->Visible()
               && !m_form->PTEMP->Visible() && m_form->PCSMS->Enabled();
    }

    std::vector<std::string> m_asked;
    int m_answer = IDOK;
    int m_stored = 0;
};

// A reply goes to the sender of the message read, and a forward carries its text, even when
// another message has arrived while the message was read.
TEST_F(SmsBoxesTest, ReplyAndForwardActOnTheMessageReadAndReadingTakesTheUnreadMarkAway)
{
    PlugModem(26);
    StartProgram();
    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready && m_modem->Status().messageRouting; })) << Transcript();
    m_form->QAll->Append();
    m_form->QAll->FieldByName("NAME")->SetAsString("Eve");
    m_form->QAll->FieldByName("NUM")->SetAsString("5552222");
    m_form->QAll->Post();
    m_modem->DeliverSms("5551111", "Lunch at noon?");
    m_modem->DeliverSms("5552222", "The keys are under the mat");
    ASSERT_TRUE(PumpUntil([&] { return m_form->QIB->Active() && m_form->QIB->RecordCount() == 2; })) << Transcript();
    EXPECT_EQ(m_form->ISMS->Tag(), UnreadMark);

    ShowBox(m_form->TSIB);
    SaveScreenshot("window-sms-inbox");
    Choose(*m_form->QIB, "NUM", "5551111");
    DoubleClick(*m_form->DBGIB);
    EXPECT_TRUE(m_form->PSMS->Visible());
    EXPECT_FALSE(m_form->PCSMS->Enabled());
    EXPECT_EQ(Control<TEdit>("EMName").Text(), "Unknown");
    EXPECT_EQ(Control<TEdit>("EMNum").Text(), "5551111");
    EXPECT_EQ(Control<TMemo>("MMText").Text(), "Lunch at noon?");
    EXPECT_EQ(Rows("SELECT * FROM IB WHERE R <> 0", {"NUM"}), std::vector<std::string>{"5552222"});
    EXPECT_EQ(m_form->ISMS->Tag(), UnreadMark) << "one message is still unread";
    EXPECT_TRUE(m_form->ISMS->Visible());
    SaveScreenshot("window-sms-read");

    m_modem->DeliverSms("5553333", "Did you get my message?");
    ASSERT_TRUE(PumpUntil([&] { return m_form->QIB->Active() && m_form->QIB->RecordCount() == 3; })) << Transcript();
    const HWND onTop = ChildWindowFromPointEx(m_form->PS->Handle(), POINT{212, 164}, CWP_SKIPINVISIBLE);
    EXPECT_EQ(onTop, m_form->PSMS->Handle()) << "the message read stays in front of the boxes";
    m_form->MM->SetText("Yes, ");
    Click("BIR");
    SaveScreenshot("window-sms-replied");
    EXPECT_TRUE(ComposeShown());
    EXPECT_EQ(Recipients(), std::vector<std::string>{"Unknown"});
    EXPECT_EQ(m_form->MM->Text(), "Yes, ") << "a reply keeps the text typed";
    m_form->BMSend->Click();
    ASSERT_TRUE(PumpUntil([&] { return Transcript().find("AT$QCMGS=") != std::string::npos; })) << Transcript();
    EXPECT_NE(Transcript().find("AT$QCMGS=\"5551111\""), std::string::npos) << "to the sender of the message read\n"
                                                                            << Transcript();

    ShowBox(m_form->TSIB);
    Choose(*m_form->QIB, "NUM", "5552222");
    Popup();
    EXPECT_EQ(Control<TMenuItem>("PMRM").Caption(), "Read This Message");
    EXPECT_TRUE(Control<TMenuItem>("PSMDelO").Visible());
    m_form->QIB->First(); // the data source moves on; the menu acts on the row it opened on
    Click("PMRM");
    EXPECT_EQ(Control<TEdit>("EMName").Text(), "Eve");
    Click("BIF");
    EXPECT_TRUE(ComposeShown());
    EXPECT_TRUE(Recipients().empty()) << "a forward starts without recipients";
    EXPECT_EQ(m_form->MM->Text(), "The keys are under the mat");
    EXPECT_EQ(m_form->LSMS->Caption(), std::to_string(160 - 26));

    ShowBox(m_form->TSIB);
    Choose(*m_form->QIB, "NUM", "5553333");
    DoubleClick(*m_form->DBGIB);
    EXPECT_EQ(m_form->ISMS->Tag(), 0) << "no unread message is left";
    EXPECT_FALSE(m_form->ISMS->Visible());
    Click("BIB");
    EXPECT_FALSE(m_form->PSMS->Visible());
    EXPECT_TRUE(m_form->PCSMS->Visible() && m_form->PCSMS->Enabled());
    EXPECT_TRUE(Rows("SELECT * FROM IB WHERE R <> 0", {"NUM"}).empty());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(SmsBoxesTest, MessagesAreDeletedOneOrAllAfterTheQuestionAndTemplatesOfferNoDelete)
{
    StartProgram();
    Store("IB", "Ann", "5550001", "Unread news", true);
    Store("IB", "Bob", "5550002", "Old news");
    Store("OB", "Cid", "5550003", "Draft one");
    Store("OB", "Dan", "5550004", "Draft two");
    Store("SB", "Eve", "5550005", "Sent");

    m_form->ShowNewMessage();
    ShowBox(m_form->TSIB);
    Choose(*m_form->QIB, "NAME", "Ann");
    Popup();
    m_answer = IDCANCEL;
    Click("PSMDelO");
    EXPECT_EQ(m_asked, std::vector<std::string>{"SMS: Are you sure to Delete?"});
    EXPECT_EQ(Rows("SELECT * FROM IB ORDER BY NAME", {"NAME"}).size(), 2U);
    EXPECT_EQ(m_form->ISMS->Tag(), UnreadMark);

    Choose(*m_form->QIB, "NAME", "Ann");
    Popup();
    m_form->QIB->Last();
    m_answer = IDOK;
    Click("PSMDelO");
    EXPECT_EQ(Rows("SELECT * FROM IB", {"NAME"}), std::vector<std::string>{"Bob"}) << "the row chosen went";
    EXPECT_EQ(m_form->QIB->RecordCount(), 1) << "the grid shows it gone";
    EXPECT_EQ(m_form->ISMS->Tag(), 0) << "the unread message is gone with it";

    ShowBox(m_form->TSOB);
    Popup();
    Click("PSMDelA");
    EXPECT_TRUE(Rows("SELECT * FROM OB", {"NAME"}).empty());
    EXPECT_EQ(Rows("SELECT * FROM SB", {"NAME"}), std::vector<std::string>{"Eve"}) << "other boxes keep theirs";
    Popup();
    EXPECT_FALSE(Control<TMenuItem>("PMRM").Enabled()) << "nothing to act on in an empty box";
    EXPECT_FALSE(Control<TMenuItem>("PSMDelA").Enabled());

    ShowBox(m_form->TSTemp);
    Popup();
    EXPECT_EQ(Control<TMenuItem>("PMRM").Caption(), "Read This Template");
    EXPECT_TRUE(Control<TMenuItem>("PMRM").Enabled());
    EXPECT_FALSE(Control<TMenuItem>("PSMDelO").Visible());
    EXPECT_FALSE(Control<TMenuItem>("PSMDelA").Visible());
    Click("PBack");
    EXPECT_FALSE(m_form->PCSMS->Visible());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

// A stored message opens again for sending: its recipient (a bare number when its name is
// "Unknown", none for a draft saved without one) and its text.
TEST_F(SmsBoxesTest, StoredMessagesOpenAgainForSendingWithTheirRecipient)
{
    StartProgram();
    Store("SB", "Unknown", "5550007", "Sent to a number");
    Store("SB", "Fay", "5550008", "Sent to a contact");
    Store("OB", "NULL", "NULL", "A draft for nobody");

    struct Case {
        TTabSheet* tab;
        std::string text;
        std::vector<std::string> recipients;
    };
    const std::vector<Case> cases = {{m_form->TSSB, "Sent to a number", {"5550007"}},
                                     {m_form->TSSB, "Sent to a contact", {"Fay"}},
                                     {m_form->TSOB, "A draft for nobody", {}}};
    for (const Case& each : cases) {
        ShowBox(each.tab);
        m_form->CBNum->SetText("5559999");
        char enter = '\r';
        m_form->CBNum->OnKeyPress()(m_form->CBNum, enter);
        TADOQuery& box = each.tab == m_form->TSSB ? *m_form->QSB : *m_form->QOB;
        Choose(box, "TEXT", each.text);
        DoubleClick(each.tab == m_form->TSSB ? *m_form->DBGSB : *m_form->DBGOB);
        EXPECT_TRUE(ComposeShown()) << each.text;
        EXPECT_EQ(Recipients(), each.recipients) << each.text;
        EXPECT_EQ(m_form->MM->Text(), each.text);
    }
    EXPECT_TRUE(m_asked.empty()) << m_asked.front();
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

// "Copy" puts the template after the text typed, cut to one SMS where the user sees it; "Edit"
// changes the template the panel shows, even when a message arriving meanwhile has pointed the
// boxes' data source at the inbox.
TEST_F(SmsBoxesTest, ATemplateIsCopiedOntoTheMessageAndChangedInItsOwnRow)
{
    StartProgram();
    Store("IB", "Ann", "5550001", "A received message");
    Store("TP", "", "", std::string(150, 't'));

    ShowBox(m_form->TSTemp);
    Choose(*m_form->QTEMP, "TEXT", "On my way, see you in a few minutes!");
    DoubleClick(*m_form->DBGT);
    EXPECT_TRUE(m_form->PTEMP->Visible());
    EXPECT_FALSE(m_form->PCSMS->Enabled());
    EXPECT_EQ(Control<TMemo>("MTemp").Text(), "On my way, see you in a few minutes!");
    EXPECT_EQ(Control<TLabel>("LTEMP").Caption(), "36");
    SaveScreenshot("window-sms-template");

    m_form->ShowSmsBox(TSmsBox::Inbox); // what a message arriving now does
    Control<TMemo>("MTemp").SetText("On my way!");
    EXPECT_EQ(Control<TLabel>("LTEMP").Caption(), "10");
    m_answer = IDCANCEL;
    Click("BTE");
    EXPECT_EQ(m_asked, std::vector<std::string>{"Message Template: Are you sure to Change?"});
    EXPECT_TRUE(Rows("SELECT * FROM TP WHERE TEXT = 'On my way!'", {"TEXT"}).empty());
    m_answer = IDOK;
    Click("BTE");
    EXPECT_EQ(Rows("SELECT * FROM TP WHERE TEXT LIKE 'On my way%'", {"TEXT"}), std::vector<std::string>{"On my way!"});
    EXPECT_EQ(Rows("SELECT * FROM IB", {"TEXT"}), std::vector<std::string>{"A received message"});

    m_form->MM->SetText("Sorry. ");
    Click("BTC");
    EXPECT_TRUE(ComposeShown());
    EXPECT_EQ(m_form->MM->Text(), "Sorry. On my way!") << "the template as changed";

    ShowBox(m_form->TSTemp);
    Choose(*m_form->QTEMP, "TEXT", std::string(150, 't'));
    Popup();
    Click("PMRM");
    Click("BTC");
    EXPECT_EQ(m_form->MM->Text(), "Sorry. On my way!" + std::string(143, 't')) << "cut to one SMS";
    EXPECT_EQ(m_form->LSMS->Caption(), "0");

    ShowBox(m_form->TSTemp);
    DoubleClick(*m_form->DBGT);
    Click("BTB");
    EXPECT_FALSE(m_form->PTEMP->Visible());
    EXPECT_TRUE(m_form->PCSMS->Visible() && m_form->PCSMS->Enabled());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

} // namespace
