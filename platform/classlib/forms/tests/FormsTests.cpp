#include "ControlsTestClasses.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/core/Thread.h"
#include "platform/winapi/gdi/Gdi.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace {

class FormsTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.reset(static_cast<TTestMainForm*>(TCustomForm::Create(TTestMainForm::StaticClass(), nullptr)));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void ShowAndSettle()
    {
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(*m_form->Top, POINT{2, 2}) == Rgb(clRed); }));
    }
    void Key(unsigned key, unsigned modifiers = 0, std::string text = {})
    {
        m_display->InjectKeyPress(Id(*m_form), key, std::move(text), modifiers);
    }
    [[nodiscard]] bool Clicked(const std::string& name) const
    {
        return std::count(m_form->Events.begin(), m_form->Events.end(), "click " + name) > 0;
    }

    // How many pixels of the window's frame above the client area show `color`.
    [[nodiscard]] int CaptionPixels(TColor color) const
    {
        const int clientTop = InTopLevel(*m_form, {0, 0}).y;
        int count = 0;
        for (int y = 0; y < clientTop; ++y)
            for (int x = 0; x < m_form->Width(); ++x)
                count += (m_display->WindowPixel(Id(*m_form), x, y).value_or(0) & 0xFFFFFF) == Rgb(color) ? 1 : 0;
        return count;
    }

    std::unique_ptr<TTestMainForm> m_form;
};

// A 16x16 opaque icon of one colour.
HICON SolidIcon(TColor color)
{
    TBitmap image;
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(color);
    image.Canvas()->FillRect(Rect(0, 0, 16, 16));
    const std::vector<std::uint8_t> opaque(16 * 2, 0);
    const HBITMAP mask = CreateBitmap(16, 16, 1, 1, opaque.data());
    ICONINFO info{TRUE, 0, 0, mask, image.Handle()};
    const HICON icon = CreateIconIndirect(&info);
    (void)DeleteObject(mask);
    return icon;
}

TEST_F(FormsTest, FormDataBuildsTheTreeBindsEventsAndShowsItsColours)
{
    TTestMainForm& form = *m_form;
    ASSERT_NE(form.Body, nullptr);
    EXPECT_EQ(form.OkButton->Parent(), form.Top);
    EXPECT_EQ(form.Edit1->Parent(), form.Body);
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
    EXPECT_EQ(form.Top->BoundsRect().right, 300);
    EXPECT_EQ(form.Body->BoundsRect().top, 40);
    EXPECT_EQ(form.Body->Height(), 160);
    EXPECT_EQ(form.Body->Color(), clNavy);
    EXPECT_EQ(form.Edit1->Font()->Name(), "Tahoma");
    EXPECT_EQ(form.Events, std::vector<std::string>{"create"});
    EXPECT_EQ(form.Edit2->TabOrder(), 0);
    EXPECT_EQ(form.Edit1->TabOrder(), 1);

    ShowAndSettle();
    EXPECT_EQ(Shown(*form.Body, POINT{150, 150}), Rgb(clNavy));
    EXPECT_EQ(form.Events.back(), "show");
}

TEST_F(FormsTest, AShownFormStartsOnItsFirstControlInTabOrder)
{
    ASSERT_EQ(m_form->ActiveControl(), nullptr);
    ShowAndSettle();
    EXPECT_EQ(GetFocus(), m_form->CancelButton->Handle()); // tab order 0 of the first panel
    EXPECT_EQ(m_form->ActiveControl(), m_form->CancelButton);
}

// A control whose window is made again (a style change does that) keeps the focus it had.
TEST_F(FormsTest, ARecreatedWindowKeepsTheFocus)
{
    ShowAndSettle();
    m_form->CancelButton->RecreateWnd();
    EXPECT_EQ(GetFocus(), m_form->CancelButton->Handle());
    EXPECT_EQ(m_form->ActiveControl(), m_form->CancelButton);
}

TEST_F(FormsTest, AProgramWithNoIconOfItsOwnShowsTheLibrarysDefault)
{
    const TApplication fresh(nullptr);
    ASSERT_FALSE(fresh.Icon()->Empty());
    EXPECT_EQ(fresh.Icon()->Width(), 16);

    Application->SetIcon(fresh.Icon());
    ShowAndSettle();
    const TColor outline = static_cast<TColor>(RGB(44, 62, 92)); // the default icon's frame
    EXPECT_TRUE(PumpUntil([&] { return CaptionPixels(outline) >= 30; }));
}

TEST_F(FormsTest, TheCaptionShowsTheFormsIconAndOtherwiseTheApplications)
{
    TIcon applicationIcon;
    applicationIcon.SetHandle(SolidIcon(clLime));
    Application->SetIcon(&applicationIcon);
    ShowAndSettle();
    EXPECT_EQ(SendMessageA(m_form->Handle(), WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(Application->Icon()->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return CaptionPixels(clLime) >= 100; }));

    m_form->Icon()->SetHandle(SolidIcon(clAqua));
    ASSERT_TRUE(PumpUntil([&] { return CaptionPixels(clAqua) >= 100; }));
    EXPECT_EQ(CaptionPixels(clLime), 0);
    // The form's own icon stays when the application's changes; its window survives a recreation.
    Application->Icon()->SetHandle(SolidIcon(clYellow));
    m_form->RecreateWnd();
    EXPECT_TRUE(IsWindowVisible(m_form->Handle()));
    EXPECT_EQ(SendMessageA(m_form->Handle(), WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(m_form->Icon()->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return CaptionPixels(clAqua) >= 100; }));

    m_form->SetIcon(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return CaptionPixels(clYellow) >= 100; }));
    Application->SetIcon(nullptr);
    EXPECT_EQ(SendMessageA(m_form->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(FormsTest, ArrowsMoveAmongTheFocusedRadioButtonsSiblingsAndCheckThem)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 240);
    std::vector<TRadioButton*> radios;
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
        auto* radio = new TRadioButton(&form);
        radio->SetParent(&form);
        radio->SetBounds(10, 10 + 25 * i, 100, 20);
        radio->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
        radios.push_back(radio);
    }
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 90, 80, 24);
    auto* group = new TGroupBox(&form);
    group->SetParent(&form);
    group->SetBounds(120, 10, 150, 100);
    auto* other = new TRadioButton(&form);
    other->SetParent(group);
    other->SetBounds(10, 20, 100, 20);
    other->SetChecked(true);
    radios[0]->SetChecked(true);
    form.Show();
    radios[0]->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return radios[0]->Focused() && GetFocus() == radios[0]->Handle(); }));
    clicks = 0;

    const auto press = [&](unsigned key, TWinControl* reached) {
        m_display->InjectKeyPress(Id(form), key, {});
        (void)PumpUntil([&] { return reached->Focused(); });
    };
    // The button between the last radio button and the first does not stop the wrap.
    const std::vector<std::pair<unsigned, int>> steps{{VK_DOWN, 1}, {VK_RIGHT, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_LEFT, 1}};
    for (const auto& [key, expected] : steps) {
        press(key, radios[static_cast<std::size_t>(expected)]);
        EXPECT_TRUE(radios[static_cast<std::size_t>(expected)]->Focused()) << "key " << key << " to " << expected;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(radios[static_cast<std::size_t>(i)]->Checked(), i == expected);
    }
    EXPECT_EQ(clicks, 5);
    EXPECT_TRUE(other->Checked()) << "another parent's radio buttons are another group";

    // Away from radio buttons the arrows are not taken.
    button->SetFocus();
    m_display->InjectKeyPress(Id(form), VK_DOWN, {});
    Application->ProcessMessages();
    EXPECT_TRUE(button->Focused());
}

TEST_F(FormsTest, ShortCutsOfTheFocusedControlsAndItsParentsPopupMenusAndOfTheMainMenuClickTheirItems)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 150, 150);
    auto* edit = new TTestEditBox(&form);
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 100, 20);
    auto* other = new TTestEditBox(&form);
    other->SetParent(&form);
    other->SetBounds(160, 10, 100, 20);
    std::vector<std::string> clicked;
    std::vector<WORD> keysSeen;
    edit->SetOnKeyDown(TKeyEvent::FromFunction([&](TObject*, WORD& key, TShiftState) { keysSeen.push_back(key); }));
    const auto addItem = [&](TMenu* menu, const std::string& name, TShortCut shortCut, bool enabled = true) {
        auto* item = new TMenuItem(menu);
        item->SetShortCut(shortCut);
        item->SetEnabled(enabled);
        item->SetOnClick(TNotifyEvent::FromFunction([&clicked, name](TObject*) { clicked.push_back(name); }));
        menu->Items()->Add(item);
    };
    const TShiftState ctrl{ssCtrl};
    auto* editMenu = new TPopupMenu(&form);
    addItem(editMenu, "save", ShortCut('S', ctrl));
    edit->SetPopupMenu(editMenu);
    auto* panelMenu = new TPopupMenu(&form);
    addItem(panelMenu, "open", ShortCut('O', ctrl));
    addItem(panelMenu, "delete", ShortCut('D', ctrl), false);
    panel->SetPopupMenu(panelMenu);
    auto* formMenu = new TPopupMenu(&form);
    addItem(formMenu, "print", ShortCut('P', ctrl));
    form.SetPopupMenu(formMenu);
    auto* otherMenu = new TPopupMenu(&form);
    addItem(otherMenu, "cut", ShortCut('X', ctrl));
    other->SetPopupMenu(otherMenu);
    auto* mainMenu = new TMainMenu(&form);
    addItem(mainMenu, "refresh", ShortCut(VK_F5, {}));
    form.Show();
    edit->SetFocus();
    Application->ProcessMessages();

    const WindowId id = Id(form);
    m_display->InjectKey(id, VK_CONTROL, true);
    for (const char key : {'S', 'O', 'P', 'D', 'X'})
        m_display->InjectKeyPress(id, static_cast<unsigned>(key), {}, ModControl);
    m_display->InjectKey(id, VK_CONTROL, false, {}, ModControl);
    m_display->InjectKeyPress(id, VK_F5, {});
    Application->ProcessMessages();

    EXPECT_EQ(clicked, (std::vector<std::string>{"save", "open", "print", "refresh"}));
    // A disabled item's key and another control's menu's key are the focused control's keys.
    EXPECT_NE(std::find(keysSeen.begin(), keysSeen.end(), 'D'), keysSeen.end());
    EXPECT_NE(std::find(keysSeen.begin(), keysSeen.end(), 'X'), keysSeen.end());
    EXPECT_EQ(std::find(keysSeen.begin(), keysSeen.end(), 'S'), keysSeen.end());
}

TEST_F(FormsTest, ClicksTabEnterEscapeAndAcceleratorsReachTheirControls)
{
    TTestMainForm& form = *m_form;
    ShowAndSettle();
    m_display->InjectClick(Id(form), InTopLevel(*form.OkButton, POINT{5, 5}));
    ASSERT_TRUE(PumpUntil([&] { return Clicked("OkButton"); }));

    form.Edit2->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(form.Edit2->Focused());
    EXPECT_EQ(form.ActiveControl(), form.Edit2);
    Key(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return form.Edit1->Focused(); }));
    EXPECT_EQ(form.Edit2->Log, (std::vector<std::string>{"Edit2 enter", "Edit2 exit"}));
    m_display->InjectKey(Id(form), VK_SHIFT, true);
    Key(VK_TAB, ModShift);
    m_display->InjectKey(Id(form), VK_SHIFT, false);
    ASSERT_TRUE(PumpUntil([&] { return form.Edit2->Focused(); }));

    form.Events.clear();
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("OkButton"); }));
    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("CancelButton"); }));
    m_display->InjectKey(Id(form), VK_MENU, true);
    Key('G', ModAlt, "g");
    m_display->InjectKey(Id(form), VK_MENU, false);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("GoButton"); }));
    EXPECT_EQ(form.Events, (std::vector<std::string>{"click OkButton", "click CancelButton", "click GoButton"}));
}

TEST_F(FormsTest, ExceptionsFromAClickAndATimerAreShownAndTheLoopGoesOn)
{
    TTestMainForm& form = *m_form;
    ShowAndSettle();
    form.ThrowFromClick = true;
    m_display->InjectClick(Id(form), InTopLevel(*form.OkButton, POINT{5, 5}));
    ASSERT_TRUE(PumpUntil([&] { return !m_errors.empty(); }));
    EXPECT_EQ(m_errors.front(), "Click went wrong.");

    form.ThrowFromTimer = true;
    form.Timer1->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return form.Ticks >= 2; }));
    EXPECT_EQ(m_errors.at(1), "'x' is not a valid integer value.");
    form.Timer1->SetEnabled(false);

    // An abort is silent, and OnException takes over the box.
    const auto errors = m_errors.size();
    std::string seen;
    Application->SetOnException(TExceptionEvent::FromFunction([&](TObject*, const std::exception& e) { seen = e.what(); }));
    try {
        throw EAbort("Operation aborted");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    try {
        throw Exception("handled elsewhere");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_EQ(m_errors.size(), errors);
    EXPECT_EQ(seen, "handled elsewhere");
}

TEST_F(FormsTest, ModalLoopEndsWithTheButtonsResultAndCloseHidesOrFrees)
{
    TTestMainForm& form = *m_form;
    form.OkButton->SetModalResult(mrOk);
    form.SetOnShow(TNotifyEvent::FromFunction([&](TObject*) {
        (void)PostMessageA(form.OkButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        (void)PostMessageA(form.OkButton->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }));
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.Visible());

    std::vector<std::string> closing;
    form.SetOnClose(TCloseEvent::FromFunction([&](TObject*, TCloseAction& action) {
        closing.push_back("close");
        action = caNone;
    }));
    form.SetOnShow({});
    form.Show();
    (void)SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Visible());
    form.SetOnClose({});
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closing.size(), 1u);
}

TEST_F(FormsTest, ScreenCentresTheFormAndSynchronizeRunsInTheLoop)
{
    m_form->SetPosition(poScreenCenter);
    m_form->Show();
    const TControl& placed = *m_form;
    EXPECT_EQ(placed.Left(), (Screen->Width() - placed.Width()) / 2);
    EXPECT_EQ(placed.Top(), (Screen->Height() - placed.Height()) / 2);
    EXPECT_EQ(Screen->PixelsPerInch(), 96);
    EXPECT_GT(Screen->FormCount(), 0);

    std::atomic<bool> ran{false};
    std::thread worker([&] { TThread::Synchronize([&] { ran = true; }); });
    EXPECT_TRUE(PumpUntil([&] { return ran.load(); }));
    worker.join();
}

} // namespace
