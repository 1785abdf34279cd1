#include "grid/tools/ToolCtrlsGx.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <cmath>
#include <vector>

void DrawDottedLine(TCanvas& canvas, TPoint start, int length, bool phase, bool horizontal)
{
    if (((start.x + start.y) % 2 != 0) != phase) {
        (horizontal ? start.x : start.y) += 1;
        --length;
    }
    const int step = 2 * std::max(canvas.Pen()->Width(), 1);
    std::vector<POINT> points;
    for (int offset = 0; offset < length; offset += step) {
        const POINT dot = horizontal ? POINT{start.x + offset, start.y} : POINT{start.x, start.y + offset};
        points.push_back(dot);
        points.push_back(horizontal ? POINT{dot.x + 1, dot.y} : POINT{dot.x, dot.y + 1});
    }
    if (points.empty())
        return;
    const std::vector<DWORD> counts(points.size() / 2, 2);
    (void)PolyPolyline(canvas.Handle(), points.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

namespace {

bool LineUp(int kind) { return kind == 0 || kind == 1 || kind == 3 || kind == 4; }
bool LineDown(int kind) { return kind == 0 || kind == 2 || kind == 3 || kind == 5; }

void DrawConnectors(TCanvas& canvas, const TRect& rect, int kind, TPoint centre, bool phase)
{
    if (kind == 6 || kind == 9)
        DrawDottedLine(canvas, TPoint{centre.x, rect.top}, rect.bottom - rect.top, phase, false);
    if (kind >= 6 && kind <= 8)
        DrawDottedLine(canvas, centre, rect.right - centre.x, phase, true);
    if (kind == 7)
        DrawDottedLine(canvas, TPoint{centre.x, rect.top}, centre.y - rect.top, phase, false);
    if (kind == 8)
        DrawDottedLine(canvas, centre, rect.bottom - centre.y, phase, false);
}

void DrawExpandBox(TCanvas& canvas, const TRect& rect, int kind, TPoint centre, bool shift, double vScale, double hScale,
                   bool phase)
{
    const int halfWidth = static_cast<int>(std::lround(4 * hScale));
    const int halfHeight = static_cast<int>(std::lround(4 * vScale));
    TRect box{centre.x - halfWidth - (shift ? 1 : 0), centre.y - halfHeight, centre.x + halfWidth + 1,
              centre.y + halfHeight + 1};
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(box);
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FrameRect(box);
    canvas.Brush()->SetColor(clWindowText);
    const int insetX = static_cast<int>(std::lround(2 * hScale));
    const int insetY = static_cast<int>(std::lround(2 * vScale));
    canvas.FillRect(TRect{box.left + insetX, centre.y, box.right - insetX, centre.y + 1});
    if (kind >= 3)
        canvas.FillRect(TRect{centre.x, box.top + insetY, centre.x + 1, box.bottom - insetY});
    DrawDottedLine(canvas, TPoint{box.right, centre.y}, rect.right - box.right, phase, true);
    if (LineUp(kind))
        DrawDottedLine(canvas, TPoint{centre.x, rect.top}, box.top - rect.top, phase, false);
    if (LineDown(kind))
        DrawDottedLine(canvas, TPoint{centre.x, box.bottom}, rect.bottom - box.bottom, phase, false);
}

} // namespace

void DrawTreeLines(TCanvas& canvas, TRect rect, int kind, bool shift, double verticalScale, double horizontalScale,
                   bool phase)
{
    const TPoint centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetColor(clBtnShadow);
    if (kind >= 6)
        DrawConnectors(canvas, rect, kind, centre, phase);
    else if (kind >= 0)
        DrawExpandBox(canvas, rect, kind, centre, shift, verticalScale, horizontalScale, phase);
}
