#include "ControlsTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/ListBox.h"

namespace {

class ComboBoxTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.SetBounds(40, 40, 320, 240);
        m_combo = new TComboBox(&m_form);
        m_combo->SetBounds(10, 10, 150, 21);
        m_combo->SetParent(&m_form);
        const auto note = [this](const char* what) {
            return TNotifyEvent::FromFunction([this, what](TObject*) { m_events.emplace_back(what); });
        };
        m_combo->SetOnClick(note("click"));
        m_combo->SetOnChange(note("change"));
        m_combo->SetOnDropDown(note("dropdown"));
        m_combo->SetOnCloseUp(note("closeup"));
    }

    void ShowForm()
    {
        m_form.Show();
        Application->ProcessMessages();
    }

    // A click at a client point of a window of this program (the pop-up list included).
    void ClickWindow(HWND window, POINT client)
    {
        (void)ClientToScreen(window, &client);
        const HWND top = GetAncestor(window, GA_ROOT);
        RECT rect{};
        (void)GetWindowRect(top, &rect);
        m_display->InjectClick(reinterpret_cast<WindowId>(top), POINT{client.x - rect.left, client.y - rect.top});
        Application->ProcessMessages();
    }

    void PickFromList(int index)
    {
        const HWND list = m_combo->ListHandle();
        RECT item{};
        (void)SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        ClickWindow(list, POINT{item.left + 10, (item.top + item.bottom) / 2});
    }

    TForm m_form{nullptr};
    TComboBox* m_combo = nullptr;
    std::vector<std::string> m_events;
};

TEST_F(ComboBoxTest, PickingFromTheDroppedListIsAClickAndAChange)
{
    m_combo->SetStyle(csDropDownList);
    m_combo->Items()->SetCommaText("COM1,COM2,COM3");
    ShowForm();
    EXPECT_EQ(m_combo->EditHandle(), nullptr);
    ClickWindow(m_combo->Handle(), POINT{20, 8});
    ASSERT_TRUE(m_combo->DroppedDown());
    EXPECT_TRUE(m_combo->Focused());
    PickFromList(2);
    EXPECT_FALSE(m_combo->DroppedDown());
    EXPECT_EQ(m_combo->ItemIndex(), 2);
    EXPECT_EQ(m_combo->Text(), "COM3");
    EXPECT_EQ(m_events, (std::vector<std::string>{"dropdown", "closeup", "click", "change"}));

    m_events.clear();
    int selects = 0;
    m_combo->SetOnSelect(TNotifyEvent::FromFunction([&](TObject*) { ++selects; }));
    m_display->InjectKeyPress(Id(m_form), VK_UP);
    Application->ProcessMessages();
    EXPECT_EQ(m_combo->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(m_events, (std::vector<std::string>{"click"})) << "OnSelect takes the place of OnChange";
}

TEST_F(ComboBoxTest, ItemsAndSelectionReadBeforeTheWindowApplyToIt)
{
    m_combo->SetStyle(csDropDownList);
    m_combo->SetSorted(true);
    m_combo->SetItemIndex(0);
    m_combo->Items()->SetCommaText("Tula,Omsk,Perm");
    m_combo->SetDropDownCount(2);
    ShowForm();
    EXPECT_EQ(m_combo->Items()->CommaText(), "Omsk,Perm,Tula");
    EXPECT_EQ(m_combo->Text(), "Omsk");
    m_combo->SetDroppedDown(true);
    RECT list{};
    (void)GetWindowRect(m_combo->ListHandle(), &list);
    EXPECT_EQ(list.bottom - list.top, 2 * static_cast<int>(SendMessageA(m_combo->ListHandle(), LB_GETITEMHEIGHT, 0, 0)) + 2)
        << "DropDownCount items show";
    m_combo->SetDroppedDown(false);
    m_combo->SetStyle(csOwnerDrawFixed);
    EXPECT_EQ(m_combo->ItemIndex(), 0) << "a new style keeps the items and the selection";
    EXPECT_EQ(m_combo->Items()->Count(), 3);
}

TEST_F(ComboBoxTest, FormDataDescribesTheComboBox)
{
    m_combo->SetStyle(csDropDownList);
    RegisterClasses({TComboBox::StaticClass()});
    ReadComponentText("object Form: TForm\n"
                      "  object PBG: TComboBox\n"
                      "    Style = csDropDownList\n"
                      "    DropDownCount = 4\n"
                      "    ItemIndex = 1\n"
                      "    Items.Strings = (\n"
                      "      'Never'\n"
                      "      'Always')\n"
                      "  end\n"
                      "end\n",
                      &m_form);
    auto* combo = dynamic_cast<TComboBox*>(m_form.FindComponent("PBG"));
    ASSERT_NE(combo, nullptr);
    combo->SetParent(&m_form);
    ShowForm();
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->DropDownCount(), 4);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Always");
}

TEST_F(ComboBoxTest, TheFieldAndTheListPaintInTheComboColour)
{
    m_combo->SetStyle(csDropDownList);
    m_combo->SetColor(clAqua);
    m_combo->Items()->SetCommaText("a,b,c");
    m_combo->SetTabStop(false); // unfocused: a focused field shows the highlight instead
    ShowForm();
    EXPECT_TRUE(PumpUntil([&] { return Shown(*m_combo, POINT{60, 6}) == Rgb(clAqua); }));
    m_combo->SetDroppedDown(true);
    const HWND list = m_combo->ListHandle();
    (void)UpdateWindow(list);
    RECT client{};
    (void)GetClientRect(list, &client);
    const auto pixel = m_display->WindowPixel(reinterpret_cast<WindowId>(list), client.right - 5, client.bottom - 3);
    ASSERT_TRUE(pixel.has_value());
    EXPECT_EQ(*pixel & 0xFFFFFF, Rgb(clAqua));
    m_combo->SetDroppedDown(false);
}

TEST_F(ComboBoxTest, OwnerDrawnFieldIsDrawnOnTheCanvas)
{
    m_combo->SetStyle(csOwnerDrawFixed);
    m_combo->SetItemHeight(18);
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    m_combo->SetOnDrawItem(TDrawItemEvent::FromFunction(
        [&](TWinControl*, int index, TRect, TOwnerDrawState state) { drawn.emplace_back(index, state); }));
    m_combo->Items()->SetCommaText("a,b");
    m_combo->SetItemIndex(1);
    ShowForm();
    drawn.clear();
    (void)InvalidateRect(m_combo->Handle(), nullptr, TRUE);
    (void)UpdateWindow(m_combo->Handle());
    ASSERT_EQ(drawn.size(), 1U);
    EXPECT_EQ(drawn[0].first, 1);
    EXPECT_TRUE(drawn[0].second.Contains(odComboBoxEdit));
    EXPECT_EQ(SendMessageA(m_combo->ListHandle(), LB_GETITEMHEIGHT, 0, 0), 18);
    EXPECT_EQ(m_combo->Height(), 18 + 6) << "the field's height sets the combo's";
}

TEST_F(ComboBoxTest, KeysTypedIntoTheEditReachTheComboBoxEvents)
{
    m_combo->SetStyle(csSimple);
    m_combo->SetBounds(10, 10, 150, 100);
    m_combo->Items()->SetCommaText("1,2");
    std::string pressed;
    m_combo->SetOnKeyPress(TKeyPressEvent::FromFunction([&](TObject*, char& key) {
        pressed += key;
        if (key == 'x')
            key = 0;
    }));
    ShowForm();
    ASSERT_NE(m_combo->EditHandle(), nullptr);
    m_combo->SetFocus();
    EXPECT_EQ(GetFocus(), m_combo->EditHandle());
    EXPECT_EQ(m_form.ActiveControl(), m_combo);
    m_display->InjectText(Id(m_form), "7x8");
    Application->ProcessMessages();
    EXPECT_EQ(pressed, "7x8");
    EXPECT_EQ(m_combo->Text(), "78") << "a key the handler cleared is not typed";
    EXPECT_EQ(std::count(m_events.begin(), m_events.end(), "change"), 2);
}

// A right click on a simple combo's edit or list asks the combo box for its context menu, at the
// point clicked.
TEST_F(ComboBoxTest, ARightClickOnASimpleCombosPartsAsksForTheContextMenu)
{
    m_combo->SetStyle(csSimple);
    m_combo->SetBounds(10, 10, 150, 100);
    m_combo->Items()->SetCommaText("1,2");
    std::vector<TPoint> asked;
    m_combo->SetOnContextPopup(TContextPopupEvent::FromFunction([&](TObject*, TPoint point, bool& handled) {
        asked.push_back(point);
        handled = true;
    }));
    ShowForm();
    for (const HWND part : {m_combo->EditHandle(), m_combo->ListHandle()}) {
        POINT client{5, 5};
        (void)ClientToScreen(part, &client);
        RECT rect{};
        (void)GetWindowRect(m_form.Handle(), &rect);
        m_display->InjectClick(Id(m_form), POINT{client.x - rect.left, client.y - rect.top}, MouseButton::Right);
        Application->ProcessMessages();
    }
    ASSERT_EQ(asked.size(), 2u);
    POINT inList{5, 5};
    (void)MapWindowPoints(m_combo->ListHandle(), m_combo->Handle(), &inList, 1);
    EXPECT_EQ(asked[1].x, inList.x);
    EXPECT_EQ(asked[1].y, inList.y);
}

TEST_F(ComboBoxTest, CharCaseAppliesToTheEdit)
{
    m_combo->Items()->SetCommaText("Moscow,Omsk");
    m_combo->SetCharCase(ecUpperCase);
    ShowForm();
    m_combo->SetFocus();
    m_display->InjectText(Id(m_form), "tver");
    Application->ProcessMessages();
    EXPECT_EQ(m_combo->Text(), "TVER");
}

} // namespace
