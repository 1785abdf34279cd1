#include "grid/core/EditButtonsGx.h"

#include "platform/classlib/forms/Forms.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(EditButtons, ButtonDescriptionsKeepTheirValuesInRange)
{
    SelectHeadlessDisplay();
    TForm form(nullptr);
    TEditButtonGx plain(static_cast<TWinControl*>(&form));
    EXPECT_FALSE(plain.Visible());
    EXPECT_EQ(plain.ShortCut(), scNone);
    TVisibleEditButtonGx visible(static_cast<TWinControl*>(&form));
    EXPECT_TRUE(visible.Visible());
    EXPECT_EQ(visible.ShortCut(), scAlt | VK_DOWN);

    int changes = 0;
    plain.SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    for (const auto& [given, kept] : std::vector<std::pair<int, int>>{{0, 1}, {9, 4}, {-3, 1}, {3, 3}}) {
        plain.SetNumGlyphs(given);
        EXPECT_EQ(plain.NumGlyphs(), kept) << given;
    }
    EXPECT_EQ(changes, 3); // 1 -> 1 is no change
    plain.SetStyle(ebsEllipsisGx);
    plain.SetStyle(ebsEllipsisGx);
    EXPECT_EQ(changes, 4);

    TEditButtonsGx buttons(&form, TVisibleEditButtonGx::StaticClass());
    std::vector<TCollectionItem*> changed;
    buttons.SetOnChanged(TEvent<TObject*, TCollectionItem*>::FromFunction([&](TObject*, TCollectionItem* item) {
        changed.push_back(item);
    }));
    auto* added = static_cast<TEditButtonGx*>(buttons.Add());
    EXPECT_EQ(added->Editor(), &form);
    added->SetHint("more");
    EXPECT_EQ(changed.back(), added);
}
