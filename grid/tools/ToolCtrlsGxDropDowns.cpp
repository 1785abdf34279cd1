#include "grid/tools/ToolCtrlsGxDropDowns.h"

#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/kernel/Clock.h"

#include <algorithm>
#include <array>

CLASSLIB_IMPLEMENT_CLASS(TSizeGripGx, TCustomControl, ComponentCreator<TSizeGripGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TPopupListboxGx, TCustomListBox, ComponentCreator<TPopupListboxGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TMRUListboxGx, TPopupListboxGx, ComponentCreator<TMRUListboxGx>, nullptr)

namespace {

// Typing resumes a search only this soon after the previous key.
constexpr DWORD SearchPause = 2000;
constexpr std::size_t MaxPrefixCharacters = 32;
// LB_SELECTSTRING from the first item.
constexpr WPARAM SearchFromStart = 0xFFFF;

bool IsRightCorner(TSizeGripCorner corner) { return corner == sgcTopRight || corner == sgcBottomRight; }
bool IsBottomCorner(TSizeGripCorner corner) { return corner == sgcBottomRight || corner == sgcBottomLeft; }

RECT WorkArea()
{
    RECT area{};
    (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

} // namespace

// ---- TSizeGripGx

TSizeGripGx::TSizeGripGx(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable, csCaptureMouse});
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL));
    SetColor(clBtnFace);
    SetCursor(crSizeNWSE);
}

void TSizeGripGx::CreateWnd()
{
    TCustomControl::CreateWnd();
    ApplyRegion();
    PlaceInParent();
}

void TSizeGripGx::SetCorner(TSizeGripCorner corner)
{
    if (corner == m_corner)
        return;
    m_corner = corner;
    SetCursor(corner == sgcTopLeft || corner == sgcBottomRight ? crSizeNWSE : crSizeNESW);
    if (HandleAllocated())
        ApplyRegion();
    PlaceInParent();
    Invalidate();
}

void TSizeGripGx::SetTriangular(bool triangular)
{
    if (triangular == m_triangular)
        return;
    m_triangular = triangular;
    if (HandleAllocated())
        ApplyRegion();
    Invalidate();
}

void TSizeGripGx::MoveToSide(TDropDownSide side)
{
    static constexpr std::array<std::array<TSizeGripCorner, 4>, 4> Moves{{
        // from top-left, top-right, bottom-right, bottom-left
        {sgcTopLeft, sgcTopLeft, sgcBottomLeft, sgcBottomLeft},         // left
        {sgcTopRight, sgcTopRight, sgcBottomRight, sgcBottomRight},     // right
        {sgcTopLeft, sgcTopRight, sgcTopRight, sgcTopLeft},             // top
        {sgcBottomLeft, sgcBottomRight, sgcBottomRight, sgcBottomLeft}, // bottom
    }};
    SetCorner(Moves[static_cast<std::size_t>(side)][static_cast<std::size_t>(m_corner)]);
}

void TSizeGripGx::ShowGrip(bool show)
{
    if (HandleAllocated())
        (void)ShowWindow(Handle(), show ? SW_SHOW : SW_HIDE);
}

void TSizeGripGx::PlaceInParent()
{
    if (!Parent())
        return;
    const TRect client = Parent()->ClientRect();
    const int left = IsRightCorner(m_corner) ? client.right - Width() : 0;
    const int top = IsBottomCorner(m_corner) ? client.bottom - Height() : 0;
    SetBounds(left, top, Width(), Height());
}

// The triangle of the square that faces the corner; the whole square otherwise.
void TSizeGripGx::ApplyRegion()
{
    const int w = Width();
    const int h = Height();
    std::array<POINT, 3> triangle{};
    switch (m_corner) {
    case sgcBottomRight:
        triangle = {POINT{0, h}, POINT{w, h}, POINT{w, 0}};
        break;
    case sgcBottomLeft:
        triangle = {POINT{w, h}, POINT{0, h}, POINT{0, 0}};
        break;
    case sgcTopLeft:
        triangle = {POINT{w - 1, 0}, POINT{0, 0}, POINT{0, h - 1}};
        break;
    case sgcTopRight:
        triangle = {POINT{w, h - 1}, POINT{w, 0}, POINT{1, 0}};
        break;
    }
    const HRGN region = m_triangular ? CreatePolygonRgn(triangle.data(), 3, WINDING) : CreateRectRgn(0, 0, w, h);
    (void)SetWindowRgn(Handle(), region, TRUE);
}

// Ridges every 4 pixels across the square, running towards the corner.
void TSizeGripGx::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(ClientRect());
    const int w = Width();
    const int h = Height();
    const bool right = IsRightCorner(m_corner);
    const bool bottom = IsBottomCorner(m_corner);
    const auto at = [&](int x, int y) { return TPoint{right ? x : w - 1 - x, bottom ? y : h - 1 - y}; };
    static constexpr std::array<TColor, 4> Ridge{clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
    for (int k = 1; k < std::max(w, h); ++k) {
        canvas->Pen()->SetColor(Ridge[static_cast<std::size_t>(k % 4)]);
        canvas->MoveTo(at(w - k, h).x, at(w - k, h).y);
        canvas->LineTo(at(w, h - k).x, at(w, h - k).y);
    }
}

void TSizeGripGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Parent())
        return;
    m_dragging = true;
    m_downPoint = ClientToScreen(TPoint{x, y});
    m_downBounds = Parent()->BoundsRect();
    const TRect client = Parent()->ClientRect();
    m_downClientWidth = client.right;
    m_downClientHeight = client.bottom;
}

void TSizeGripGx::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (m_dragging)
        DragTo(ClientToScreen(TPoint{x, y}));
}

void TSizeGripGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button == mbLeft)
        m_dragging = false;
}

// The parent grows or shrinks towards the pointer, not past the work area.
void TSizeGripGx::DragTo(TPoint screen)
{
    TWinControl* parent = Parent();
    const RECT area = WorkArea();
    const int frameWidth = (m_downBounds.right - m_downBounds.left) - m_downClientWidth;
    const int frameHeight = (m_downBounds.bottom - m_downBounds.top) - m_downClientHeight;
    TRect bounds = m_downBounds;
    const int dx = screen.x - m_downPoint.x;
    const int dy = screen.y - m_downPoint.y;
    if (IsRightCorner(m_corner))
        bounds.right = std::min<LONG>(bounds.left + frameWidth + m_downClientWidth + dx, area.right);
    else
        bounds.left = std::max<LONG>(bounds.left + dx, area.left);
    if (IsBottomCorner(m_corner))
        bounds.bottom = std::min<LONG>(bounds.top + frameHeight + m_downClientHeight + dy, area.bottom);
    else
        bounds.top = std::max<LONG>(bounds.top + dy, area.top);
    const TRect before = parent->ClientRect();
    parent->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    // The parent may keep whole rows: a grip at the top or left keeps the far edge where it was.
    if (!IsRightCorner(m_corner) || !IsBottomCorner(m_corner)) {
        const int left = IsRightCorner(m_corner) ? bounds.left : m_downBounds.right - parent->Width();
        const int top = IsBottomCorner(m_corner) ? bounds.top : m_downBounds.bottom - parent->Height();
        parent->SetBounds(left, top, parent->Width(), parent->Height());
    }
    const TRect after = parent->ClientRect();
    if (after.right == before.right && after.bottom == before.bottom)
        return;
    m_onParentSized(this);
    PlaceInParent();
}

// ---- TPopupListboxGx

TPopupListboxGx::TPopupListboxGx(TComponent* owner) : TCustomListBox(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetStyle(lbOwnerDrawFixed);
    SetTabStop(false);
    SetVisible(false);
    m_grip = new TSizeGripGx(this);
    m_grip->SetParent(this);
    m_grip->SetOnParentSized(TNotifyEvent::FromFunction([this](TObject*) {
        m_gripResized = true;
        LayoutChanged();
    }));
}

void TPopupListboxGx::CreateParams(TCreateParams& params)
{
    TCustomListBox::CreateParams(params);
    params.Style = (params.Style & ~(WS_CHILD | WS_BORDER)) | WS_POPUP | WS_CLIPCHILDREN;
    params.ExStyle = (params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    // A top-level window owned by its editor, which passes the item drawing back to it.
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    params.WndParent = owner ? owner->Handle() : nullptr;
}

void TPopupListboxGx::CreateWnd()
{
    TCustomListBox::CreateWnd();
    // The list box draws its selection as focused without ever having the focus.
    TMessage focus{WM_SETFOCUS, 0, 0, 0};
    DefaultHandler(focus);
}

void TPopupListboxGx::SetExternalItems(TStrings* items)
{
    m_externalItems = items;
    if (!items) {
        SetStyle(lbOwnerDrawFixed);
        SetOnData({});
        return;
    }
    SetStyle(lbVirtualOwnerDraw);
    SetOnData(TLBGetDataEvent::FromFunction([this](TWinControl*, int index, std::string& text) {
        text = m_externalItems && index >= 0 && index < m_externalItems->Count() ? m_externalItems->Strings(index)
                                                                                : std::string();
    }));
    SetCount(items->Count());
}

int TPopupListboxGx::FontLineHeight(TControl& control)
{
    const HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
        const SelectionGuard font(dc, control.Font()->Handle());
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

int TPopupListboxGx::FrameHeight() const { return 2 * FrameWidth; }

void TPopupListboxGx::FitRowCount(int rows)
{
    SetHeight(std::max(rows, 1) * ItemHeight() + FrameHeight());
}

// Whole rows only, and never smaller than a scroll-bar square.
void TPopupListboxGx::SetBounds(int left, int top, int width, int height)
{
    const int rowHeight = std::max(ItemHeight(), 1);
    m_visibleRows = std::max(1, (height - FrameHeight()) / rowHeight);
    height = std::max(FrameHeight() + m_visibleRows * rowHeight, GetSystemMetrics(SM_CYVSCROLL));
    width = std::max(width, GetSystemMetrics(SM_CXVSCROLL));
    TCustomListBox::SetBounds(left, top, width, height);
}

void TPopupListboxGx::Search(char key)
{
    const DWORD now = GetTickCount();
    if (now - m_lastKeyTime > SearchPause)
        m_typedPrefix.clear();
    m_lastKeyTime = now;
    if (Utf8CharacterCount(m_typedPrefix) < MaxPrefixCharacters || IsUtf8Continuation(key))
        m_typedPrefix += key;
    (void)SendMessageA(Handle(), LB_SELECTSTRING, SearchFromStart, reinterpret_cast<LPARAM>(m_typedPrefix.c_str()));
}

void TPopupListboxGx::KeyPress(char& key)
{
    TCustomListBox::KeyPress(key);
    if (key == VK_BACK || key == VK_ESCAPE) {
        m_typedPrefix.clear();
        return;
    }
    if (static_cast<unsigned char>(key) < 32)
        return;
    Search(key);
    key = 0;
}

void TPopupListboxGx::MouseMove(TShiftState shift, int x, int y)
{
    TCustomListBox::MouseMove(shift, x, y);
    const bool buttonHeld = shift.Contains(ssLeft) || shift.Contains(ssRight) || shift.Contains(ssMiddle);
    if (buttonHeld || (x == m_lastMouse.x && y == m_lastMouse.y))
        return;
    m_lastMouse = TPoint{x, y};
    const int item = ItemAtPos(m_lastMouse, true);
    if (item >= 0 && item != ItemIndex()) {
        SetItemIndex(item);
        LayoutChanged();
    }
}

bool AnswerClosingDropDownMessage(TMessage& message, const std::function<void(bool accept)>& closeUp)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return true;
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return true;
    case CM_WANTSPECIALKEY:
        if (message.WParam != VK_RETURN && message.WParam != VK_ESCAPE)
            return false;
        closeUp(message.WParam == VK_RETURN);
        message.Result = 1;
        return true;
    case WM_DROPDOWN_CLOSEUP:
        closeUp(false);
        return true;
    default:
        return false;
    }
}

void TPopupListboxGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_MOUSEWHEEL:
        SetTopIndex(std::max(0, TopIndex() + (static_cast<short>(HIWORD(message.WParam)) > 0 ? -1 : 1)));
        LayoutChanged();
        message.Result = 1;
        return;
    case WM_DROPDOWN_GRIPSIDE:
        m_grip->MoveToSide(static_cast<TDropDownSide>(message.WParam));
        LayoutChanged();
        return;
    case WM_NCCALCSIZE:
        InflateRect(reinterpret_cast<RECT*>(message.LParam), -FrameWidth, -FrameWidth);
        message.Result = 0;
        return;
    case WM_NCPAINT:
        PaintDropDownFrame(Handle(), false);
        return;
    case CN_DRAWITEM:
        if (!m_images)
            break;
        DrawImageItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    default:
        break;
    }
    TCustomListBox::Dispatch(message);
    if (message.Msg == WM_SIZE) {
        m_grip->PlaceInParent();
        LayoutChanged();
    }
}

// ---- TMRUListboxGx

TMRUListboxGx::TMRUListboxGx(TComponent* owner) : TPopupListboxGx(owner)
{
    m_bar = new TScrollBar(this);
    m_bar->SetKind(sbVertical);
    m_bar->SetTabStop(false);
    m_bar->SetControlStyle(m_bar->ControlStyle() + TControlStyle{csReplicatable});
    m_bar->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
    m_bar->SetParent(this);
    m_bar->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) {
        if (m_barLock)
            return;
        SetTopIndex(m_bar->Position());
        LayoutChanged();
    }));
}

void TMRUListboxGx::CreateParams(TCreateParams& params)
{
    TPopupListboxGx::CreateParams(params);
    params.Style &= ~(WS_VSCROLL | WS_HSCROLL);
}

void TMRUListboxGx::Dispatch(TMessage& message)
{
    TPopupListboxGx::Dispatch(message);
    if (message.Msg == WM_KEYDOWN || message.Msg == LB_SETCURSEL || message.Msg == LB_SETTOPINDEX)
        LayoutChanged();
}

// The bar stands at the right edge beside a grip on that side; it shows only when there are more
// items than whole rows, and then the grip beside it is a full square.
void TMRUListboxGx::LayoutChanged()
{
    if (!m_bar || !HandleAllocated())
        return;
    const TRect client = ClientRect();
    const bool gripRight = Grip()->Corner() == sgcTopRight || Grip()->Corner() == sgcBottomRight;
    const bool gripShown = Grip()->Visible();
    int top = 0;
    int bottom = client.bottom;
    if (gripRight && gripShown) {
        if (Grip()->Corner() == sgcTopRight)
            top = Grip()->Height();
        else
            bottom -= Grip()->Height();
    }
    const bool scrolls = Count() > VisibleRows();
    m_barLock = true;
    m_bar->SetBounds(client.right - m_bar->Width(), top, m_bar->Width(), std::max(bottom - top, 0));
    if (scrolls) {
        m_bar->SetParams(std::min(TopIndex(), Count() - 1), 0, Count() - 1);
        m_bar->SetPageSize(VisibleRows());
    }
    m_bar->SetVisible(scrolls);
    m_barLock = false;
    Grip()->SetTriangular(!(scrolls && gripRight));
}
