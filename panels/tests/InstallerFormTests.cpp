// The installer's window as form data: built from the controls it names, written as form text and
// read back into a fresh form, every control and the properties the installer relies on must come
// back. Its page control does not exist yet: a panel stands in for it and for each of its two
// tab-less sheets (see InstallerForm below) until it lands.

#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvFrameController.h"
#include "controls/KvLEDDisplay.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "panels/KvPanel.h"
#include "panels/KvPanelLibrary.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StandardClasses.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// A named component of `owner`, placed on `parent` at the given bounds.
template <class T>
T* Place(TForm& owner, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(&owner);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

// A panel standing in for the page control or one of its sheets: no frame, no caption.
TKvPanel* StandIn(TForm& owner, TWinControl* parent, const char* name, TAlign align)
{
    auto* panel = Place<TKvPanel>(owner, parent, name, 0, 0, 527, 231);
    panel->SetBorderOuter(fsNone);
    panel->SetCaption("");
    panel->SetAlign(align);
    return panel;
}

// The four 16-pixel glyphs of ImgLogo (browse and help, next, cancel, finish), one colour each.
TImageList* ImgLogo(TForm& owner)
{
    auto* list = new TImageList(&owner);
    list->SetName("ImgLogo");
    for (TColor colour : {clBlue, clGreen, clRed, clTeal}) {
        TBitmap glyph;
        glyph.SetSize(16, 16);
        glyph.Canvas()->Brush()->SetColor(colour);
        glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
        (void)list->AddMasked(&glyph, clFuchsia);
    }
    return list;
}

struct ButtonRow {
    const char* name;
    int left, top, width, height;
    const char* caption;
    int imageIndex;
    int tabOrder;
};

void AddButtons(TForm& owner, TWinControl* sheet, TImageList* images, std::initializer_list<ButtonRow> rows)
{
    for (const ButtonRow& row : rows) {
        auto* button = Place<TKvBitBtn>(owner, sheet, row.name, row.left, row.top, row.width, row.height);
        button->SetCaption(row.caption);
        button->SetImages(images);
        button->SetImageIndex(row.imageIndex);
        button->SetTabOrder(row.tabOrder);
        button->SetColor(clMoneyGreen);
        button->SetHotTrack(true);
    }
}

void AddFolderPage(TForm& owner, TWinControl* path, TImageList* images)
{
    auto* label = Place<TLabel>(owner, path, "Label1", 56, 34, 97, 13);
    // Sized again once AutoSize is off: it fitted the empty caption when placed.
    label->SetAutoSize(false);
    label->SetBounds(56, 34, 97, 13);
    label->SetCaption("Install To:");
    label->Font()->SetName("Arial");
    label->Font()->SetHeight(-13);
    label->SetColor(clWindow);

    auto* edit = Place<TKvEdit>(owner, path, "EPath", 56, 56, 313, 21);
    edit->SetText("C:\\Program Files\\Norra");
    edit->SetReadOnly(true);
    edit->SetColor(clWhite);
    edit->SetFocusColor(clGreen);
    edit->SetReadOnlyColor(clWhite);
    edit->SetReadOnlyColorOnFocus(true);
    edit->SetTabOrder(0);

    AddButtons(owner, path, images,
               {{"BBrowse", 384, 51, 81, 27, "&Browse", 0, 1},
                {"BNext", 136, 112, 89, 41, "&Next", 1, 2},
                {"BCancel", 288, 111, 89, 41, "&Cancel", 2, 3}});
    for (const char* name : {"BBrowse", "BNext", "BCancel"})
        static_cast<TKvBitBtn*>(owner.FindComponent(name))->SetTextStyle(tsRaised);
}

void AddProgressPage(TForm& owner, TWinControl* wait, TImageList* images)
{
    Place<TKvLEDDisplay>(owner, wait, "LED", 72, 31, 385, 23)->SetScrollDelay(50);

    auto* progress = new TKvProgressBar(&owner);
    progress->SetName("Progress");
    progress->SetBounds(72, 56, 385, progress->Height());
    progress->SetParent(wait);
    progress->SetBarStyle(bsGradient);
    progress->SetBarColor(clGradientActiveCaption);
    progress->SetBarColorStop(clDefault);
    progress->SetBackColorStop(clMedGray);
    progress->SetBorderWidth(0);
    progress->SetInteriorOffset(0);
    progress->SetShowPercent(false);
    progress->Font()->SetColor(clGradientActiveCaption);

    auto* os = Place<TKvLabel>(owner, wait, "LOS", 72, 88, 385, 13);
    os->SetAutoSize(false);
    os->SetBounds(72, 88, 385, 13);
    os->SetCaption("Current Windows System is Vista,please install drivers manually.");
    os->SetVisible(false);

    auto* run = Place<TKvCheckBox>(owner, wait, "Run", 177, 112, 265, 17);
    run->SetCaption("&Run client software immediately");
    run->SetTabOrder(1);

    AddButtons(owner, wait, images,
               {{"BFinish", 85, 144, 97, 41, "&Finish", 3, 2},
                {"BHelp", 218, 144, 97, 41, "&Help", 0, 3},
                {"PCancel", 349, 144, 97, 41, "&Cancel", 2, 0}});
    static_cast<TKvBitBtn*>(owner.FindComponent("BFinish"))->SetEnabled(false);
}

void AddTimer(TForm& owner, const char* name, unsigned interval)
{
    auto* timer = new TTimer(&owner);
    timer->SetName(name);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
}

// The installer's window, FMain, as its form data describes it (its handlers come with its own
// form class, so the events are left out here).
std::unique_ptr<TForm> InstallerForm()
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("FMain");
    form->SetBounds(0, 0, 535, 324);
    form->SetCaption("Norra Installer");
    form->SetColor(clNavy);
    form->SetPosition(poDesktopCenter);
    form->SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize});
    form->Font()->SetName("MS Sans Serif");
    form->Font()->SetHeight(-11);
    TImageList* images = ImgLogo(*form);

    // Stand-ins until the page control lands: PageMain for the page control (alBottom, Top 59,
    // 527 x 231), Path and Wait for its two sheets, which show no tab; only code changes the page.
    TKvPanel* pages = StandIn(*form, form.get(), "PageMain", alBottom);
    pages->SetBounds(0, 59, 527, 231);
    TKvPanel* path = StandIn(*form, pages, "Path", alClient);
    TKvPanel* wait = StandIn(*form, pages, "Wait", alClient);
    for (TKvPanel* sheet : {path, wait})
        sheet->SetColor(clWhite);
    wait->SetVisible(false);

    AddFolderPage(*form, path, images);
    AddProgressPage(*form, wait, images);
    AddTimer(*form, "Timer1", 100);
    AddTimer(*form, "Timer2", 60000);
    return form;
}

class InstallerFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        RegisterStandardClasses();
        RegisterPanelLibraryClasses();
    }

    // The written form read into a fresh one.
    static std::unique_ptr<TForm> ReadBack(const std::string& text)
    {
        auto copy = std::make_unique<TForm>(nullptr);
        (void)ReadComponentText(text, copy.get());
        return copy;
    }

    template <class T>
    static T& Find(TForm& form, const char* name)
    {
        auto* found = dynamic_cast<T*>(form.FindComponent(name));
        if (!found)
            throw std::runtime_error(std::string("no ") + name + " of the expected class");
        return *found;
    }
};

TEST_F(InstallerFormTest, TheWindowAndItsPagesSurviveTheRoundTrip)
{
    const std::string text = WriteComponentText(InstallerForm().get());
    const auto form = ReadBack(text);
    EXPECT_EQ(form->Name(), "FMain");
    EXPECT_EQ(form->Caption(), "Norra Installer");
    EXPECT_EQ(form->Color(), clNavy);
    EXPECT_EQ(form->Width(), 535);
    EXPECT_EQ(form->Height(), 324);
    EXPECT_EQ(form->Position(), poDesktopCenter);
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);

    auto& pages = Find<TKvPanel>(*form, "PageMain");
    EXPECT_EQ(pages.Align(), alBottom);
    EXPECT_EQ(pages.Height(), 231);
    auto& path = Find<TKvPanel>(*form, "Path");
    auto& wait = Find<TKvPanel>(*form, "Wait");
    for (TKvPanel* sheet : {&path, &wait}) {
        EXPECT_EQ(sheet->Parent(), &pages) << sheet->Name();
        EXPECT_EQ(sheet->Color(), clWhite) << sheet->Name();
    }
    EXPECT_TRUE(path.Visible());
    EXPECT_FALSE(wait.Visible());

    EXPECT_EQ(Find<TImageList>(*form, "ImgLogo").Count(), 4);
    for (const auto& [name, interval] : {std::pair{"Timer1", 100u}, std::pair{"Timer2", 60000u}}) {
        auto& timer = Find<TTimer>(*form, name);
        EXPECT_EQ(timer.Interval(), interval) << name;
        EXPECT_FALSE(timer.Enabled()) << name;
    }
    // What is read back writes the same text again.
    EXPECT_EQ(WriteComponentText(form.get()), text);
}

TEST_F(InstallerFormTest, TheFolderPageKeepsItsEditLabelAndButtons)
{
    const auto form = ReadBack(WriteComponentText(InstallerForm().get()));
    auto& path = Find<TKvPanel>(*form, "Path");

    auto& label = Find<TLabel>(*form, "Label1");
    EXPECT_EQ(label.Parent(), &path);
    EXPECT_EQ(label.Caption(), "Install To:");
    EXPECT_FALSE(label.AutoSize());
    EXPECT_EQ(label.Width(), 97);
    EXPECT_EQ(label.Font()->Name(), "Arial");
    EXPECT_EQ(label.Font()->Height(), -13);

    auto& edit = Find<TKvEdit>(*form, "EPath");
    EXPECT_EQ(edit.Parent(), &path);
    EXPECT_EQ(edit.Text(), "C:\\Program Files\\Norra");
    EXPECT_TRUE(edit.ReadOnly());
    EXPECT_EQ(edit.FocusColor(), clGreen);
    EXPECT_EQ(edit.ReadOnlyColor(), clWhite);
    EXPECT_TRUE(edit.ReadOnlyColorOnFocus());
    EXPECT_EQ(edit.Color(), clWhite);
    EXPECT_EQ(edit.TabOrder(), 0);
    EXPECT_EQ(edit.Width(), 313);
}

TEST_F(InstallerFormTest, EveryButtonKeepsItsCaptionImageAndLook)
{
    const auto form = ReadBack(WriteComponentText(InstallerForm().get()));
    auto& images = Find<TImageList>(*form, "ImgLogo");
    const struct {
        const char* name;
        const char* sheet;
        const char* caption;
        int imageIndex, tabOrder;
        bool enabled;
        TTextStyle textStyle;
    } buttons[] = {{"BBrowse", "Path", "&Browse", 0, 1, true, tsRaised},
                   {"BNext", "Path", "&Next", 1, 2, true, tsRaised},
                   {"BCancel", "Path", "&Cancel", 2, 3, true, tsRaised},
                   {"BFinish", "Wait", "&Finish", 3, 2, false, tsNormal},
                   {"BHelp", "Wait", "&Help", 0, 3, true, tsNormal},
                   {"PCancel", "Wait", "&Cancel", 2, 0, true, tsNormal}};
    for (const auto& expected : buttons) {
        SCOPED_TRACE(expected.name);
        auto& button = Find<TKvBitBtn>(*form, expected.name);
        EXPECT_EQ(button.Parent(), form->FindComponent(expected.sheet));
        EXPECT_EQ(button.Caption(), expected.caption);
        EXPECT_EQ(button.Images(), &images);
        EXPECT_EQ(button.ImageIndex(), expected.imageIndex);
        EXPECT_EQ(button.TabOrder(), expected.tabOrder);
        EXPECT_EQ(button.Enabled(), expected.enabled);
        EXPECT_EQ(button.TextStyle(), expected.textStyle);
        EXPECT_EQ(button.Color(), clMoneyGreen);
        EXPECT_TRUE(button.HotTrack());
        EXPECT_EQ(button.Kind(), bkCustom);
    }
}

TEST_F(InstallerFormTest, TheProgressPageKeepsItsDisplayBarLabelAndCheckBox)
{
    const auto form = ReadBack(WriteComponentText(InstallerForm().get()));
    auto& wait = Find<TKvPanel>(*form, "Wait");

    auto& led = Find<TKvLEDDisplay>(*form, "LED");
    EXPECT_EQ(led.Parent(), &wait);
    EXPECT_EQ(led.ScrollDelay(), 50);
    EXPECT_FALSE(led.Scrolling());
    EXPECT_EQ(led.Width(), 385);

    auto& progress = Find<TKvProgressBar>(*form, "Progress");
    EXPECT_EQ(progress.Parent(), &wait);
    EXPECT_EQ(progress.BarStyle(), bsGradient);
    EXPECT_EQ(progress.BarColor(), clGradientActiveCaption);
    EXPECT_EQ(progress.BarColorStop(), clDefault);
    EXPECT_EQ(progress.BackColorStop(), clMedGray);
    EXPECT_EQ(progress.BorderWidth(), 0);
    EXPECT_EQ(progress.InteriorOffset(), 0);
    EXPECT_FALSE(progress.ShowPercent());
    EXPECT_EQ(progress.Percent(), 0);
    EXPECT_EQ(progress.TotalParts(), 0u);
    EXPECT_EQ(progress.Font()->Color(), clGradientActiveCaption);

    auto& os = Find<TKvLabel>(*form, "LOS");
    EXPECT_EQ(os.Parent(), &wait);
    EXPECT_EQ(os.Caption(), "Current Windows System is Vista,please install drivers manually.");
    EXPECT_FALSE(os.AutoSize());
    EXPECT_EQ(os.Width(), 385);
    EXPECT_FALSE(os.Visible());

    auto& run = Find<TKvCheckBox>(*form, "Run");
    EXPECT_EQ(run.Parent(), &wait);
    EXPECT_EQ(run.Caption(), "&Run client software immediately");
    EXPECT_EQ(run.State(), cbUnchecked);
    EXPECT_EQ(run.TabOrder(), 1);
}

} // namespace
