#include "tools/gallery/GalleryMenu.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The captions of the View drop-down's checked items.
std::vector<std::string> MarkedPages(TForm& form)
{
    TMenuItem* view = form.Menu()->Items()->Items(1);
    std::vector<std::string> marked;
    for (int i = 0; i < view->Count(); ++i)
        if (view->Items(i)->Checked() && view->Items(i)->RadioItem())
            marked.push_back(view->Items(i)->Caption());
    return marked;
}

TEST(GalleryMenuTest, TheViewMenuMarksTheShownPage)
{
    (void)SelectHeadlessDisplay();
    const struct {
        GalleryPage page;
        const char* caption;
    } cases[] = {{GalleryPage::Standard, "&Standard controls"},
                 {GalleryPage::Controls, "&Product controls"},
                 {GalleryPage::Tabs, "&Tabs"},
                 {GalleryPage::GridTools, "&Grid tools"}};
    for (const auto& c : cases) {
        TForm form(nullptr);
        AddGalleryMenu(form, c.page, false);
        EXPECT_EQ(MarkedPages(form), std::vector<std::string>{c.caption});
    }
}

} // namespace
