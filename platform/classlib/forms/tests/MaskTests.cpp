#include "ControlsTestClasses.h"

#include "platform/classlib/forms/Mask.h"
#include "platform/winapi/controls/Edit.h"

#include <memory>

namespace {

TEST(MaskTextTest, FormatMaskTextLaysValuesIntoTheMask)
{
    struct Case {
        const char* mask;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"(999)000-0000;1;_", "(555)123-4567", "(555)123-4567"},
        {"(999)000-0000;1;_", "555)123", "(555)123-    "},
        {"(999)000-0000;0;_", "5551234567", "(555)123-4567"},
        {"999;0;_", "12", "12 "},
        {"!999;0;_", "12", " 12"},
        {"00:00;1;_", "12:30", "12:30"},
        {"\\(000\\);0", "123", "(123)"},
        {"00_00;0", "1234", "12 34"},
        {"", "as is", "as is"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatMaskText(c.mask, c.value), c.expected) << c.mask << " / " << c.value;
    EXPECT_EQ(MaskDoFormatText("000;0;*", "1", '*'), "1**");
}

TEST(MaskTextTest, FirstInvalidFindsTheFirstPositionThatBreaksTheMask)
{
    struct Case {
        const char* mask;
        const char* editText;
        std::size_t invalid; // 99: valid
    };
    const Case cases[] = {
        {"000;0;_", "12_", 2}, {"099;0;_", "1__", 99}, {"LLL;0;_", "ab1", 2}, {">LLL", "ABC", 99},
        {"#9;0;_", "-5", 99},  {"AA", "a_", 1},         {"aa", "__", 99},      {"(000)", "(1 3)", 2},
        {"CC;0;*", "**", 0},   {"cc;0;*", "**", 99},
    };
    for (const Case& c : cases) {
        const TEditMask mask(c.mask);
        const std::size_t invalid = mask.FirstInvalid(c.editText);
        EXPECT_EQ(invalid >= mask.Size() ? 99 : invalid, c.invalid) << c.mask << " / " << c.editText;
    }
}

class MaskEditTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(50, 50, 300, 120);
        m_edit = new TMaskEdit(m_form.get());
        m_edit->SetBounds(10, 10, 200, 21);
        m_edit->SetParent(m_form.get());
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void Focus()
    {
        m_form->Show();
        m_edit->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return m_edit->Focused(); }));
        m_edit->SetSelStart(0);
    }
    // Types the characters and waits for the edit text they should give.
    void Type(const std::string& text, const std::string& expected)
    {
        for (const char c : text)
            m_display->InjectKeyPress(Id(*m_form), 0, std::string(1, c));
        EXPECT_TRUE(PumpUntil([&] { return m_edit->EditText() == expected; })) << m_edit->EditText();
    }

    std::unique_ptr<TForm> m_form;
    TMaskEdit* m_edit = nullptr;
};

TEST_F(MaskEditTest, TypingFillsInputPositionsAndSkipsLiterals)
{
    m_edit->SetEditMask("(999)000-0000;1;_");
    EXPECT_EQ(m_edit->EditText(), "(___)___-____");
    EXPECT_EQ(m_edit->Text(), "(   )   -    ");
    Focus();
    Type("555x1234567", "(555)123-4567");
    EXPECT_TRUE(m_edit->Modified());
    EXPECT_NO_THROW(m_edit->ValidateEdit());

    m_edit->SetEditMask("(999)000-0000;0;_");
    m_edit->SetEditText("(555)123-4567");
    EXPECT_EQ(m_edit->Text(), "5551234567");
    m_edit->SetEditMask(">LL<ll;0;_");
    m_edit->SetText("");
    m_edit->SetSelStart(0);
    Type("abCD", "ABcd");
}

TEST_F(MaskEditTest, DeletingBlanksAndEscapeRestores)
{
    m_edit->SetEditMask("00-00;1;_");
    m_edit->SetText("12-34");
    Focus();
    m_edit->SetSelStart(3);
    m_display->InjectKeyPress(Id(*m_form), VK_BACK, "\b");
    ASSERT_TRUE(PumpUntil([&] { return m_edit->EditText() == "1_-34"; }));
    EXPECT_EQ(m_edit->SelStart(), 1);
    m_edit->SetSelStart(2);
    m_display->InjectKeyPress(Id(*m_form), VK_DELETE);
    ASSERT_TRUE(PumpUntil([&] { return m_edit->EditText() == "1_-_4"; }));
    m_display->InjectKeyPress(Id(*m_form), VK_ESCAPE, "\x1B");
    ASSERT_TRUE(PumpUntil([&] { return m_edit->EditText() == "12-34"; }));
    EXPECT_FALSE(m_edit->Modified());
}

TEST_F(MaskEditTest, ValidateEditRaisesForAModifiedIncompleteText)
{
    m_edit->SetEditMask("000;0;_");
    m_edit->HandleNeeded();
    m_edit->SetEditText("12_");
    EXPECT_NO_THROW(m_edit->ValidateEdit()); // not modified
    m_edit->SetModified(true);
    try {
        m_edit->ValidateEdit();
        ADD_FAILURE() << "no error";
    } catch (const EDBEditError& error) {
        EXPECT_EQ(error.Message(), "Invalid input value.  Use escape key to abandon changes");
    }
    EXPECT_EQ(m_edit->SelStart(), 2);
    m_edit->SetEditMask("");
    EXPECT_FALSE(m_edit->IsMasked());
    EXPECT_NO_THROW(m_edit->ValidateEdit());
}

} // namespace
