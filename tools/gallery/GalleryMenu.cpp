#include "tools/gallery/GalleryMenu.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"

#include <string>

namespace {

// Long enough for the form to have shown and been skinned: the timer waits behind its painting.
constexpr unsigned OPEN_DELAY_MS = 200;

TMenuItem* AddItem(TForm& form, TMenuItem* parent, const std::string& caption)
{
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

// One radio item a page, the shown page's checked.
void AddViewItems(TForm& form, TMenuItem* view, GalleryPage shown)
{
    const struct {
        GalleryPage page;
        const char* caption;
    } pages[] = {{GalleryPage::Standard, "&Standard controls"},
                 {GalleryPage::Controls, "&Product controls"},
                 {GalleryPage::Tabs, "&Tabs"},
                 {GalleryPage::GridTools, "&Grid tools"}};
    for (const auto& entry : pages) {
        TMenuItem* item = AddItem(form, view, entry.caption);
        item->SetRadioItem(true);
        item->SetChecked(entry.page == shown);
    }
}

} // namespace

void AddGalleryMenu(TForm& form, GalleryPage shown, bool open)
{
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = AddItem(form, menu->Items(), "&File");
    AddItem(form, file, "&Open...")->SetShortCut(TextToShortCut("Ctrl+O"));
    AddItem(form, file, "&Save")->SetEnabled(false);
    AddItem(form, file, cLineCaption);
    AddItem(form, file, "Show &grid")->SetChecked(true);
    AddItem(form, file, cLineCaption);
    AddItem(form, file, "E&xit")->SetDefault(true);
    TMenuItem* view = AddItem(form, menu->Items(), "&View");
    AddViewItems(form, view, shown);
    TMenuItem* help = AddItem(form, menu->Items(), "&Help");
    AddItem(form, help, "&About");
    // The window grows by the bar: the controls keep all the room they were laid out in.
    const int clientHeight = form.ClientHeight();
    form.SetMenu(menu);
    form.SetClientHeight(clientHeight);
    if (!open)
        return;
    auto* timer = new TTimer(&form);
    timer->SetInterval(OPEN_DELAY_MS);
    timer->SetOnTimer(TNotifyEvent::FromFunction([timer, &form](TObject*) {
        timer->SetEnabled(false);
        // As F10 does: the keyboard enters the menu bar, which opens its first drop-down.
        (void)PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    }));
}
