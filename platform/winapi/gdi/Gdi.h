#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// The Win32 GDI calls (everything but text, which the font engine declares), with Win32
// semantics: coordinates are logical, a bad or stale handle makes the call fail with 0/FALSE.

// Device contexts.
[[nodiscard]] HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
[[nodiscard]] int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDc);
[[nodiscard]] int GetDeviceCaps(HDC dc, int index);
[[nodiscard]] COLORREF GetNearestColor(HDC dc, COLORREF color);
int SetMapMode(HDC dc, int mode);
[[nodiscard]] int GetMapMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT point);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT point);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetViewportExtEx(HDC dc, LPSIZE size);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetWindowExtEx(HDC dc, LPSIZE size);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
[[nodiscard]] HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL GetDCOrgEx(HDC dc, LPPOINT point);

// Colours and modes.
COLORREF SetTextColor(HDC dc, COLORREF color);
[[nodiscard]] COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
[[nodiscard]] COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
[[nodiscard]] int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
[[nodiscard]] UINT GetTextAlign(HDC dc);
int SetROP2(HDC dc, int rop2);
[[nodiscard]] int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
[[nodiscard]] int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
[[nodiscard]] int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC dc, LPPOINT point);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);

// Objects.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int size, LPVOID buffer) { return GetObjectA(object, size, buffer); }
[[nodiscard]] DWORD GetObjectType(HGDIOBJ object);
[[nodiscard]] HGDIOBJ GetStockObject(int index);
[[nodiscard]] HPEN CreatePen(int style, int width, COLORREF color);
[[nodiscard]] HPEN CreatePenIndirect(const LOGPEN* logPen);
[[nodiscard]] HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
[[nodiscard]] HBRUSH CreateSolidBrush(COLORREF color);
[[nodiscard]] HBRUSH CreateHatchBrush(int hatch, COLORREF color);
[[nodiscard]] HBRUSH CreatePatternBrush(HBITMAP bitmap);
[[nodiscard]] HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);

// Palettes (the screen is true colour: palettes only translate indexes and find nearest entries).
[[nodiscard]] HPALETTE CreatePalette(const LOGPALETTE* logPalette);
[[nodiscard]] UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);

// Bitmaps.
[[nodiscard]] HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
[[nodiscard]] HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
[[nodiscard]] HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset);
[[nodiscard]] HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                     const BITMAPINFO* info, UINT usage);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);

// Blits.
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, HBITMAP mask, int maskX,
             int maskY, DWORD rop4);
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent);
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);
int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
[[nodiscard]] COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);

// Lines and shapes.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const int* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);

// Regions.
[[nodiscard]] HRGN CreateRectRgn(int left, int top, int right, int bottom);
[[nodiscard]] HRGN CreateRectRgnIndirect(const RECT* rect);
[[nodiscard]] HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
[[nodiscard]] HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
[[nodiscard]] HRGN CreateEllipticRgnIndirect(const RECT* rect);
[[nodiscard]] HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
[[nodiscard]] HRGN CreatePolyPolygonRgn(const POINT* points, const int* counts, int polygons, int fillMode);
[[nodiscard]] HRGN ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data);
DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int OffsetRgn(HRGN region, int dx, int dy);
[[nodiscard]] BOOL PtInRegion(HRGN region, int x, int y);
[[nodiscard]] BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, LPRECT rect);
[[nodiscard]] BOOL EqualRgn(HRGN a, HRGN b);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
BOOL PaintRgn(HDC dc, HRGN region);
BOOL InvertRgn(HDC dc, HRGN region);

// Clipping.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, LPRECT rect);
int GetClipRgn(HDC dc, HRGN region);
[[nodiscard]] BOOL RectVisible(HDC dc, const RECT* rect);
[[nodiscard]] BOOL PtVisible(HDC dc, int x, int y);
