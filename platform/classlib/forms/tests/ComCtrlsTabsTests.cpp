#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/controls/TabControl.h"

#include <memory>

namespace {

class TTestPagesForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestPagesForm(TComponent* owner) : TForm(owner) {}

    TPageControl* Pages = nullptr;
    TTabSheet* SheetA = nullptr;
    TTabSheet* SheetB = nullptr;
    TTabSheet* SheetC = nullptr;
    TImageList* Icons = nullptr;
    int Changes = 0;
    void PagesChange(TObject*) { ++Changes; }
};

void DescribePagesForm(TClassBuilder& c)
{
    c.Field("Pages", &TTestPagesForm::Pages);
    c.Field("SheetA", &TTestPagesForm::SheetA);
    c.Field("SheetB", &TTestPagesForm::SheetB);
    c.Field("SheetC", &TTestPagesForm::SheetC);
    c.Field("Icons", &TTestPagesForm::Icons);
    c.Method("PagesChange", &TTestPagesForm::PagesChange);
}

const char* PagesFormText()
{
    return R"(object TestPagesForm: TTestPagesForm
  Left = 20
  Top = 20
  ClientWidth = 320
  ClientHeight = 240
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 220
    ActivePage = SheetB
    Images = Icons
    OnChange = PagesChange
    object SheetA: TTabSheet
      Caption = 'Phone book'
      ImageIndex = 0
    end
    object SheetB: TTabSheet
      Caption = 'Calls'
    end
    object SheetC: TTabSheet
      Caption = 'Settings'
      TabVisible = False
    end
  end
  object Icons: TImageList
  end
end
)";
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTestPagesForm, TForm, ComponentCreator<TTestPagesForm>, DescribePagesForm)

namespace {

class PageControlTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterClasses({TPageControl::StaticClass(), TTabSheet::StaticClass(), TImageList::StaticClass(),
                         TTestPagesForm::StaticClass()});
        RegisterFormText(TTestPagesForm::StaticClass(), PagesFormText());
        m_form.reset(static_cast<TTestPagesForm*>(TCustomForm::Create(TTestPagesForm::StaticClass(), nullptr)));
        m_form->Show();
        Application->ProcessMessages();
    }

    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }

    void ClickTab(int index)
    {
        RECT rect{};
        ASSERT_TRUE(SendMessageA(m_form->Pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(&rect)));
        m_display->InjectClick(Id(*m_form), InTopLevel(*m_form->Pages, {rect.left + 5, rect.top + 5}));
        Application->ProcessMessages();
    }

    // How many pixels of the tab show `color`.
    [[nodiscard]] int TabPixels(int index, TColor color) const
    {
        RECT rect{};
        (void)SendMessageA(m_form->Pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&rect));
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += Shown(*m_form->Pages, {x, y}) == Rgb(color) ? 1 : 0;
        return count;
    }

    [[nodiscard]] int TabCount() const
    {
        return static_cast<int>(SendMessageA(m_form->Pages->Handle(), TCM_GETITEMCOUNT, 0, 0));
    }

    std::unique_ptr<TTestPagesForm> m_form;
};

TEST_F(PageControlTest, FormDataMakesTheSheetsPagesAndShowsOnlyTheActiveOne)
{
    TPageControl& pages = *m_form->Pages;
    ASSERT_EQ(pages.PageCount(), 3);
    EXPECT_EQ(pages.Pages(0), m_form->SheetA);
    EXPECT_EQ(m_form->SheetC->PageIndex(), 2);
    EXPECT_EQ(pages.ActivePage(), m_form->SheetB);
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    EXPECT_TRUE(m_form->SheetB->Showing());
    EXPECT_FALSE(m_form->SheetA->Showing());
    // The hidden tab is not among the window's tabs; the sheet fills the display area.
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETCURSEL, 0, 0), 1);
    const TRect display = pages.DisplayRect();
    EXPECT_EQ(m_form->SheetB->BoundsRect().top, display.top);
    EXPECT_EQ(m_form->SheetB->BoundsRect().right, display.right);
    EXPECT_EQ(m_form->Changes, 0);
}

TEST_F(PageControlTest, SettingThePageInCodeDoesNotFireOnChangeButAClickDoes)
{
    TPageControl& pages = *m_form->Pages;
    pages.SetActivePage(m_form->SheetA);
    EXPECT_EQ(m_form->Changes, 0);
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(m_form->SheetA->Showing());
    EXPECT_FALSE(m_form->SheetB->Showing());

    ClickTab(1);
    EXPECT_EQ(pages.ActivePage(), m_form->SheetB);
    EXPECT_EQ(m_form->Changes, 1);

    bool allow = false;
    pages.SetOnChanging(TTabChangingEvent::FromFunction([&](TObject*, bool& allowChange) { allowChange = allow; }));
    ClickTab(0);
    EXPECT_EQ(pages.ActivePage(), m_form->SheetB);
    EXPECT_EQ(m_form->Changes, 1);
}

TEST_F(PageControlTest, CtrlTabTurnsToTheNextPageWithATab)
{
    m_form->Pages->SetFocus();
    Application->ProcessMessages();
    const WindowId id = Id(*m_form);
    m_display->InjectKey(id, VK_CONTROL, true);
    m_display->InjectKeyPress(id, VK_TAB, {}, ModControl);
    Application->ProcessMessages();
    // SheetC has no tab: from the last page with one the turn wraps to the first.
    EXPECT_EQ(m_form->Pages->ActivePage(), m_form->SheetA);
    EXPECT_EQ(m_form->Changes, 1);
    m_display->InjectKey(id, VK_CONTROL, false, {}, ModControl);
    Application->ProcessMessages();
}

TEST_F(PageControlTest, SheetImagesComeFromTheImageListAndFollowItUntilItIsFreed)
{
    TPageControl& pages = *m_form->Pages;
    EXPECT_EQ(pages.Images(), m_form->Icons);
    TBitmap image;
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(clRed);
    image.Canvas()->FillRect(Rect(0, 0, 16, 16));
    ASSERT_EQ(m_form->Icons->AddMasked(&image, clFuchsia), 0);
    Application->ProcessMessages();
    EXPECT_GT(TabPixels(0, clRed), 100) << "SheetA shows image 0";
    EXPECT_EQ(TabPixels(1, clRed), 0) << "SheetB has no image";

    // A new size is a new list handle: the window must be given it, not keep the freed one.
    m_form->Icons->SetSize(8, 8);
    image.SetSize(8, 8);
    image.Canvas()->Brush()->SetColor(clBlue);
    image.Canvas()->FillRect(Rect(0, 0, 8, 8));
    (void)m_form->Icons->AddMasked(&image, clFuchsia);
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(m_form->Icons->Handle()));
    EXPECT_EQ(TabPixels(0, clRed), 0);
    EXPECT_EQ(TabPixels(0, clBlue), 64);

    delete m_form->Icons;
    m_form->Icons = nullptr;
    EXPECT_EQ(pages.Images(), nullptr);
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETIMAGELIST, 0, 0), 0);
    pages.Invalidate();
    Application->ProcessMessages();
    EXPECT_EQ(TabPixels(0, clBlue), 0);
}

TEST_F(PageControlTest, TabVisibleAddsAndRemovesTheTabAndMovesOffAHiddenActivePage)
{
    TPageControl& pages = *m_form->Pages;
    m_form->SheetC->SetTabVisible(true);
    EXPECT_EQ(TabCount(), 3);
    m_form->SheetB->SetTabVisible(false);
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(pages.ActivePage(), m_form->SheetC);
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(m_form->Changes, 0);

    m_form->SheetA->SetCaption("Contacts");
    char text[40] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    (void)SendMessageA(pages.Handle(), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Contacts");

    delete m_form->SheetC;
    m_form->SheetC = nullptr;
    EXPECT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(pages.ActivePage(), m_form->SheetA);
}

class TabControlTest : public ControlsFixture {};

TEST_F(TabControlTest, TabsFollowTheListAndTabIndexSetInCodeFiresNothing)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* tabs = new TTabControl(&form);
    tabs->SetParent(&form);
    int changes = 0;
    tabs->SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    tabs->Tabs()->Add("One");
    tabs->Tabs()->Add("Two");
    tabs->SetTabIndex(1);
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(tabs->TabIndex(), 1);
    tabs->Tabs()->Delete(1);
    EXPECT_EQ(tabs->TabIndex(), -1);
    EXPECT_EQ(changes, 0);

    tabs->SetTabHeight(30);
    EXPECT_EQ(tabs->DisplayRect().top, 2 + 30 + 4);
}

} // namespace
