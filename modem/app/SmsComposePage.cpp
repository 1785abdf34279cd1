#include "modem/app/SmsComposePage.h"

#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/PageWiring.h"
#include "modem/app/NumberCheck.h"
#include "modem/core/SmsText.h"
#include "modem/store/ModemDatabase.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"

#include <cstdint>

namespace {

constexpr char Enter = '\r';
constexpr std::size_t ShortestLookup = 3;
constexpr int NameListGap = 10;
constexpr int MessageGap = 5;
// What a draft without a recipient stores as its name and number.
constexpr const char* NoRecipient = "NULL";

TKeyPressEvent KeyHandler(std::function<void(char&)> action)
{
    return TKeyPressEvent::FromFunction([action = std::move(action)](TObject*, char& key) { action(key); });
}

bool IsWholeNumber(const std::string& text)
{
    std::int64_t value = 0;
    return TryStrToInt64(text, value);
}

} // namespace

TSmsComposePage::TSmsComposePage(TMainForm& form, TModemSession& session, const std::string& programFolder)
    : m_form(form), m_session(session), m_matches(programFolder), m_messageBottom(form.MM->Top() + form.MM->Height())
{
    Wire();
}

void TSmsComposePage::Wire()
{
    TComboBox& numbers = *m_form.CBNum;
    numbers.SetOnKeyPress(KeyHandler([this](char& key) { CBNumKeyPress(key); }));
    numbers.SetOnChange(PageHandler([this] { CBNumChange(); }));
    numbers.SetOnClick(PageHandler([this] { CBNumClick(); }));
    numbers.SetOnContextPopup(TContextPopupEvent::FromFunction([this](TObject*, TPoint, bool&) {
        m_form.CBNum->SetFocus();
        if (m_form.CBNum->ItemIndex() < 0 && m_recipients.Count() > 0)
            m_form.CBNum->SetItemIndex(0);
    }));
    m_form.LBNameS->SetOnClick(PageHandler([this] { LBNameSClick(); }));
    m_form.LBNameS->SetOnDblClick(PageHandler([this] { LBNameSDblClick(); }));
    // The memo's own limit counts bytes; MMChange keeps the text to SmsTextLimit characters.
    m_form.MM->SetMaxLength(static_cast<int>(SmsTextMaxBytes));
    m_form.MM->SetOnChange(PageHandler([this] { MMChange(); }));
    m_form.MM->SetOnKeyPress(KeyHandler([this](char& key) { MMKeyPress(key); }));
    m_form.BMSend->SetOnClick(PageHandler([this] { BMSendClick(); }));
    FormControl<TButton>(m_form, "BMClear").SetOnClick(PageHandler([this] { BMClearClick(); }));
    FormControl<TButton>(m_form, "BMSave").SetOnClick(PageHandler([this] { BMSaveClick(); }));
    FormControl<TPopupMenu>(m_form, "PMCBNum").SetOnPopup(PageHandler([this] { PMCBNumPopup(); }));
    FormControl<TMenuItem>(m_form, "MDel").SetOnClick(PageHandler([this] { MDelClick(); }));
    FormControl<TMenuItem>(m_form, "MDelA").SetOnClick(PageHandler([this] { MDelAClick(); }));
}

bool TSmsComposePage::CBNumAdd(const std::string& name, const std::string& number)
{
    if (!AcceptNumber(number))
        return false;
    if (m_recipients.Add(name, number))
        m_form.CBNum->Items()->Add(name);
    m_form.CBNum->SetText("");
    // The lookup is over: its list would cover the message.
    m_form.LBNameS->SetVisible(false);
    PlaceRecipientList(RecipientListHeight(m_recipients.Count(), m_form.CBNum->Height()));
    return true;
}

void TSmsComposePage::CBNumDel(int index)
{
    if (index < 0 || index >= m_recipients.Count())
        return;
    m_recipients.Delete(index);
    m_form.CBNum->Items()->Delete(index);
    if (m_recipients.Count() == 0)
        m_form.CBNum->SetText("");
    PlaceRecipientList(RecipientListHeight(m_recipients.Count(), m_form.CBNum->Height()));
}

// The name list always sits just below the recipient list, and so does the message, which gives
// up height to the recipients rather than hide under them.
void TSmsComposePage::PlaceRecipientList(int height)
{
    m_form.CBNum->SetHeight(height);
    const int listBottom = m_form.CBNum->Top() + m_form.CBNum->Height();
    m_form.LBNameS->SetTop(listBottom + NameListGap);
    m_form.MM->SetBounds(m_form.MM->Left(), listBottom + MessageGap, m_form.MM->Width(),
                         m_messageBottom - listBottom - MessageGap);
}

void TSmsComposePage::MDelClick() { CBNumDel(m_form.CBNum->ItemIndex()); }

void TSmsComposePage::MDelAClick()
{
    m_recipients.Clear();
    m_form.CBNum->Items()->Clear();
    m_form.CBNum->SetText("");
    PlaceRecipientList(RecipientListHeight(0, m_form.CBNum->Height()));
    m_form.LBNameS->SetVisible(false);
}

void TSmsComposePage::PMCBNumPopup()
{
    const bool any = m_recipients.Count() > 0;
    for (const char* item : {"MDel", "MDelA"})
        FormControl<TMenuItem>(m_form, item).SetEnabled(any);
}

// Digits and backspace only; Enter adds what was typed.
void TSmsComposePage::CBNumKeyPress(char& key)
{
    if (key == Enter) {
        const std::string typed = m_form.CBNum->Text();
        if (!typed.empty())
            (void)CBNumAdd(typed, typed);
        key = 0;
        return;
    }
    if (!IsDigitOrBackspace(key))
        key = 0;
}

void TSmsComposePage::CBNumChange()
{
    const std::string typed = m_form.CBNum->Text();
    if (!IsWholeNumber(typed) || typed.size() < ShortestLookup)
        return;
    TListBox& names = *m_form.LBNameS;
    names.Items()->Clear();
    names.SetVisible(false);
    std::vector<std::string>& numbers = m_session.NameListNumbers();
    numbers.clear();
    for (const TContactMatch& match : m_matches.StartingWith(typed)) {
        names.Items()->Add(match.Name);
        numbers.push_back(match.Number);
    }
    if (!numbers.empty()) {
        PlaceRecipientList(m_form.CBNum->Height());
        names.SetVisible(true);
        names.BringToFront(); // over the message, which sits in the same place
    }
}

void TSmsComposePage::CBNumClick()
{
    const int index = m_form.CBNum->ItemIndex();
    if (index < 0 || index >= m_recipients.Count())
        return;
    m_form.CBNum->SetHint(m_recipients.At(index).Number);
    m_form.CBNum->SetShowHint(true);
}

void TSmsComposePage::LBNameSClick()
{
    if (const std::string* number = SelectedNumber(*m_form.LBNameS, m_session.NameListNumbers())) {
        m_form.LBNameS->SetHint(*number);
        m_form.LBNameS->SetShowHint(true);
    }
}

void TSmsComposePage::LBNameSDblClick()
{
    if (const std::string* number = SelectedNumber(*m_form.LBNameS, m_session.NameListNumbers())) {
        const std::string chosen = *number;
        (void)CBNumAdd(m_form.LBNameS->Items()->Strings(m_form.LBNameS->ItemIndex()), chosen);
    }
}

// Every way text reaches the memo ends here: what does not fit one SMS, or would break the send
// command, is taken out of the memo itself.
void TSmsComposePage::MMChange()
{
    const TFittedSmsText fitted = FitSmsText(m_form.MM->Text());
    if (fitted.Changed) {
        m_form.MM->SetText(fitted.Text);
        m_form.MM->SetSelStart(static_cast<int>(fitted.Text.size()));
        return; // setting the text ran this again for the fitted text
    }
    m_form.LSMS->SetCaption(std::to_string(SmsCharactersLeft(fitted.Text)));
}

void TSmsComposePage::MMKeyPress(char& key)
{
    if (key == Enter || key == '\n')
        key = 0;
}

void TSmsComposePage::BMClearClick()
{
    m_form.MM->Clear();
    m_form.LSMS->SetCaption(std::to_string(SmsTextLimit));
}

std::string TSmsComposePage::MessageText() const { return FitSmsText(m_form.MM->Text()).Text; }

void TSmsComposePage::BMSendClick()
{
    const std::string typed = m_form.CBNum->Text();
    if (IsWholeNumber(typed) && !CBNumAdd(typed, typed))
        return;
    const std::string text = MessageText();
    for (const TSmsRecipients::TRecipient& recipient : m_recipients.All())
        m_session.QueueSms(SmsQueueItem(recipient, text));
}

// Only the first recipient is kept with a draft; a draft without one is stored for "NULL".
void TSmsComposePage::BMSaveClick()
{
    TADOQuery& outbox = *m_form.QOB;
    m_form.DSSMS->SetDataSet(&outbox);
    const bool any = m_recipients.Count() > 0;
    outbox.Append();
    outbox.FieldByName("NAME")->SetAsString(any ? m_recipients.At(0).Name : NoRecipient);
    outbox.FieldByName("NUM")->SetAsString(any ? m_recipients.At(0).Number : NoRecipient);
    outbox.FieldByName("DT")->SetAsDateTime(Now());
    outbox.FieldByName("TEXT")->SetAsString(MessageText());
    outbox.FieldByName("R")->SetAsBoolean(false);
    outbox.Post();
    RefreshQuery(outbox, [this](unsigned milliseconds) { m_form.Delay(milliseconds); });
    m_form.ShowSmsBox(TSmsBox::Outbox);
    m_form.BBoxClick(m_form.BBox);
}
