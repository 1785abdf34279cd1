#include "platform/classlib/core/Resources.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const unsigned char FormBytes[] = {'o', 'b', 'j'};
const TResourceEntry TestEntries[] = {{"RCDATA", "TTESTRESFORM", FormBytes, sizeof FormBytes}};

TEST(ResourcesTest, FoundByTypeAndNameIgnoringCase)
{
    RegisterResources(TestEntries);
    HRSRC resource = FindResource(nullptr, "TTestResForm", "rcdata");
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, resource), 3u);
    EXPECT_EQ(LockResource(LoadResource(nullptr, resource)), FormBytes);
    EXPECT_EQ(FindResource(nullptr, "TTestResForm", RT_BITMAP), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);

    TResourceStream stream(nullptr, "ttestresform", RT_RCDATA);
    std::string text(5, '\0');
    text.resize(stream.Read(text.data(), text.size()));
    EXPECT_EQ(text, "obj");
    EXPECT_THROW(static_cast<void>(stream.Write("x", 1)), EStreamError);
    EXPECT_THROW(TResourceStream(nullptr, "Missing", RT_RCDATA), EResNotFound);
}

} // namespace
