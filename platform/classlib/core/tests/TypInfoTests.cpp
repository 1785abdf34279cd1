#include "FormTestClasses.h"

#include "platform/classlib/core/TypInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(TypInfoTest, OrdinalKindsByName)
{
    TTestControl control(nullptr);
    SetOrdProp(control, "width", 120);
    EXPECT_EQ(control.Width(), 120);
    EXPECT_EQ(GetOrdProp(control, "Width"), 120);

    SetEnumProp(control, "Align", "TALEFT");
    EXPECT_EQ(control.Align(), taLeft);
    EXPECT_EQ(GetEnumProp(control, "Align"), "taLeft");
    SetEnumProp(control, "Visible", "False");
    EXPECT_FALSE(control.Visible());
    EXPECT_THROW(SetEnumProp(control, "Align", "taMiddle"), EPropertyConvertError);
    EXPECT_THROW(SetOrdProp(control, "Align", 3), EPropertyError);

    SetOrdProp(control, "Color", clRed);
    EXPECT_EQ(control.Color(), clRed);
    SetOrdProp(control, "Letter", 'z');
    EXPECT_EQ(control.Letter(), 'z');
    EXPECT_THROW(SetOrdProp(control, "Letter", 300), EPropertyError);
}

TEST(TypInfoTest, SetsByTextThroughANestedObject)
{
    TTestControl control(nullptr);
    TObject* font = GetObjectProp(control, "Font");
    ASSERT_EQ(font, control.Font());
    SetSetProp(*font, "Style", "[tsBold, tsUnderline]");
    EXPECT_TRUE(control.Font()->Style().Contains(tsBold));
    EXPECT_FALSE(control.Font()->Style().Contains(tsItalic));
    EXPECT_EQ(GetSetProp(*font, "Style"), "[tsBold,tsUnderline]");
    EXPECT_EQ(GetSetProp(*font, "Style", false), "tsBold,tsUnderline");
    SetSetProp(*font, "Style", "");
    EXPECT_TRUE(control.Font()->Style().Empty());
    EXPECT_THROW(SetSetProp(*font, "Style", "[tsBold, tsStrike]"), EPropertyConvertError);
}

TEST(TypInfoTest, StringFloatObjectAndMethodKinds)
{
    TTestForm form(nullptr);
    auto* other = new TTestControl(&form);
    SetStrProp(form, "Caption", "Hello");
    EXPECT_EQ(GetStrProp(form, "caption"), "Hello");
    SetFloatProp(form, "Ratio", 2.5);
    EXPECT_DOUBLE_EQ(GetFloatProp(form, "Ratio"), 2.5);
    SetObjectProp(form, "Buddy", other);
    EXPECT_EQ(form.Buddy(), other);
    EXPECT_THROW(SetObjectProp(form, "Buddy", form.Font()), EPropertyError);

    SetMethodProp(*other, "OnClick", TMethod{&form, MethodAddress(form.ClassType(), "ButtonClick")});
    other->SetName("Other");
    other->Click();
    EXPECT_EQ(form.Clicks, (std::vector<std::string>{"Other"}));
    EXPECT_EQ(GetMethodProp(*other, "OnClick"), TMethod(TNotifyEvent(&form, &TTestForm::ButtonClick).Method()));
    // A handler of another shape cannot be bound to a notify event.
    EXPECT_THROW(SetMethodProp(*other, "OnClick", TMethod{&form, MethodAddress(form.ClassType(), "KeyHandler")}),
                 EPropertyError);
}

TEST(TypInfoTest, MissingPropertiesAndWrongKinds)
{
    TTestControl control(nullptr);
    EXPECT_EQ(GetPropInfo(control, "Nope"), nullptr);
    EXPECT_FALSE(IsPublishedProp(control, "Weights"));
    EXPECT_TRUE(IsPublishedProp(control, "tag"));
    EXPECT_TRUE(PropIsType(control, "Font", tkClass));
    EXPECT_EQ(PropType(control, "OnClick"), tkMethod);
    try {
        static_cast<void>(GetOrdProp(control, "Nope"));
        FAIL();
    } catch (const EPropertyError& error) {
        EXPECT_EQ(error.Message(), "Property Nope does not exist");
    }
    EXPECT_THROW(static_cast<void>(GetOrdProp(control, "Caption")), EPropertyError);
    EXPECT_THROW(SetStrProp(control, "Width", "1"), EPropertyError);
}

TEST(TypInfoTest, PropertyListPutsAncestorsFirst)
{
    const auto list = GetPropList(TTestForm::StaticClass());
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[0]->Name, "Name");
    EXPECT_EQ(list[1]->Name, "Tag");
    EXPECT_EQ(list[2]->Name, "Left");
}

TEST(EventsTest, BoundMethodsCompareByObjectAndMethod)
{
    TTestForm form(nullptr);
    TTestForm other(nullptr);
    const TNotifyEvent a(&form, &TTestForm::ButtonClick);
    EXPECT_EQ(a, TNotifyEvent(&form, &TTestForm::ButtonClick));
    EXPECT_FALSE(a == TNotifyEvent(&other, &TTestForm::ButtonClick));
    EXPECT_FALSE(a == TNotifyEvent(&form, &TTestForm::TimerFired));
    EXPECT_FALSE(a == TNotifyEvent());
    EXPECT_EQ(TNotifyEvent(), TNotifyEvent());

    TNotifyEvent empty;
    EXPECT_FALSE(empty.Assigned());
    empty(&form); // calling an empty event does nothing

    int calls = 0;
    const auto lambda = TNotifyEvent::FromFunction([&](TObject*) { ++calls; });
    const TNotifyEvent copy = lambda;
    copy(nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(copy, lambda);

    TEvent<TObject*, int&> key(&form, &TTestForm::KeyHandler);
    int value = 13;
    key(&form, value);
    EXPECT_EQ(value, 0);
}

// A handler that frees the object holding its event still has what it captured until it returns.
TEST(EventsTest, AHandlerOutlivesTheEventItFreed)
{
    struct THolder {
        TNotifyEvent OnFire;
    };
    auto* holder = new THolder;
    std::string seen;
    const std::string name = "kept";
    holder->OnFire = TNotifyEvent::FromFunction([holder, name, &seen](TObject*) {
        delete holder;
        seen = name;
    });
    holder->OnFire(nullptr);
    EXPECT_EQ(seen, "kept");
}

TEST(ColorsTest, NamesAndNumbers)
{
    struct Case {
        TColor color;
        const char* text;
    };
    const Case cases[] = {{clBtnFace, "clBtnFace"}, {clRed, "clRed"}, {clNone, "clNone"},
                          {clMenuBar, "clMenuBar"}, {0x123456, "$00123456"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToString(c.color), c.text);
        EXPECT_EQ(StringToColor(c.text), c.color);
    }
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(StringToColor("CLWINDOW"), clWindow);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(static_cast<void>(StringToColor("clMauve")), EConvertError);
}

} // namespace
