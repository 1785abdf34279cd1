#include "grid/tools/CalculatorGx.h"

#include "platform/classlib/forms/Clipbrd.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"

#include <cctype>
#include <cmath>
#include <cstddef>

CLASSLIB_IMPLEMENT_CLASS(TCalculatorGx, TCustomControl, ComponentCreator<TCalculatorGx>, nullptr)

namespace {

constexpr char KeyBackspace = 8;
constexpr char KeyEnter = 13;
constexpr char KeyEscape = 27;
constexpr char KeyCopy = 3;
constexpr char KeyPaste = 22;
// Typed numbers hold at most this many characters, a leading minus aside.
constexpr std::size_t MaxDigits = 15;

// The key each button's tag stands for.
constexpr std::array<char, 24> TagKeys{0,   '7', '8', '9', '/', 'S', 'C', '4', '5', '6', '*', '%',
                                       'A', '1', '2', '3', '-', 'R', KeyBackspace, '0', 'I', '.', '+', '='};

struct KeyLayout {
    const char* Caption;
    int Tag;
    int Left;
    int Top;
    int Width;
    int Height;
    TColor FontColor;
};

constexpr std::array<KeyLayout, 23> Layout{{
    {"7", 1, 6, 29, 27, 22, clBlue},     {"8", 2, 35, 29, 27, 22, clBlue},    {"9", 3, 64, 29, 27, 22, clBlue},
    {"4", 7, 6, 53, 27, 22, clBlue},     {"5", 8, 35, 53, 27, 22, clBlue},    {"6", 9, 64, 53, 27, 22, clBlue},
    {"1", 13, 6, 77, 27, 22, clBlue},    {"2", 14, 35, 77, 27, 22, clBlue},   {"3", 15, 64, 77, 27, 22, clBlue},
    {"0", 19, 6, 101, 27, 22, clBlue},   {"+/-", 20, 35, 101, 27, 22, clBlue}, {".", 21, 64, 101, 27, 22, clBlue},
    {"/", 4, 93, 29, 27, 22, clRed},     {"*", 10, 93, 53, 27, 22, clRed},    {"-", 16, 93, 77, 27, 22, clRed},
    {"+", 22, 93, 101, 27, 22, clRed},   {"sqrt", 5, 122, 29, 27, 22, clBlue}, {"%", 11, 122, 53, 27, 22, clBlue},
    {"1/x", 17, 122, 77, 27, 22, clBlue}, {"Ok", 23, 122, 101, 56, 22, clRed}, {"C", 6, 151, 29, 27, 46, clRed},
    {"<-", 18, 151, 77, 27, 22, clRed},   {"", 0, 0, 0, 0, 0, clRed},
}};

constexpr int CalculatorClientWidth = 184;
constexpr int CalculatorClientHeight = 127;

bool IsOperator(char key) { return key == '*' || key == '+' || key == '-' || key == '/'; }

} // namespace

TCalculatorGx::TCalculatorGx(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clBtnFace);
    Font()->SetHeight(-11);
    SetBounds(0, 0, CalculatorClientWidth, CalculatorClientHeight);
    SetTabStop(true);
    m_panel = new TPanel(this);
    m_panel->SetParent(this);
    m_panel->SetBounds(6, 4, 171, 19);
    m_panel->SetBevelOuter(bvLowered);
    m_panel->SetBorderWidth(1);
    m_panel->SetParentColor(false);
    m_panel->SetColor(clWindow);
    m_textBox = new TLabel(this);
    m_textBox->SetParent(m_panel);
    m_textBox->SetAutoSize(false);
    m_textBox->SetBounds(2, 1, 166, 17);
    m_textBox->SetAlignment(taRightJustify);
    m_textBox->SetLayout(tlCenter);
    m_textBox->SetCaption("0");
    BuildKeys();
}

TCalculatorGx::~TCalculatorGx() = default;

void TCalculatorGx::BuildKeys()
{
    for (const KeyLayout& key : Layout) {
        if (key.Tag == 0)
            continue;
        auto* button = new TSpeedButtonGx(this);
        button->SetParent(this);
        button->SetBounds(key.Left, key.Top, key.Width, key.Height);
        button->SetCaption(key.Caption);
        button->SetTag(key.Tag);
        button->SetFlat(true);
        button->SetStyle(ebsGlyphGx);
        button->SetActive(true);
        button->SetParentFont(false);
        button->Font()->Assign(Font());
        button->Font()->SetColor(key.FontColor);
        button->SetOnClick(TNotifyEvent::FromFunction([this](TObject* sender) { SpeedButtonClick(sender); }));
        m_keys[static_cast<std::size_t>(key.Tag)] = button;
    }
    m_equal = m_keys[23];
}

TSpeedButtonGx* TCalculatorGx::KeyButton(int tag) const
{
    return tag > 0 && tag < static_cast<int>(m_keys.size()) ? m_keys[static_cast<std::size_t>(tag)] : nullptr;
}

void TCalculatorGx::SpeedButtonClick(TObject* sender)
{
    const auto* button = dynamic_cast<TComponent*>(sender);
    if (button && button->Tag() > 0 && button->Tag() < static_cast<int>(TagKeys.size()))
        HandleKey(TagKeys[static_cast<std::size_t>(button->Tag())]);
}

double TCalculatorGx::DisplayValue() const
{
    return InError() ? 0 : StrToFloat(Trim(DisplayText()));
}

void TCalculatorGx::SetDisplayValue(double value)
{
    if (!std::isfinite(value)) {
        EnterError();
        return;
    }
    SetText(FloatToStrF(value, ffGeneral, 15, 0));
}

void TCalculatorGx::SetText(const std::string& text) { m_textBox->SetCaption(text); }

void TCalculatorGx::EnterError()
{
    m_entryState = EntryState::Error;
    SetText("Error");
}

void TCalculatorGx::CopyDisplay() const { Clipboard()->SetAsText(DisplayText()); }

void TCalculatorGx::PasteDisplay()
{
    if (Clipboard()->HasFormat(CF_TEXT))
        SetDisplayValue(StrToFloat(Trim(Clipboard()->AsText())));
}

void TCalculatorGx::ResetCalculator()
{
    m_entryState = EntryState::NewNumber;
    SetText("0");
    m_pendingOp = '=';
    m_accumulator = 0;
}

void TCalculatorGx::StartTyping()
{
    if (m_entryState != EntryState::NewNumber)
        return;
    m_entryState = EntryState::Typing;
    SetText("0");
}

void TCalculatorGx::AppendSeparator()
{
    StartTyping();
    const std::string text = DisplayText();
    if (text.find(DecimalSeparator) == std::string::npos)
        SetText(text + DecimalSeparator);
}

void TCalculatorGx::AppendDigit(char digit)
{
    StartTyping();
    std::string text = DisplayText();
    if (text == "0")
        text.clear();
    const std::size_t limit = !text.empty() && text.front() == '-' ? MaxDigits + 1 : MaxDigits;
    if (text.find('E') == std::string::npos && Utf8CharacterCount(text) < limit)
        text += digit;
    SetText(text);
}

void TCalculatorGx::Backspace()
{
    StartTyping();
    std::string text = DisplayText();
    if (text.size() == 1 || (text.size() == 2 && text.front() == '-'))
        text = "0";
    else
        text.pop_back();
    SetText(text);
}

void TCalculatorGx::Calculate(double x)
{
    switch (m_pendingOp) {
    case '*':
        ShowResult(m_accumulator * x);
        break;
    case '+':
        ShowResult(m_accumulator + x);
        break;
    case '-':
        ShowResult(m_accumulator - x);
        break;
    case '/':
        if (x == 0)
            EnterError();
        else
            ShowResult(m_accumulator / x);
        break;
    default:
        ShowResult(x);
        break;
    }
}

void TCalculatorGx::ShowResult(double value) { SetDisplayValue(value); }

void TCalculatorGx::ApplyOperator(char key)
{
    if (m_entryState == EntryState::Typing) {
        m_entryState = EntryState::NewNumber;
        double x = DisplayValue();
        if (key == '%') {
            if (m_pendingOp == '*' || m_pendingOp == '/')
                x /= 100;
            else if (m_pendingOp == '+' || m_pendingOp == '-')
                x = m_accumulator * x / 100;
        }
        Calculate(x);
    }
    if (InError())
        return;
    m_pendingOp = key;
    m_accumulator = DisplayValue();
}

void TCalculatorGx::HandleKey(char key)
{
    key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    if (InError() && key != 'C') {
        RefreshEqualCaption();
        return;
    }
    if (key == DecimalSeparator || key == ',' || key == '.')
        AppendSeparator();
    else if (key == KeyCopy)
        CopyDisplay();
    else if (key == KeyPaste)
        PasteDisplay();
    else if (key == KeyBackspace)
        Backspace();
    else if (key >= '0' && key <= '9')
        AppendDigit(key);
    else if (key == KeyEnter || key == '%' || key == '=' || IsOperator(key))
        ApplyOperator(key);
    else if (key == KeyEscape || key == 'C')
        ResetCalculator();
    else if (key == 'I')
        SetDisplayValue(-DisplayValue());
    else if (key == 'R') {
        m_entryState = EntryState::NewNumber;
        if (DisplayValue() == 0)
            EnterError();
        else
            SetDisplayValue(1 / DisplayValue());
    } else if (key == 'S') {
        m_entryState = EntryState::NewNumber;
        if (DisplayValue() < 0)
            EnterError();
        else
            SetDisplayValue(std::sqrt(DisplayValue()));
    }
    RefreshEqualCaption();
}

// "=" while a second operand is being typed after an operator, whatever the first operand was.
void TCalculatorGx::RefreshEqualCaption()
{
    const bool calculating = m_entryState == EntryState::Typing && IsOperator(m_pendingOp);
    m_equal->SetCaption(calculating ? "=" : "Ok");
}

void TCalculatorGx::KeyDown(WORD& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_DELETE)
        HandleKey('C');
}

void TCalculatorGx::KeyPress(char& key)
{
    TCustomControl::KeyPress(key);
    HandleKey(key);
}

void TCalculatorGx::Dispatch(TMessage& message)
{
    if (message.Msg == WM_MOUSEWHEEL) {
        if (!InError()) {
            const auto delta = static_cast<short>(HIWORD(message.WParam));
            SetDisplayValue(DisplayValue() + (delta > 0 ? 1 : -1));
            RefreshEqualCaption();
        }
        message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(message);
}
