#include "platform/winapi/controls/StatusBar.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The classic metrics: no border left and right, two pixels above the parts and between them.
constexpr int VERTICAL_BORDER = 2;
constexpr int PART_GAP = 2;
constexpr int TEXT_INSET = 3;
constexpr int MAX_PARTS = 256;

struct PartText {
    std::string text;
    UINT type = 0;
    LPARAM ownerData = 0;
};

struct StatusBar final : ControlInstance {
    explicit StatusBar(HWND window) : ControlInstance(window) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<int> rights{-1};
    std::vector<PartText> parts{1};
    PartText simple;
    bool simpleMode = false;
    int minHeight = 0;
    HFONT font = nullptr;
    bool positioning = false;
};

HFONT FontOf(const StatusBar& bar)
{
    return bar.font ? bar.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool HasGrip(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & SBARS_SIZEGRIP) != 0; }

int GripSize() { return GetSystemMetrics(SM_CXVSCROLL); }

RECT ClientOf(HWND window)
{
    RECT client{};
    (void)GetClientRect(window, &client);
    return client;
}

RECT PartRect(const StatusBar& bar, int index)
{
    const RECT client = ClientOf(bar.Window());
    if (bar.simpleMode)
        return RECT{0, VERTICAL_BORDER, client.right, client.bottom};
    const auto at = static_cast<std::size_t>(index);
    const int left = index == 0 ? 0 : std::min(bar.rights[at - 1] < 0 ? client.right : bar.rights[at - 1], client.right) + PART_GAP;
    const int right = bar.rights[at] < 0 ? client.right : std::min(bar.rights[at], client.right);
    return RECT{std::min(left, right), VERTICAL_BORDER, right, client.bottom};
}

int TextHeight(const StatusBar& bar)
{
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard font(dc, FontOf(bar));
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

int BarHeight(const StatusBar& bar)
{
    return std::max(TextHeight(bar) + 2 * VERTICAL_BORDER + 3, bar.minHeight + 2 * VERTICAL_BORDER);
}

// Docks the bar at its parent's top or bottom edge across the parent's width, as CCS_* ask.
void Reposition(StatusBar& bar)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongA(bar.Window(), GWL_STYLE));
    const HWND parent = GetParent(bar.Window());
    if ((style & CCS_NORESIZE) != 0 || !parent || bar.positioning)
        return;
    RECT parentClient{};
    (void)GetClientRect(parent, &parentClient);
    RECT own{};
    (void)GetWindowRect(bar.Window(), &own);
    POINT origin{own.left, own.top};
    (void)ScreenToClient(parent, &origin);
    const int height = BarHeight(bar);
    int x = origin.x;
    int y = origin.y;
    int width = own.right - own.left;
    if ((style & CCS_NOPARENTALIGN) == 0) {
        x = 0;
        width = parentClient.right;
        y = (style & CCS_BOTTOM) == CCS_TOP ? 0 : parentClient.bottom - height;
    }
    bar.positioning = true;
    (void)SetWindowPos(bar.Window(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    bar.positioning = false;
}

// Text, with a tab before the part centred and two tabs before the part right-aligned.
void DrawPartText(HDC dc, const std::string& text, RECT area)
{
    static constexpr UINT ALIGNMENTS[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    InflateRect(&area, -TEXT_INSET, 0);
    std::size_t start = 0;
    for (UINT alignment : ALIGNMENTS) {
        const std::size_t tab = text.find('\t', start);
        const std::string piece = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (!piece.empty())
            (void)DrawTextA(dc, piece.c_str(), static_cast<int>(piece.size()), &area,
                            alignment | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (tab == std::string::npos)
            return;
        start = tab + 1;
    }
}

// False when the parent destroyed the bar as it drew the part.
[[nodiscard]] bool DrawOwnerPart(const StatusBar& bar, HDC dc, int index, const PartText& part, RECT area)
{
    DRAWITEMSTRUCT item{};
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(bar.Window()));
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = bar.Window();
    item.hDC = dc;
    item.rcItem = area;
    item.itemData = static_cast<ULONG_PTR>(part.ownerData);
    return bar.SendToParent(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)).stands;
}

// False when the parent destroyed the bar as it drew the part.
[[nodiscard]] bool DrawPart(const StatusBar& bar, HDC dc, int index, const PartText& part, RECT area)
{
    if ((part.type & SBT_NOBORDERS) == 0)
        (void)DrawEdge(dc, &area, (part.type & SBT_POPOUT) != 0 ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if ((part.type & SBT_OWNERDRAW) != 0)
        return DrawOwnerPart(bar, dc, index, part, area);
    const SavedDC saved(dc);
    (void)IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    DrawPartText(dc, part.text, area);
    return true;
}

void DrawGrip(HWND window, HDC dc)
{
    const RECT client = ClientOf(window);
    RECT grip{client.right - GripSize(), client.bottom - GripSize(), client.right, client.bottom};
    (void)DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void Paint(const StatusBar& bar, HDC dc)
{
    RECT client = ClientOf(bar.Window());
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const SavedDC saved(dc);
    (void)SelectObject(dc, FontOf(bar));
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, GetSysColor(IsWindowEnabled(bar.Window()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (bar.simpleMode) {
        if (!DrawPart(bar, dc, static_cast<int>(SB_SIMPLEID), bar.simple, PartRect(bar, 0)))
            return;
    } else {
        for (int i = 0; i < static_cast<int>(bar.parts.size()); ++i)
            if (!DrawPart(bar, dc, i, bar.parts[static_cast<std::size_t>(i)], PartRect(bar, i)))
                return;
    }
    if (HasGrip(bar.Window()))
        DrawGrip(bar.Window(), dc);
}

PartText* PartAt(StatusBar& bar, WPARAM index)
{
    if ((index & 0xFF) == SB_SIMPLEID)
        return &bar.simple;
    return (index & 0xFF) < bar.parts.size() ? &bar.parts[index & 0xFF] : nullptr;
}

LRESULT SetText(StatusBar& bar, WPARAM wParam, LPARAM lParam)
{
    PartText* part = PartAt(bar, wParam);
    if (!part)
        return FALSE;
    part->type = static_cast<UINT>(wParam & 0xFF00);
    part->ownerData = (part->type & SBT_OWNERDRAW) != 0 ? lParam : 0;
    part->text = (part->type & SBT_OWNERDRAW) == 0 && lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    (void)InvalidateRect(bar.Window(), nullptr, TRUE);
    return TRUE;
}

LRESULT GetText(StatusBar& bar, WPARAM index, LPARAM buffer)
{
    const PartText* part = PartAt(bar, index);
    if (!part)
        return 0;
    if ((part->type & SBT_OWNERDRAW) != 0)
        return part->ownerData;
    if (buffer)
        std::memcpy(reinterpret_cast<char*>(buffer), part->text.c_str(), part->text.size() + 1);
    return MAKELONG(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->type));
}

LRESULT SetParts(StatusBar& bar, WPARAM count, LPARAM rights)
{
    if (count == 0 || count > MAX_PARTS || !rights)
        return FALSE;
    const int* given = reinterpret_cast<const int*>(rights);
    bar.rights.assign(given, given + count);
    bar.parts.resize(count);
    (void)InvalidateRect(bar.Window(), nullptr, TRUE);
    return TRUE;
}

LRESULT GetParts(const StatusBar& bar, WPARAM count, LPARAM rights)
{
    if (rights) {
        const std::size_t copied = std::min<std::size_t>(count, bar.rights.size());
        std::copy_n(bar.rights.begin(), copied, reinterpret_cast<int*>(rights));
    }
    return static_cast<LRESULT>(bar.rights.size());
}

LRESULT GetRect(const StatusBar& bar, WPARAM index, LPARAM rect)
{
    if (!rect || (!bar.simpleMode && index >= bar.parts.size()))
        return FALSE;
    *reinterpret_cast<RECT*>(rect) = PartRect(bar, static_cast<int>(index));
    return TRUE;
}

// The grip sizes the top-level window when that window can be sized and is not maximised.
bool GripSizesParent(HWND window)
{
    const HWND root = GetAncestor(window, GA_ROOT);
    return HasGrip(window) && root && root != window && (GetWindowLongA(root, GWL_STYLE) & WS_THICKFRAME) != 0 &&
           !IsZoomed(root);
}

LRESULT HitTest(HWND window, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    (void)ScreenToClient(window, &point);
    const RECT client = ClientOf(window);
    const RECT grip{client.right - GripSize(), client.bottom - GripSize(), client.right, client.bottom};
    if (GripSizesParent(window) && PtInRect(&grip, point))
        return HTBOTTOMRIGHT;
    return DefWindowProcA(window, WM_NCHITTEST, 0, lParam);
}

} // namespace

LRESULT StatusBar::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = Window();
    switch (message) {
    case WM_CREATE:
        if (const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam); create->lpszName)
            parts[0].text = create->lpszName;
        Reposition(*this);
        return 0;
    case WM_SIZE:
        Reposition(*this);
        (void)InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(window, reinterpret_cast<HDC>(wParam), [&](HDC dc) { Paint(*this, dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        (void)InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0)
            (void)InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    case WM_SETTEXT:
        parts[0].text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        parts[0].type &= ~SBT_OWNERDRAW;
        (void)InvalidateRect(window, nullptr, TRUE);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_NCHITTEST:
        return HitTest(window, lParam);
    case WM_NCLBUTTONDOWN:
        if (wParam == static_cast<WPARAM>(HTBOTTOMRIGHT))
            return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    case SB_SETTEXTA:
        return SetText(*this, wParam, lParam);
    case SB_GETTEXTA:
        return GetText(*this, wParam, lParam);
    case SB_GETTEXTLENGTHA:
        return GetText(*this, wParam, 0);
    case SB_SETPARTS:
        return SetParts(*this, wParam, lParam);
    case SB_GETPARTS:
        return GetParts(*this, wParam, lParam);
    case SB_GETBORDERS:
        if (lParam) {
            int* borders = reinterpret_cast<int*>(lParam);
            borders[0] = 0;
            borders[1] = VERTICAL_BORDER;
            borders[2] = PART_GAP;
        }
        return TRUE;
    case SB_SETMINHEIGHT:
        minHeight = static_cast<int>(wParam);
        return 0;
    case SB_SIMPLE:
        simpleMode = wParam != 0;
        (void)InvalidateRect(window, nullptr, TRUE);
        return 0;
    case SB_ISSIMPLE:
        return simpleMode ? TRUE : FALSE;
    case SB_GETRECT:
        return GetRect(*this, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterStatusBarClass()
{
    (void)RegisterControlInstanceClass<StatusBar>(STATUSCLASSNAMEA, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
