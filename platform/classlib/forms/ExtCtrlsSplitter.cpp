#include "platform/classlib/forms/ExtCtrlsSplitter.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

namespace {

void DescribeSplitter(TClassBuilder& c)
{
    c.Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    c.Enum("ResizeStyle", ResizeStyleTypeInfo(), &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle)
        .Default(rsPattern);
    c.Boolean("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default(true);
    c.Boolean("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(false);
    c.Event("OnMoved", &TSplitter::OnMoved, &TSplitter::SetOnMoved);
    c.Event("OnCanResize", &TSplitter::OnCanResize, &TSplitter::SetOnCanResize);
}

// The control's rectangle, widened by a pixel towards the splitter when it has no extent, so that
// a collapsed control is still found.
TRect FindableRect(const TControl& control, TAlign align)
{
    TRect rect = control.BoundsRect();
    if (rect.right == rect.left)
        (align == alLeft || align == alTop) ? --rect.left : ++rect.right;
    if (rect.bottom == rect.top)
        (align == alLeft || align == alTop) ? --rect.top : ++rect.bottom;
    return rect;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSplitter, TGraphicControl, ComponentCreator<TSplitter>, DescribeSplitter)

const TTypeInfo& ResizeStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"});
    return info;
}

void RegisterSplitterClasses() { RegisterClass(TSplitter::StaticClass()); }

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner)
{
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter() { StopSizing(); }

void TSplitter::SetBeveled(bool beveled)
{
    m_beveled = beveled;
    Invalidate();
}

TControl* TSplitter::FindResizedControl() const
{
    if (!Parent())
        return nullptr;
    TPoint point{Left(), Top()};
    switch (Align()) {
    case alLeft: --point.x; break;
    case alRight: point.x += Width(); break;
    case alTop: --point.y; break;
    case alBottom: point.y += Height(); break;
    default: return nullptr;
    }
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* control = Parent()->Controls(i);
        const TRect rect = FindableRect(*control, Align());
        if (control != this && control->Visible() && control->Enabled() && PtInRect(&rect, point))
            return control;
    }
    return nullptr;
}

int TSplitter::ControlSize() const { return Horizontal() ? m_control->Width() : m_control->Height(); }

int TSplitter::MaxSize() const
{
    // Whatever the other controls aligned along the same axis (this bar included) leave.
    int size = (Horizontal() ? Parent()->ClientWidth() : Parent()->ClientHeight()) - m_minSize;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        const TControl* control = Parent()->Controls(i);
        if (!control->Visible())
            continue;
        if (Horizontal() && (control->Align() == alLeft || control->Align() == alRight))
            size -= control->Width();
        else if (!Horizontal() && (control->Align() == alTop || control->Align() == alBottom))
            size -= control->Height();
    }
    return size + ControlSize();
}

void TSplitter::CalcSplitSize(int x, int y, int& newSize, int& split) const
{
    split = Horizontal() ? x - m_downPos.x : y - m_downPos.y;
    const bool growsWithSplit = Align() == alLeft || Align() == alTop;
    const int wanted = growsWithSplit ? ControlSize() + split : ControlSize() - split;
    newSize = std::clamp(wanted, m_minSize, std::max(m_minSize, m_maxSize));
    if (wanted != newSize)
        split += growsWithSplit ? newSize - wanted : wanted - newSize;
}

bool TSplitter::DoCanResize(int& newSize)
{
    bool accept = true;
    // A handler that frees the splitter refuses the size: nothing is left to resize.
    if (!Outlives([&] { m_onCanResize(this, newSize, accept); }))
        return false;
    if (accept && m_autoSnap && newSize <= m_minSize)
        newSize = 0;
    return accept;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    m_control = FindResizedControl();
    if (!m_control)
        return;
    m_control->FreeNotification(this);
    m_downPos = TPoint{x, y};
    m_maxSize = MaxSize();
    m_oldSize = ControlSize();
    CalcSplitSize(x, y, m_newSize, m_split);
    if (m_resizeStyle == rsLine || m_resizeStyle == rsPattern) {
        m_lineDC = GetDC(Parent()->Handle());
        DrawLine();
    }
}

void TSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!m_control || !shift.Contains(ssLeft))
        return;
    int newSize = 0;
    int split = 0;
    CalcSplitSize(x, y, newSize, split);
    if (!DoCanResize(newSize))
        return;
    if (m_lineVisible)
        DrawLine();
    m_newSize = newSize;
    m_split = split;
    if (m_resizeStyle == rsUpdate)
        UpdateControlSize();
    else if (m_lineDC)
        DrawLine();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!m_control)
        return;
    if (m_lineVisible)
        DrawLine();
    if (Outlives([this] { UpdateControlSize(); }))
        StopSizing();
}

void TSplitter::UpdateControlSize()
{
    if (m_newSize == m_oldSize)
        return;
    switch (Align()) {
    case alLeft: m_control->SetWidth(m_newSize); break;
    case alTop: m_control->SetHeight(m_newSize); break;
    case alRight:
        Parent()->DisableAlign();
        m_control->SetBounds(m_control->Left() + m_control->Width() - m_newSize, m_control->Top(), m_newSize,
                             m_control->Height());
        Parent()->EnableAlign();
        break;
    case alBottom:
        Parent()->DisableAlign();
        m_control->SetBounds(m_control->Left(), m_control->Top() + m_control->Height() - m_newSize,
                             m_control->Width(), m_newSize);
        Parent()->EnableAlign();
        break;
    default: break;
    }
    m_oldSize = m_newSize;
    Update();
    if (m_onMoved)
        m_onMoved(this);
}

void TSplitter::DrawLine()
{
    m_lineVisible = !m_lineVisible;
    const int x = Horizontal() ? Left() + m_split : Left();
    const int y = Horizontal() ? Top() : Top() + m_split;
    const HGDIOBJ brush = GetStockObject(m_resizeStyle == rsPattern ? GRAY_BRUSH : WHITE_BRUSH);
    const SelectionGuard selectBrush(m_lineDC, brush);
    (void)PatBlt(m_lineDC, x, y, Width(), Height(), PATINVERT);
}

void TSplitter::StopSizing()
{
    if (m_lineDC && Parent() && Parent()->HandleAllocated())
        (void)ReleaseDC(Parent()->Handle(), m_lineDC);
    m_lineDC = nullptr;
    m_lineVisible = false;
    if (m_control)
        m_control->RemoveFreeNotification(this);
    m_control = nullptr;
}

void TSplitter::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == m_control)
        StopSizing();
}

void TSplitter::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);
    if (!m_beveled)
        return;
    // A raised bar across the splitter.
    if (Horizontal())
        InflateRect(&rect, -1, 2);
    else
        InflateRect(&rect, 2, -1);
    (void)DrawEdge(canvas.Handle(), &rect, BDR_RAISEDINNER, BF_RECT);
}
