#include "SkinnedFormFixture.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/kernel/Threads.h"
#include "skin/SkinControlKinds.h"
#include "SkinTestImages.h"

#include <functional>
#include <vector>

namespace {

// A control skinner that only records what it was attached to.
class RecordingSkinner : public TSkinControl {
public:
    explicit RecordingSkinner(std::string kind) : m_kind(std::move(kind)) {}
    ~RecordingSkinner() override { std::erase(Live(), this); }

    void AttachControl(TWinSkinForm&, TControl& control, int boxFlag) override
    {
        m_control = &control;
        BoxFlag = boxFlag;
        if (auto* windowed = dynamic_cast<TWinControl*>(&control))
            m_window = windowed->Handle();
        Live().push_back(this);
    }
    void AttachWindow(TWinSkinForm&, HWND window) override
    {
        m_window = window;
        Live().push_back(this);
    }
    void Detach() override { ++Detached(); }
    void SkinChanged() override { ++Changes; }
    [[nodiscard]] bool IsDead() const override { return m_window && !IsWindow(m_window); }
    [[nodiscard]] HWND Handle() const override { return m_window; }
    [[nodiscard]] TControl* Control() const override { return m_control; }

    static std::vector<RecordingSkinner*>& Live()
    {
        static std::vector<RecordingSkinner*> live;
        return live;
    }
    static int& Detached()
    {
        static int count = 0;
        return count;
    }
    static RecordingSkinner* Of(HWND window)
    {
        for (RecordingSkinner* skinner : Live())
            if (skinner->m_window == window)
                return skinner;
        return nullptr;
    }

    const std::string& Kind() const { return m_kind; }
    int BoxFlag = -1;
    int Changes = 0;

private:
    std::string m_kind;
    TControl* m_control = nullptr;
    HWND m_window = nullptr;
};

const char* const RecordedKinds[] = {"TSkinButton", "TSkinEdit", "TSkinBox", "TSkinCheckBox", "TSkinGroupBox"};

class SkinManageTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        for (const char* kind : RecordedKinds)
            RegisterSkinner(kind, [kind] { return std::make_unique<RecordingSkinner>(kind); });
        RecordingSkinner::Detached() = 0;
    }
    void TearDown() override
    {
        SkinnedFormFixture::TearDown();
        // The engine's own skinners come back for the tests that follow.
        const auto builtIn = BuiltInSkinners();
        for (const char* kind : RecordedKinds) {
            if (const auto found = builtIn.find(kind); found != builtIn.end())
                RegisterSkinner(kind, found->second);
            else
                UnregisterSkinner(kind);
        }
    }
};

// A top-level window of a class of that name, shown.
HWND MakeBareWindow(const char* className, DWORD style = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = className;
    (void)RegisterClassA(&wc);
    return CreateWindowExA(0, className, "Bare", style | WS_VISIBLE, 60, 60, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
}

std::function<void(HWND box)> g_inBox;

// Runs the test's look at a message box once its skinner has started, then closes the box.
LRESULT BoxFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && g_inBox) {
        const HWND box = FindWindowA("#32770", nullptr);
        const TWinSkinForm* skinner = box && SkinManager() ? SkinManager()->FindFormSkinner(box) : nullptr;
        if (!skinner || skinner->Lifecycle() == TWinSkinForm::Running) {
            const auto look = std::move(g_inBox);
            g_inBox = nullptr;
            look(box);
            (void)PostMessageA(box, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(SkinManageTest, MessageBoxesAreSkinnedByTheDialogSkinData)
{
    ShowSkinned();
    auto* dialogData = new TSkinData(m_form.get());
    dialogData->SetSkinFormtype(sfDialog);
    dialogData->Loaded();
    TFileStream file(OurSkinFile(), fmOpenRead);
    ASSERT_TRUE(dialogData->LoadSkinFromStream(file));
    const HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, BoxFilter, nullptr, GetCurrentThreadId());
    bool looked = false;
    g_inBox = [&](HWND box) {
        looked = true;
        ASSERT_NE(box, nullptr);
        const TWinSkinForm* skinner = SkinManager()->FindFormSkinner(box);
        ASSERT_NE(skinner, nullptr);
        EXPECT_EQ(skinner->SkinData(), dialogData);
        EXPECT_EQ(skinner->BorderKind(), TWinSkinForm::bkDialog);
        EXPECT_EQ(SendMessageA(box, WM_SKIN_QUERYSKINNED, 0, 0), 1);
        EXPECT_EQ(skinner->Borders().top, 26);
        const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
        EXPECT_NE(GetWindowRgn(box, region.Get()), ERROR);
        // The title fits beside the close button and is drawn whole from the first paint on.
        (void)UpdateWindow(box);
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        const GdiObject<HFONT> font(CreateFontIndirectA(&metrics.lfCaptionFont));
        const HDC dc = GetDC(nullptr);
        RECT title{};
        {
            const SelectionGuard selected(dc, font.Get());
            (void)DrawTextA(dc, "  Confirm ", -1, &title, DT_CALCRECT | DT_SINGLELINE);
        }
        (void)ReleaseDC(nullptr, dc);
        EXPECT_EQ(skinner->CaptionTextRect().right - skinner->CaptionTextRect().left, title.right);
    };
    (void)PostMessageA(Window(), WM_NULL, 0, 0);
    (void)MessageDlg("Skinned?", mtConfirmation, {mbOK}, 0);
    (void)UnhookWindowsHookEx(hook);
    EXPECT_TRUE(looked);
}

TEST_F(SkinManageTest, AMessageBoxsButtonsWearTheSkinsButtonFaces)
{
    ShowSkinned();
    auto* dialogData = new TSkinData(m_form.get());
    dialogData->SetSkinFormtype(sfDialog);
    dialogData->Loaded();
    TFileStream file(OurSkinFile(), fmOpenRead);
    ASSERT_TRUE(dialogData->LoadSkinFromStream(file));
    // The left edge, half way down, of the focused frame of the skin's button picture.
    TBitmap& faces = dialogData->Elements().Buttons().Image;
    const int width = faces.Width() / 5;
    const auto edge = static_cast<std::uint32_t>(ColorToRGB(PixelAt(faces, width * 4 + 1, faces.Height() / 2)));
    const HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, BoxFilter, nullptr, GetCurrentThreadId());
    int edgePixels = 0;
    g_inBox = [&](HWND box) {
        (void)UpdateWindow(box);
        RECT client{};
        (void)GetClientRect(box, &client);
        const HDC dc = GetDC(box);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                edgePixels += (static_cast<std::uint32_t>(GetPixel(dc, x, y)) & 0xFFFFFF) == edge ? 1 : 0;
        (void)ReleaseDC(box, dc);
    };
    (void)PostMessageA(Window(), WM_NULL, 0, 0);
    (void)MessageDlg("Skinned?", mtConfirmation, {mbOK}, 0);
    (void)UnhookWindowsHookEx(hook);
    // The OK button's left edge, down its height.
    EXPECT_GE(edgePixels, 10);
}

TEST_F(SkinManageTest, MessageBoxesFollowTheSettingsOfTheMainSkinData)
{
    ShowSkinned();
    struct Case {
        const char* name;
        bool refused; // the application's OnFormSkin says no to "#32770"
        bool skinned;
    };
    const Case cases[] = {{"skinned with the main skin data", false, true}, {"refused by the handler", true, false}};
    const HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, BoxFilter, nullptr, GetCurrentThreadId());
    for (const Case& c : cases) {
        m_data->SetOnFormSkin(TOnFormSkin::FromFunction([refused = c.refused](TObject*, const std::string& name, bool& doSkin) {
            if (refused && name == "#32770")
                doSkin = false;
        }));
        bool looked = false;
        g_inBox = [&](HWND box) {
            looked = true;
            const TWinSkinForm* skinner = SkinManager()->FindFormSkinner(box);
            EXPECT_EQ(skinner != nullptr, c.skinned) << c.name;
            if (skinner) {
                EXPECT_EQ(skinner->SkinData(), m_data) << c.name;
            }
        };
        (void)PostMessageA(Window(), WM_NULL, 0, 0);
        (void)MessageDlg("Skinned?", mtInformation, {mbOK}, 0);
        EXPECT_TRUE(looked) << c.name;
    }
    (void)UnhookWindowsHookEx(hook);
}

TEST_F(SkinManageTest, ExcludedWindowsAreLeftAlone)
{
    ShowSkinned();
    m_data->SetOnFormSkin(TOnFormSkin::FromFunction([](TObject*, const std::string& name, bool& doSkin) {
        if (name == "RefusedByHandler")
            doSkin = false;
    }));
    struct Case {
        const char* className;
        DWORD style;
        bool skinned;
    };
    const Case cases[] = {
        {"PlainTopLevel", WS_OVERLAPPEDWINDOW, true},
        {"TApplication", WS_OVERLAPPEDWINDOW, false},
        {"RefusedByHandler", WS_OVERLAPPEDWINDOW, false},
        {"PrintPreviewWindow", WS_OVERLAPPEDWINDOW, true}, // our options hold xoPreview
    };
    for (const Case& c : cases) {
        const HWND window = MakeBareWindow(c.className, c.style);
        Pump();
        (void)SkinManager()->SkinWindow(window);
        EXPECT_EQ(SkinManager()->FindFormSkinner(window) != nullptr, c.skinned) << c.className;
        (void)DestroyWindow(window);
        Pump();
    }
    m_data->SetOptions(TSkinOptions{});
    const HWND preview = MakeBareWindow("PrintPreviewWindow");
    Pump();
    EXPECT_FALSE(SkinManager()->SkinWindow(preview));
    (void)DestroyWindow(preview);
    Pump();
}

TEST_F(SkinManageTest, ControlsGetTheSkinnerTheirClassAndTheSettingsAskFor)
{
    auto* button = new TButton(m_form.get());
    button->SetParent(m_form.get());
    button->SetBounds(10, 10, 80, 25);
    auto* edit = new TEdit(m_form.get());
    edit->SetParent(m_form.get());
    edit->SetBounds(10, 50, 120, 21);
    auto* hidden = new TButton(m_form.get());
    hidden->SetParent(m_form.get());
    hidden->SetBounds(10, 90, 80, 25);
    hidden->SetTag(99);
    auto* box = new TGroupBox(m_form.get());
    box->SetParent(m_form.get());
    box->SetBounds(150, 10, 200, 100);
    auto* inner = new TCheckBox(m_form.get());
    inner->SetParent(box);
    inner->SetBounds(10, 20, 100, 20);
    ShowSkinned();
    const auto kindOf = [](TWinControl* control) {
        const RecordingSkinner* skinner = RecordingSkinner::Of(control->Handle());
        return skinner ? skinner->Kind() : std::string("none");
    };
    EXPECT_EQ(kindOf(button), "TSkinButton");
    EXPECT_EQ(kindOf(edit), "TSkinEdit");
    EXPECT_EQ(kindOf(hidden), "none");
    EXPECT_EQ(kindOf(box), "TSkinGroupBox");
    // The group box's own children are skinned too.
    EXPECT_EQ(kindOf(inner), "TSkinCheckBox");
    EXPECT_EQ(Skinner()->Skinners().size(), 4u);

    // A Skin3rd line maps a class to "nil": its controls stay unskinned.
    m_data->Skin3rd()->Clear();
    (void)m_data->Skin3rd()->Add("TButton=nil");
    m_data->SetActive(false);
    Advance(TSkinManage::ActionDelay);
    EXPECT_EQ(RecordingSkinner::Detached(), 4);
    m_data->SetActive(true);
    Advance(TSkinManage::ActionDelay);
    EXPECT_EQ(kindOf(button), "none");
    EXPECT_EQ(kindOf(edit), "TSkinEdit");
}

TEST_F(SkinManageTest, OnlyTheLastOfQuickRequestsRuns)
{
    ShowSkinned();
    m_data->SetActive(false);
    m_data->SetActive(true);
    EXPECT_EQ(SkinManager()->PendingAction(), TSkinManage::ActionSkinAll);
    Advance(TSkinManage::ActionDelay);
    EXPECT_NE(Skinner(), nullptr);
    EXPECT_EQ(SendMessageA(Window(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
}

// The form text of a form holding a skin data component, with the package bytes as its
// SkinStream when there are any.
std::string FormWithSkinData(const std::string& package)
{
    std::string text = "object SkinnedForm: TForm\n  Left = 40\n  Top = 40\n  Width = 424\n  Height = 374\n"
                       "  object SkinData1: TSkinData\n    Active = True\n";
    if (!package.empty()) {
        static const char digits[] = "0123456789ABCDEF";
        std::string bytes(4, '\0');
        const auto count = static_cast<std::uint32_t>(package.size());
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xFF);
        bytes += package;
        text += "    SkinStream = {";
        for (unsigned char byte : bytes) {
            text += digits[byte >> 4];
            text += digits[byte & 15];
        }
        text += "}\n";
    }
    return text + "  end\nend\n";
}

std::string ReadAll(const std::string& file)
{
    TFileStream stream(file, fmOpenRead);
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

TEST_F(SkinManageTest, AFormReadWithASkinStreamIsSkinnedAndOneWithoutStaysPlain)
{
    RegisterClasses({TSkinData::StaticClass()});
    for (const bool withSkin : {false, true}) {
        FreeSkinManager();
        auto form = std::make_unique<TForm>(nullptr);
        (void)ReadComponentText(FormWithSkinData(withSkin ? ReadAll(OurSkinFile()) : std::string()), form.get());
        auto* data = dynamic_cast<TSkinData*>(form->FindComponent("SkinData1"));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->Pending(), !withSkin);
        EXPECT_EQ(data->Active(), withSkin);
        ASSERT_NE(SkinManager(), nullptr);
        EXPECT_EQ(SkinManager()->MainSkinData(), data);
        form->Show();
        Pump();
        Advance(TSkinManage::ActionDelay);
        EXPECT_EQ(SkinManager()->FindFormSkinner(form->Handle()) != nullptr, withSkin);
        FreeSkinManager();
        form.reset();
        Pump();
    }
}

namespace {

std::function<bool(HWND popup)> g_inMenu;

// Looks at the open popup menu until the test is satisfied (or enough messages have gone by),
// then closes the menu.
LRESULT MenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    static int looks = 0;
    if (code == MSGF_MENU && g_inMenu) {
        const HWND popup = FindWindowA("#32768", nullptr);
        if (g_inMenu(popup) || ++looks > 50) {
            g_inMenu = nullptr;
            looks = 0;
            (void)EndMenu();
        } else {
            (void)PostMessageA(GetWindow(popup, GW_OWNER), WM_NULL, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(SkinManageTest, PopupMenusWearTheSkinsMenuFrameAndAreLeftWhenTheyClose)
{
    ShowSkinned();
    constexpr std::uint32_t menuFrame = 0x7A8EAA;
    const HMENU menu = CreatePopupMenu();
    (void)AppendMenuA(menu, MF_STRING, 1, "First");
    (void)AppendMenuA(menu, MF_STRING, 2, "Second");
    const HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
    bool framed = false;
    bool skinned = false;
    g_inMenu = [&](HWND popup) {
        if (!popup)
            return false;
        skinned = SendMessageA(popup, WM_SKIN_QUERYSKINNED, 0, 0) == 1 && SkinManager()->IsPopupSkinned(popup);
        framed = m_display->WindowPixel(reinterpret_cast<WindowId>(popup), 0, 0).value_or(0) % 0x1000000 == menuFrame;
        return framed;
    };
    (void)PostMessageA(Window(), WM_NULL, 0, 0);
    (void)TrackPopupMenu(menu, TPM_LEFTALIGN, 100, 100, 0, Window(), nullptr);
    (void)UnhookWindowsHookEx(hook);
    (void)DestroyMenu(menu);
    Pump();
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(framed);
    EXPECT_TRUE(SkinManager()->PopupSkinners().empty());
}
