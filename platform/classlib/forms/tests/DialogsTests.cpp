#include "ControlsTestClasses.h"

#include "platform/classlib/forms/Dialogs.h"
#include "platform/winapi/kernel/Threads.h"

#include <memory>

namespace {

std::function<void(HWND box)> g_inBox; // run once, at the first message the dialog's loop reads

LRESULT BoxFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && g_inBox) {
        const auto action = std::move(g_inBox);
        g_inBox = nullptr;
        action(FindWindowA("#32770", nullptr));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Key {
    unsigned key;
    const char* text;
    unsigned modifiers = 0;
};

class DialogsTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(50, 50, 300, 200);
        m_form->Show();
        Application->ProcessMessages();
        m_hook = SetWindowsHookExA(WH_MSGFILTER, BoxFilter, nullptr, GetCurrentThreadId());
    }
    void TearDown() override
    {
        g_inBox = nullptr;
        (void)UnhookWindowsHookEx(m_hook);
        m_form.reset();
        ControlsFixture::TearDown();
    }

    // Types the keys (they reach the dialog once it is up), shows the dialog and notes its caption.
    TModalResult Answer(const std::vector<Key>& keys, const std::function<TModalResult()>& show)
    {
        for (const Key& key : keys) {
            if (key.modifiers & ModAlt)
                m_display->InjectKey(Id(*m_form), VK_MENU, true);
            m_display->InjectKeyPress(Id(*m_form), key.key, key.text, key.modifiers);
            if (key.modifiers & ModAlt)
                m_display->InjectKey(Id(*m_form), VK_MENU, false);
        }
        m_caption.clear();
        g_inBox = [this](HWND box) {
            char text[64] = {};
            (void)GetWindowTextA(box, text, sizeof(text));
            m_caption = text;
            m_formEnabledUnderBox = IsWindowEnabled(m_form->Handle()) != FALSE;
        };
        (void)PostMessageA(m_form->Handle(), WM_NULL, 0, 0); // so that the loop reads a message at once
        return show();
    }

    std::unique_ptr<TForm> m_form;
    HHOOK m_hook = nullptr;
    std::string m_caption;
    bool m_formEnabledUnderBox = true;
};

struct DialogCase {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    std::vector<Key> keys;
    TModalResult expected;
    const char* caption;
};

TEST_F(DialogsTest, TheKeyboardAnswersEachKindOfDialogWithItsCaption)
{
    const DialogCase cases[] = {
        {mtConfirmation, mbOKCancel, {{VK_RETURN, ""}}, mrOk, "Confirm"},
        {mtConfirmation, mbOKCancel, {{VK_ESCAPE, ""}}, mrCancel, "Confirm"},
        {mtConfirmation, mbOKCancel, {{VK_TAB, ""}, {VK_RETURN, ""}}, mrCancel, "Confirm"},
        // Yes is the default; with no Cancel, Escape answers No.
        {mtError, {mbYes, mbNo, mbAll}, {{VK_RETURN, ""}}, mrYes, "Error"},
        {mtError, {mbYes, mbNo, mbAll}, {{VK_ESCAPE, ""}}, mrNo, "Error"},
        {mtError, {mbYes, mbNo, mbAll}, {{'A', "a", ModAlt}}, mrAll, "Error"},
        {mtWarning, mbYesAllNoAllCancel, {{'O', "o", ModAlt}}, mrNoToAll, "Warning"},
        {mtWarning, mbYesAllNoAllCancel, {{'A', "a", ModAlt}}, mrYesToAll, "Warning"},
        {mtInformation, {mbOK}, {{VK_ESCAPE, ""}}, mrOk, "Information"},
        // Retry is the default; nothing cancels, so Escape and Help leave it open.
        {mtWarning, mbAbortRetryIgnore, {{VK_RETURN, ""}}, mrRetry, "Warning"},
        {mtWarning, {mbAbort, mbIgnore, mbHelp}, {{VK_ESCAPE, ""}, {'H', "h"}, {'I', "i"}}, mrIgnore, "Warning"},
        {mtWarning, {mbAbort, mbIgnore}, {{VK_RETURN, ""}}, mrAbort, "Warning"},
    };
    for (const DialogCase& c : cases) {
        EXPECT_EQ(Answer(c.keys, [&] { return MessageDlg("Delete record?", c.type, c.buttons, 0); }), c.expected)
            << c.caption << " " << c.buttons.Bits();
        EXPECT_EQ(m_caption, c.caption);
    }
    EXPECT_FALSE(m_formEnabledUnderBox);
    EXPECT_TRUE(IsWindowEnabled(m_form->Handle()));
}

TEST_F(DialogsTest, ShowMessageAndCustomDialogsTakeTheApplicationTitle)
{
    const std::string saved = Application->Title();
    Application->SetTitle("Norra Installer");
    (void)Answer({{VK_RETURN, ""}}, [] {
        ShowMessage("This installer will install Norra dialer software.\r\nPlease wait.");
        return mrNone;
    });
    EXPECT_EQ(m_caption, "Norra Installer");
    EXPECT_EQ(Answer({{VK_ESCAPE, ""}}, [] { return MessageDlg("Go on?", mtCustom, mbYesNoCancel, 0); }), mrCancel);
    EXPECT_EQ(m_caption, "Norra Installer");
    Application->SetTitle(saved);
}

TEST_F(DialogsTest, AHandlerAnswersInsteadOfTheDialog)
{
    std::string seen;
    SetMessageDlgHandler([&](const std::string& msg, const std::string& caption, TMsgDlgType type,
                             TMsgDlgButtons buttons) {
        seen = msg + "|" + caption + "|" + std::to_string(type) + "|" + std::to_string(buttons.Bits());
        return mrNo;
    });
    EXPECT_EQ(MessageDlg("Overwrite?", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
    SetMessageDlgHandler(nullptr);
    EXPECT_EQ(seen, "Overwrite?|Confirm|3|3");
}

} // namespace
