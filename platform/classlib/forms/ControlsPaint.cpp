#include "platform/classlib/forms/Controls.h"

#include "platform/winapi/gdi/Gdi.h"

CLASSLIB_IMPLEMENT_CLASS(TGraphicControl, TControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomControl, TWinControl, nullptr, nullptr)

// ---- TControlCanvas ------------------------------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle()
{
    auto* windowed = dynamic_cast<TWinControl*>(m_control);
    TWinControl* host = windowed ? windowed : m_control->Parent();
    if (!host)
        return;
    m_window = host->Handle();
    m_dc = GetDC(m_window);
    if (!m_dc)
        return;
    if (!windowed) {
        (void)SetViewportOrgEx(m_dc, m_control->Left(), m_control->Top(), nullptr);
        (void)IntersectClipRect(m_dc, 0, 0, m_control->Width(), m_control->Height());
    }
    SetHandle(m_dc);
}

void TControlCanvas::FreeHandle()
{
    if (!m_dc)
        return;
    SetHandle(nullptr);
    (void)ReleaseDC(m_window, m_dc);
    m_dc = nullptr;
    m_window = nullptr;
}

namespace {

// Paints through `canvas` on a DC the caller owns, leaving the canvas as it found it. A control
// with an empty area (a size its user may give it) has nothing to paint, and Paint is not asked.
template <class Paint>
void PaintOn(TControlCanvas& canvas, HDC dc, Paint paint)
{
    if (const TControl* control = canvas.Control(); control->ClientWidth() <= 0 || control->ClientHeight() <= 0)
        return;
    canvas.FreeHandle();
    canvas.Lock();
    canvas.SetHandle(dc);
    try {
        paint();
    } catch (...) {
        canvas.SetHandle(nullptr);
        canvas.Unlock();
        throw;
    }
    canvas.SetHandle(nullptr);
    canvas.Unlock();
}

} // namespace

// ---- TGraphicControl -----------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), m_canvas(std::make_unique<TControlCanvas>(this))
{
}

TGraphicControl::~TGraphicControl() { m_canvas->FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& message)
{
    if (message.Msg == WM_PAINT && message.WParam != 0) {
        m_canvas->Font()->Assign(Font());
        PaintOn(*m_canvas, reinterpret_cast<HDC>(message.WParam), [this] { Paint(); });
        return;
    }
    TControl::Dispatch(message);
}

// ---- TCustomControl ------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() { m_canvas->FreeHandle(); }

void TCustomControl::PaintWindow(HDC dc)
{
    m_canvas->Font()->Assign(Font());
    PaintOn(*m_canvas, dc, [this] { Paint(); });
}

void TCustomControl::DestroyWnd()
{
    m_canvas->FreeHandle();
    TWinControl::DestroyWnd();
}
