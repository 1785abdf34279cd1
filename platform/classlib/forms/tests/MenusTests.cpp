#include "ControlsTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <memory>

// A form whose popup menu comes from form data.
class TMenuTestForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TMenuTestForm(TComponent* owner) : TForm(owner) {}

    TTestPanel* Panel1 = nullptr;
    TPopupMenu* Popup1 = nullptr;
    TMenuItem* Open1 = nullptr;
    TMenuItem* More1 = nullptr;
    TMenuItem* Deep1 = nullptr;
    std::vector<std::string> Events;

    void ItemClick(TObject* sender) { Events.push_back("click " + static_cast<TComponent*>(sender)->Name()); }
    void PopupShown(TObject* sender) { Events.push_back("popup " + static_cast<TComponent*>(sender)->Name()); }
};

namespace {

void DescribeMenuTestForm(TClassBuilder& c)
{
    c.Field("Panel1", &TMenuTestForm::Panel1);
    c.Field("Popup1", &TMenuTestForm::Popup1);
    c.Field("Open1", &TMenuTestForm::Open1);
    c.Field("More1", &TMenuTestForm::More1);
    c.Field("Deep1", &TMenuTestForm::Deep1);
    c.Method("ItemClick", &TMenuTestForm::ItemClick);
    c.Method("PopupShown", &TMenuTestForm::PopupShown);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TMenuTestForm, TForm, ComponentCreator<TMenuTestForm>, DescribeMenuTestForm)

namespace {

constexpr const char* MenuFormText = R"(object MenuTestForm: TMenuTestForm
  ClientWidth = 300
  ClientHeight = 200
  object Panel1: TTestPanel
    Left = 20
    Top = 20
    Width = 120
    Height = 80
    PopupMenu = Popup1
  end
  object Popup1: TPopupMenu
    OnPopup = PopupShown
    object Open1: TMenuItem
      Caption = '&Open'
      ShortCut = 16463
      OnClick = ItemClick
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object More1: TMenuItem
      Caption = '&More'
      OnClick = ItemClick
      object Deep1: TMenuItem
        Caption = '&Deep'
        OnClick = ItemClick
      end
    end
  end
end
)";

// The same form class with a menu bar.
constexpr const char* MainMenuFormText = R"(object MenuTestForm: TMenuTestForm
  ClientWidth = 300
  ClientHeight = 200
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
        OnClick = ItemClick
      end
    end
    object More1: TMenuItem
      Caption = '&More'
      OnClick = ItemClick
      object Deep1: TMenuItem
        Caption = '&Deep'
        OnClick = ItemClick
      end
    end
  end
end
)";

std::string MenuString(HMENU menu, UINT position)
{
    char text[64] = {};
    (void)GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(ShortCuts, TextAndKeysConvertBothWays)
{
    struct Case {
        TShortCut shortCut;
        const char* text;
    };
    for (const Case& test : {Case{ShortCut('S', TShiftState{ssCtrl}), "Ctrl+S"},
                             Case{ShortCut(VK_DELETE, TShiftState{ssShift, ssCtrl}), "Shift+Ctrl+Del"},
                             Case{ShortCut(VK_F1 + 4, TShiftState{ssAlt}), "Alt+F5"},
                             Case{ShortCut(VK_RETURN, {}), "Enter"}}) {
        EXPECT_EQ(ShortCutToText(test.shortCut), test.text);
        EXPECT_EQ(TextToShortCut(test.text), test.shortCut) << test.text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', TShiftState{ssCtrl})) << "case-insensitive";
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCut(0x1234, {}), scNone) << "not a key";
}

// Popup menus own a hidden window, so these need the headless screen too.
class MenuItems : public ControlsFixture {};

TEST_F(MenuItems, TheTreeAndItsMenuHandleStayInStep)
{
    TPopupMenu menu(nullptr);
    auto* open = new TMenuItem(&menu);
    open->SetCaption("&Open");
    auto* save = new TMenuItem(&menu);
    save->SetCaption("&Save");
    save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    auto* line = new TMenuItem(&menu);
    line->SetCaption("-");
    auto* more = new TMenuItem(&menu);
    more->SetCaption("&More");
    auto* deep = new TMenuItem(&menu);
    deep->SetCaption("Deep");
    menu.Items()->Add(open);
    menu.Items()->Add(line);
    menu.Items()->Add(more);
    menu.Items()->Insert(1, save);
    more->Add(deep);
    EXPECT_THROW(menu.Items()->Add(deep), EMenuError);

    EXPECT_EQ(menu.Items()->Count(), 4);
    EXPECT_EQ(menu.Items()->IndexOf(line), 2);
    EXPECT_EQ(deep->Parent(), more);
    EXPECT_EQ(deep->GetParentMenu(), &menu);
    EXPECT_EQ(menu.FindItem(deep->Command(), fkCommand), deep);
    EXPECT_EQ(menu.FindItem(ShortCut('S', TShiftState{ssCtrl}), fkShortCut), save);
    int saves = 0;
    save->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++saves; }));
    EXPECT_TRUE(menu.IsShortCut('S', TShiftState{ssCtrl}));
    EXPECT_FALSE(menu.IsShortCut('S', {}));
    EXPECT_EQ(saves, 1);
    EXPECT_NE(open->Command(), save->Command());

    const HMENU handle = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 4);
    EXPECT_EQ(MenuString(handle, 1), "&Save\tCtrl+S");
    EXPECT_NE(GetMenuState(handle, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetSubMenu(handle, 3), more->Handle());
    EXPECT_EQ(MenuString(more->Handle(), 0), "Deep");

    // Changes show in the same handle.
    save->SetEnabled(false);
    open->SetChecked(true);
    deep->SetBreak(mbBreak);
    line->SetVisible(false);
    ASSERT_EQ(GetMenuItemCount(handle), 3) << "invisible items are left out";
    EXPECT_EQ(GetMenuState(handle, 0, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(handle, 1, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(GetMenuState(more->Handle(), 0, MF_BYPOSITION) & MF_MENUBREAK, MF_MENUBREAK);

    save->SetMenuIndex(0);
    EXPECT_EQ(MenuString(handle, 0), "&Save\tCtrl+S");
    EXPECT_EQ(open->MenuIndex(), 1);
    menu.Items()->Delete(0);
    EXPECT_EQ(MenuString(handle, 0), "&Open");
    EXPECT_EQ(menu.ComponentCount(), 4) << "the deleted item is freed and leaves its owner";
    menu.Items()->Clear();
    EXPECT_EQ(GetMenuItemCount(handle), 0);
    EXPECT_EQ(menu.ComponentCount(), 0) << "clearing frees sub-items too";
}

TEST_F(MenuItems, AnItemNeverGoesInsideItself)
{
    TPopupMenu menu(nullptr);
    auto* outer = new TMenuItem(&menu);
    auto* inner = new TMenuItem(&menu);
    outer->Add(inner);
    EXPECT_THROW(inner->Add(outer), EMenuError);
    EXPECT_THROW(outer->Add(outer), EMenuError);
    menu.Items()->Add(outer);
    EXPECT_THROW(inner->Add(menu.Items()), EMenuError);
    EXPECT_EQ(inner->Count(), 0);
}

TEST_F(MenuItems, CommandsClickTheirItemOnlyWhenEnabled)
{
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    menu.Items()->Add(item);
    int clicks = 0;
    item->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    EXPECT_TRUE(menu.DispatchCommand(item->Command()));
    item->SetEnabled(false);
    EXPECT_TRUE(menu.DispatchCommand(item->Command()));
    EXPECT_FALSE(menu.DispatchCommand(0xFFFF));
    EXPECT_EQ(clicks, 1);
}

class MenuFormTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterMenuClasses();
        RegisterClass(TMenuTestForm::StaticClass());
        m_form = std::make_unique<TMenuTestForm>(nullptr);
        (void)ReadComponentText(MenuFormText, m_form.get());
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }

    void Keys(std::initializer_list<std::pair<unsigned, const char*>> keys)
    {
        for (const auto& [key, text] : keys)
            m_display->InjectKeyPress(Id(*m_form), key, text);
    }

    std::unique_ptr<TMenuTestForm> m_form;
};

TEST_F(MenuFormTest, ItemsNestInsideTheMenuAndWriteBackTheSameWay)
{
    ASSERT_NE(m_form->Popup1, nullptr);
    ASSERT_NE(m_form->Deep1, nullptr);
    EXPECT_EQ(m_form->Panel1->PopupMenu(), m_form->Popup1);
    EXPECT_EQ(m_form->Popup1->Items()->Count(), 3);
    EXPECT_EQ(m_form->Deep1->Parent(), m_form->More1);
    EXPECT_EQ(m_form->Open1->Owner(), m_form.get());
    EXPECT_EQ(m_form->Open1->GetParentComponent(), m_form->Popup1);
    EXPECT_EQ(m_form->Open1->ShortCut(), ShortCut('O', TShiftState{ssCtrl}));
    EXPECT_TRUE(m_form->Popup1->Items()->Items(1)->IsLine());

    const std::string written = WriteComponentText(m_form.get());
    const auto popup = written.find("object Popup1: TPopupMenu");
    const auto more = written.find("object More1: TMenuItem");
    const auto deep = written.find("object Deep1: TMenuItem");
    ASSERT_NE(popup, std::string::npos);
    EXPECT_LT(popup, more);
    EXPECT_LT(more, deep);
    EXPECT_EQ(written.find("object Deep1", deep + 1), std::string::npos) << "written once, inside its parent";
    EXPECT_EQ(written.find("Bitmap"), std::string::npos) << "empty glyphs are not written";

    TMenuTestForm copy(nullptr);
    (void)ReadComponentText(written, &copy);
    ASSERT_NE(copy.Deep1, nullptr);
    EXPECT_EQ(copy.Deep1->Parent(), copy.More1);
    EXPECT_EQ(copy.Popup1->Items()->Count(), 3);
}

TEST_F(MenuFormTest, RightClickPopsTheControlsMenuAndTheChoiceReachesOnClick)
{
    m_form->Show();
    Application->ProcessMessages();

    // The menu loop reads the keys queued behind the click: open "More", choose "Deep".
    m_display->InjectClick(Id(*m_form), InTopLevel(*m_form->Panel1, POINT{10, 10}), MouseButton::Right);
    Keys({{'M', "m"}, {'D', "d"}});
    ASSERT_TRUE(PumpUntil([&] { return m_form->Events.size() == 3; }));
    EXPECT_EQ(m_form->Events, (std::vector<std::string>{"popup Popup1", "click More1", "click Deep1"}))
        << "opening a submenu clicks its item";
    EXPECT_EQ(m_form->Popup1->PopupComponent(), m_form->Panel1);
    const TPoint expected = m_form->Panel1->ClientToScreen(TPoint{10, 10});
    EXPECT_EQ(m_form->Popup1->PopupPoint().x, expected.x);
    EXPECT_EQ(m_form->Popup1->PopupPoint().y, expected.y);
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(MenuFormTest, TheFormsMenuIsItsMenuBarDrivenByMouseAndKeys)
{
    TMenuTestForm form(nullptr);
    (void)ReadComponentText(MainMenuFormText, &form);
    ASSERT_NE(form.Menu(), nullptr);
    form.Show();
    Application->ProcessMessages();
    ASSERT_EQ(GetMenu(form.Handle()), form.Menu()->Handle());
    EXPECT_NE(WriteComponentText(&form).find("Menu = MainMenu1"), std::string::npos);

    // A click on "More" opens it (clicking its item), the keys choose "Deep"; then F10, Right
    // and Enter walk the bar from "File" to "More" and choose its first item again.
    RECT more{};
    ASSERT_TRUE(GetMenuItemRect(form.Handle(), GetMenu(form.Handle()), 1, &more));
    RECT frame{};
    (void)GetWindowRect(form.Handle(), &frame);
    m_display->InjectClick(Id(form), POINT{more.left + 4 - frame.left, more.top + 4 - frame.top});
    m_display->InjectKeyPress(Id(form), VK_DOWN);
    m_display->InjectKeyPress(Id(form), VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return form.Events.size() == 2; }));
    m_display->InjectKeyPress(Id(form), VK_F10);
    m_display->InjectKeyPress(Id(form), VK_RIGHT);
    m_display->InjectKeyPress(Id(form), VK_DOWN);
    m_display->InjectKeyPress(Id(form), VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return form.Events.size() == 4; }));
    EXPECT_EQ(form.Events, (std::vector<std::string>{"click More1", "click Deep1", "click More1", "click Deep1"}));

    form.SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(MenuFormTest, AControlWithoutAMenuUsesItsParentsAndAutoPopupOffOrHandledStopsIt)
{
    auto* graphic = new TTestGraphic(m_form.get());
    graphic->SetBounds(10, 10, 40, 30);
    graphic->SetParent(m_form->Panel1);
    m_form->Show();
    Application->ProcessMessages();

    m_display->InjectClick(Id(*m_form), InTopLevel(*graphic, POINT{5, 5}), MouseButton::Right);
    Keys({{VK_ESCAPE, ""}});
    ASSERT_TRUE(PumpUntil([&] { return m_form->Events.size() == 1; }));
    EXPECT_EQ(m_form->Popup1->PopupComponent(), m_form->Panel1) << "the control whose menu it is";

    m_form->Popup1->SetAutoPopup(false);
    m_display->InjectClick(Id(*m_form), InTopLevel(*m_form->Panel1, POINT{60, 60}), MouseButton::Right);
    Application->ProcessMessages();
    m_form->Popup1->SetAutoPopup(true);
    bool asked = false;
    m_form->Panel1->SetOnContextPopup(TContextPopupEvent::FromFunction([&](TObject*, TPoint, bool& handled) {
        asked = true;
        handled = true;
    }));
    m_display->InjectClick(Id(*m_form), InTopLevel(*m_form->Panel1, POINT{60, 60}), MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return asked; }));
    EXPECT_EQ(m_form->Events.size(), 1u) << "no further popup";
}

TEST_F(MenuItems, RadioGroupsKeepOneCheckedAndAutoCheckToggles)
{
    TPopupMenu menu(nullptr);
    std::vector<TMenuItem*> items;
    for (int group : {1, 1, 2}) {
        auto* item = new TMenuItem(&menu);
        item->SetRadioItem(true);
        item->SetGroupIndex(group);
        menu.Items()->Add(item);
        items.push_back(item);
    }
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    items[1]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked()) << "same group";
    EXPECT_TRUE(items[2]->Checked()) << "another group";
    EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_CHECKED, 0u);

    auto* toggle = new TMenuItem(&menu);
    toggle->SetAutoCheck(true);
    menu.Items()->Add(toggle);
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
}

TEST_F(MenuItems, AnItemsHandlerMayFreeItsMenu)
{
    auto* menu = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(menu);
    menu->Items()->Add(item);
    bool freed = false;
    item->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) {
        delete menu;
        freed = true;
    }));
    (void)PostMessageA(menu->Window(), WM_COMMAND, item->Command(), 0);
    ASSERT_TRUE(PumpUntil([&] { return freed; }));
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(MenuItems, AMainMenuIsTheWindowsMenuAndTakesItsCommands)
{
    TForm form(nullptr);
    TMainMenu menu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption("&File");
    auto* quit = new TMenuItem(&form);
    quit->SetCaption("E&xit");
    file->Add(quit);
    menu.Items()->Add(file);
    int clicks = 0;
    quit->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    menu.SetWindowHandle(form.Handle());
    EXPECT_EQ(GetMenu(form.Handle()), menu.Handle());
    EXPECT_EQ(GetSubMenu(menu.Handle(), 0), file->Handle());

    TMessage command{WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 0, 0};
    EXPECT_TRUE(menu.DispatchMenuMessage(command));
    EXPECT_EQ(clicks, 1);
    TMessage control{WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 1234, 0}; // from a control window
    EXPECT_FALSE(menu.DispatchMenuMessage(control)) << "a control's notification is not a menu command";
    EXPECT_EQ(clicks, 1);
}

// Owner drawing: an image list makes the items owner-drawn; the item's glyph and highlight are
// drawn by the class library.
TEST_F(MenuItems, ImagesMakeItemsOwnerDrawnWithTheirGlyph)
{
    TPopupMenu menu(nullptr);
    TImageList images(nullptr, 8, 8);
    TBitmap glyph;
    glyph.SetSize(8, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
    ASSERT_EQ(images.Add(&glyph, nullptr), 0);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("&Red");
    item->SetImageIndex(0);
    menu.Items()->Add(item);
    EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    menu.SetImages(&images);
    EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, MF_OWNERDRAW);

    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Command(), 0, 0, 0};
    TMessage message{WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), 0};
    ASSERT_TRUE(menu.DispatchMenuMessage(message));
    EXPECT_GE(measure.itemHeight, 12u);
    EXPECT_GT(measure.itemWidth, 8u + 20u);

    TBitmap target;
    target.SetSize(100, 20);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr,
                        target.Canvas()->Handle(), RECT{0, 0, 100, 20}, 0};
    message = TMessage{WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), 0};
    ASSERT_TRUE(menu.DispatchMenuMessage(message));
    EXPECT_EQ(target.Canvas()->Pixels(5, 10), clRed) << "the glyph";
    EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(98, 2)), ColorToRGB(clHighlight)) << "the selection bar";

    bool custom = false;
    item->SetOnDrawItem(TMenuDrawItemEvent::FromFunction([&](TObject*, TCanvas*, TRect, bool) { custom = true; }));
    ASSERT_TRUE(menu.DispatchMenuMessage(message));
    EXPECT_TRUE(custom);

    // A submenu's items take their glyphs from its SubMenuImages; an item without an image index
    // shows its Bitmap.
    TImageList blue(nullptr, 8, 8);
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
    (void)blue.Add(&glyph, nullptr);
    auto* sub = new TMenuItem(&menu);
    sub->SetImageIndex(0);
    auto* plain = new TMenuItem(&menu);
    plain->Bitmap()->Assign(&glyph);
    item->Add(sub);
    item->Add(plain);
    item->SetSubMenuImages(&blue);
    item->SetOnDrawItem({});
    const auto drawnPixel = [&](TMenuItem* drawn) {
        draw.itemID = drawn->Command();
        draw.itemState = 0;
        TMessage paint{WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), 0};
        EXPECT_TRUE(menu.DispatchMenuMessage(paint));
        return target.Canvas()->Pixels(5, 10);
    };
    EXPECT_EQ(drawnPixel(sub), clBlue);
    EXPECT_EQ(drawnPixel(item), clRed) << "the menu's images for the top level";
    item->SetSubMenuImages(nullptr);
    EXPECT_EQ(drawnPixel(sub), clRed);
    EXPECT_EQ(drawnPixel(plain), clBlue);

    menu.SetImages(nullptr);
    EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
}

TEST_F(MenuItems, AFreedImageListIsForgottenWithoutBeingTouched)
{
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetImageIndex(0);
    menu.Items()->Add(item);
    auto images = std::make_unique<TImageList>(nullptr, 8, 8);
    menu.SetImages(images.get());
    images.reset();
    EXPECT_EQ(menu.Images(), nullptr);
    EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
}

TEST_F(MenuItems, TheMenuLoopMeasuresAndDrawsOwnerDrawnItemsThroughThePopupsWindow)
{
    TForm form(nullptr);
    form.Show();
    TPopupMenu menu(&form);
    menu.SetOwnerDraw(true);
    menu.SetAlignment(paRight);
    std::vector<std::string> seen;
    RECT shown{};
    // Each key goes in once the menu shows the effect of the previous one: the first when it is
    // drawn at all, then when the item named is drawn selected.
    const std::vector<std::pair<std::string, unsigned>> script{{"", VK_DOWN}, {"One", VK_DOWN}, {"Two", VK_RETURN}};
    std::size_t step = 0;
    const auto nextKey = [&](const std::string& caption, bool selected) {
        if (step < script.size() && (step == 0 || (selected && caption == script[step].first)))
            m_display->InjectKeyPress(Id(form), script[step++].second);
    };
    for (const std::string caption : {"One", "Two"}) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        item->SetOnMeasureItem(
            TMenuMeasureItemEvent::FromFunction([&seen, caption](TObject*, TCanvas*, int&, int& height) {
                seen.push_back("measure " + caption);
                height = 30;
            }));
        item->SetOnDrawItem(
            TMenuDrawItemEvent::FromFunction([&, caption](TObject*, TCanvas*, TRect rect, bool selected) {
                if (selected)
                    seen.push_back("selected " + caption + " " + std::to_string(rect.bottom - rect.top));
                (void)GetMenuItemRect(nullptr, menu.Handle(), 0, &shown);
                nextKey(caption, selected);
            }));
        item->SetOnClick(
            TNotifyEvent::FromFunction([&seen, caption](TObject*) { seen.push_back("click " + caption); }));
        menu.Items()->Add(item);
    }
    menu.Popup(200, 200);
    ASSERT_TRUE(PumpUntil([&] { return !seen.empty() && seen.back() == "click Two"; }));
    EXPECT_NE(std::find(seen.begin(), seen.end(), "measure One"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "selected Two 30"), seen.end()) << "drawn at the measured height";
    EXPECT_LE(shown.right, 200) << "paRight puts the menu's right edge at the point";
    EXPECT_GE(shown.right, 190);
    EXPECT_EQ(shown.top, 200 + 3) << "below the menu's frame";
}

} // namespace
