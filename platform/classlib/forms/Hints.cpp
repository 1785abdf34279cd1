#include "platform/classlib/forms/Hints.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(THintWindow, TCustomControl, ComponentCreator<THintWindow>, nullptr)

namespace {

constexpr UINT HINT_TEXT_FORMAT = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
constexpr int TEXT_MARGIN = 2;

} // namespace

std::string GetShortHint(const std::string& hint)
{
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint)
{
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetVisible(false);
    SetParentColor(false);
    SetColor(Application ? Application->HintColor() : clInfoBk);
    SetParentFont(false);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    Font()->SetColor(clInfoText);
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_NCHITTEST:
        message.Result = HTTRANSPARENT;
        return;
    default:
        TCustomControl::Dispatch(message);
    }
}

void THintWindow::Paint()
{
    TRect rect = ClientRect();
    InflateRect(&rect, -TEXT_MARGIN, -TEXT_MARGIN);
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Font()->Assign(Font());
    (void)SetBkMode(canvas->Handle(), TRANSPARENT);
    const std::string text = Caption();
    (void)DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &rect, HINT_TEXT_FORMAT);
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void* /*data*/)
{
    TRect rect = Rect(0, 0, maxWidth, 0);
    Canvas()->Font()->Assign(Font());
    (void)DrawTextA(Canvas()->Handle(), hint.c_str(), static_cast<int>(hint.size()), &rect,
                    DT_CALCRECT | HINT_TEXT_FORMAT);
    // Room for the text margins and the frame.
    rect.right += 2 * TEXT_MARGIN + 2;
    rect.bottom += 2 * TEXT_MARGIN + 2;
    return rect;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint)
{
    SetCaption(hint);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int left = std::max(0, std::min<int>(rect.left, screenWidth - width));
    const int top = std::max(0, std::min<int>(rect.top, screenHeight - height));
    SetBounds(left, top, width, height);
    (void)SetWindowPos(Handle(), HWND_TOPMOST, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const std::string& hint, void* /*data*/) { ActivateHint(rect, hint); }
