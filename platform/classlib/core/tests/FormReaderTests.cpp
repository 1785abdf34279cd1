#include "FormTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/rtl/Strings.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* SampleForm = R"(object MainForm: TTestForm
  Left = -12
  Width = $1F4
  Caption = 'It''s a '#13#10'test' +
    ' form'
  Color = clWindow
  Font.Name = 'Tahoma'
  Font.Style = [tsBold, tsItalic]
  Ratio = 1.5
  Weights = (
    3
    -4)
  object Timer1: TTestTimer
    Interval = 250
    OnTimer = TimerFired
  end
  object Panel: TTestControl
    Align = taLeft
    Visible = False
    Letter = 'x'
    Buddy = Button1
    Lines.Strings = (
      'first'
      'second')
    Items = <
      item
        Caption = 'one'
      end
      item
        Caption = 'two'
        Width = 10
      end>
    Blob = {
      00FF7A}
    object Button1: TTestControl
      Caption = 'OK'
      OnClick = ButtonClick
      Buddy = MainForm
    end
  end
end
)";

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        LoadedLog().clear();
    }
};

TEST_F(FormReaderTest, LoadsNestedObjectsWithEveryKindOfValue)
{
    std::unique_ptr<TComponent> root(ReadComponentText(SampleForm));
    auto* form = dynamic_cast<TTestForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "MainForm");
    EXPECT_EQ(form->Left(), -12);
    EXPECT_EQ(form->Width(), 500);
    EXPECT_EQ(form->Caption(), "It's a \r\ntest form");
    EXPECT_EQ(form->Color(), clWindow);
    EXPECT_EQ(form->Font()->Name(), "Tahoma");
    EXPECT_EQ(form->Font()->Style(), (TTestStyles{tsBold, tsItalic}));
    EXPECT_DOUBLE_EQ(form->Ratio(), 1.5);
    EXPECT_EQ(form->Weights, (std::vector<int>{3, -4}));

    ASSERT_NE(form->Timer1, nullptr);
    EXPECT_EQ(form->Timer1->Interval(), 250);
    auto* panel = static_cast<TTestControl*>(form->FindComponent("Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Owner(), form);
    EXPECT_EQ(panel->Parent(), form);
    EXPECT_EQ(panel->Align(), taLeft);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Letter(), 'x');
    EXPECT_EQ(panel->Lines()->Text(), "first\r\nsecond\r\n");
    ASSERT_EQ(panel->Items()->Count(), 2);
    auto* second = static_cast<TTestItem*>(panel->Items()->Items(1));
    EXPECT_EQ(second->Caption(), "two");
    EXPECT_EQ(second->Width(), 10);
    EXPECT_EQ(panel->Blob, (std::vector<std::uint8_t>{0x00, 0xFF, 0x7A}));

    // Button1 is owned by the form, parented by the panel, and referenced before it was read.
    ASSERT_NE(form->Button1, nullptr);
    EXPECT_EQ(form->Button1->Owner(), form);
    EXPECT_EQ(form->Button1->Parent(), panel);
    EXPECT_EQ(panel->Buddy(), form->Button1);
    EXPECT_EQ(form->Button1->Buddy(), form);

    form->Button1->Click();
    form->Timer1->OnTimer()(form->Timer1);
    EXPECT_EQ(form->Clicks, (std::vector<std::string>{"Button1", "timer"}));

    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"MainForm", "Timer1", "Panel", "Button1"}));
    for (TComponent* component : {static_cast<TComponent*>(form), static_cast<TComponent*>(form->Button1)}) {
        EXPECT_FALSE(component->ComponentState().Contains(csLoading));
        EXPECT_FALSE(component->ComponentState().Contains(csReading));
    }
}

TEST_F(FormReaderTest, ReadsIntoAnExistingRootAndSetsChildPositions)
{
    TTestForm form(nullptr);
    ReadComponentText(R"(object Form1: TTestForm
  object A: TTestControl
  end
  object B: TTestControl [0]
  end
end)",
                      &form);
    EXPECT_EQ(form.Name(), "Form1");
    ASSERT_EQ(form.Children().size(), 2u);
    EXPECT_EQ(form.Children()[0]->Name(), "B");
}

TEST_F(FormReaderTest, ObsoleteDefinedPropertyIsRead)
{
    std::unique_ptr<TComponent> root(ReadComponentText("object C: TTestControl\n  OldWidth = 33\nend"));
    EXPECT_EQ(static_cast<TTestControl*>(root.get())->Width(), 33);
}

TEST_F(FormReaderTest, BadFormDataNamesLineAndProperty)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  Width = 'wide'\nend", "Error reading F.Width on line 2: Invalid property value"},
        {"object F: TTestForm\n\n  Align = taMiddle\nend", "Error reading F.Align on line 3: Invalid property value"},
        {"object F: TTestForm\n  Nope = 1\nend", "Error reading F.Nope on line 2: Property Nope does not exist"},
        {"object F: TTestForm\n  Font.Style = [tsStrike]\nend",
         "Error reading F.Font.Style on line 2: Invalid property element: tsStrike"},
        {"object F: TTestForm\n  Width = 3000000000\nend", "Error reading F.Width on line 2: Invalid property value"},
        {"object F: TTestForm\n  object B: TTestControl\n    OnClick = Missing\n  end\nend",
         "Error reading B.OnClick on line 3: Method 'Missing' not found"},
        {"object F: TTestForm\n  Buddy = Nobody\nend", "Error reading F.Buddy on line 2: Invalid property value"},
        {"object F: TTestForm\n  Buddy = Timer1\n  object Timer1: TTestTimer\n  end\nend",
         "Error reading F.Buddy on line 2: Invalid property value"},
        {"object F: TTestForm\n  Weights = (1 'x')\nend", "Error reading F.Weights on line 2: Invalid property value"},
        {"object F: TTestForm\n  Items = <\n    item\n      Width = x\n    end>\nend",
         "Error reading F.Items[0].Width on line 4: Invalid property value"},
        {"object F: TTestForm\n  object A: TTestControl\n  end\n  object a: TTestControl\n  end\nend",
         "Error reading a on line 4: A component named a already exists"},
        {"object F: TTestForm\n  inherited X: TTestControl\n  end\nend",
         "Error reading X on line 2: Ancestor for 'X' not found"},
    };
    for (const Case& c : cases) {
        try {
            std::unique_ptr<TComponent> root(ReadComponentText(c.text));
            ADD_FAILURE() << c.text;
        } catch (const EReadError& error) {
            EXPECT_EQ(error.Message(), c.message) << c.text;
        }
    }
}

TEST_F(FormReaderTest, BrokenNotationRaisesParserErrorsWithTheLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  Caption = 'open\nend", "Unterminated string on line 2"},
        {"object F: TTestForm\n  Width 3\nend", "'=' expected on line 2"},
        {"object F: TTestForm\n  Blob = { 0A1 }\nend", "Invalid binary value on line 2"},
        {"object F: TTestForm\n  Width = 1\n", "Identifier expected on line 3"},
        {"object F: TTestForm\nend\nobject", "End of file expected on line 3"},
        {"object F: TTestForm\n  Font.Style = [tsBold tsItalic]\nend", "',' expected on line 2"},
        {"thing F: TTestForm\nend", "'object' expected on line 1"},
        {"object F: TTestForm\n  Caption = #\nend", "Invalid character code on line 2"},
    };
    for (const Case& c : cases) {
        try {
            TReader reader(c.text);
            ADD_FAILURE() << c.text;
        } catch (const EParserError& error) {
            EXPECT_EQ(error.Message(), c.message) << c.text;
        }
    }
    EXPECT_THROW(static_cast<void>(ReadComponentText("object F: TNoSuchForm\nend")), EClassNotFound);
}

TEST_F(FormReaderTest, DeepNestingIsRefused)
{
    std::string text = "object F: TTestForm\n  Weights = ";
    text += std::string(MaxFormNesting + 1, '(') + std::string(MaxFormNesting + 1, ')') + "\nend";
    EXPECT_THROW(TReader reader(text), EParserError);
}

TEST_F(FormReaderTest, InterceptorSeesPropertiesFirst)
{
    std::vector<std::string> seen;
    const int cookie = RegisterReadInterceptor([&](TPersistent& instance, const std::string& name, TReader& reader) {
        seen.push_back(instance.ClassName() + ":" + name);
        if (name != "Width" || !instance.InheritsFrom(TTestItem::StaticClass()))
            return false;
        static_cast<TTestItem&>(instance).SetWidth(reader.ReadInteger() * 2);
        return true;
    });
    std::unique_ptr<TComponent> root;
    try {
        root.reset(ReadComponentText(R"(object C: TTestControl
  Font.Size = 9
  Items = <
    item
      Width = 21
    end>
end)"));
    } catch (...) {
        UnregisterReadInterceptor(cookie);
        throw;
    }
    UnregisterReadInterceptor(cookie);
    auto* control = static_cast<TTestControl*>(root.get());
    EXPECT_EQ(seen, (std::vector<std::string>{"TTestFont:Size", "TTestControl:Items", "TTestItem:Width"}));
    EXPECT_EQ(control->Font()->Size(), 9);
    EXPECT_EQ(static_cast<TTestItem*>(control->Items()->Items(0))->Width(), 42);
}

TEST_F(FormReaderTest, ReferencesIntoAnotherFormGoThroughTheGlobalFinder)
{
    std::unique_ptr<TComponent> other(ReadComponentText("object Other: TTestForm\n  object Edit: TTestControl\n  end\nend"));
    const int cookie = RegisterFindGlobalComponent(
        [&](std::string_view name) { return SameText(name, "Other") ? other.get() : nullptr; });
    std::unique_ptr<TComponent> root(ReadComponentText("object F: TTestForm\n  Buddy = Other.Edit\nend"));
    UnregisterFindGlobalComponent(cookie);
    EXPECT_EQ(static_cast<TTestForm*>(root.get())->Buddy(), other->FindComponent("Edit"));
}

TEST_F(FormReaderTest, DefinedPropertyReaderUsesTheValueApi)
{
    // Sets and lists read value by value, as DefineProperties readers do.
    std::vector<std::string> members;
    const int cookie = RegisterReadInterceptor([&](TPersistent&, const std::string& name, TReader& reader) {
        if (name != "Style")
            return false;
        EXPECT_EQ(reader.ReadValue(), vaSet);
        for (std::string member = reader.ReadStr(); !member.empty(); member = reader.ReadStr())
            members.push_back(member);
        return true;
    });
    std::unique_ptr<TComponent> root(ReadComponentText("object C: TTestControl\n  Font.Style = [tsBold, tsUnderline]\nend"));
    UnregisterReadInterceptor(cookie);
    EXPECT_EQ(members, (std::vector<std::string>{"tsBold", "tsUnderline"}));
}

} // namespace
