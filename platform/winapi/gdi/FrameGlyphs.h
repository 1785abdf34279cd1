#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <vector>

// A one-bit picture painted in one colour: the check marks, arrows and caption symbols of the
// frame controls, built at the size the control's rectangle asks for.
class Glyph {
public:
    Glyph(int width, int height);

    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    [[nodiscard]] bool At(int x, int y) const;
    // Both ignore pixels outside the glyph.
    void Set(int x, int y, bool on = true);
    void Fill(int left, int top, int right, int bottom, bool on = true);
    // Sets the pixels set in `other` placed at (x, y).
    void Add(const Glyph& other, int x, int y);
    // Clears the pixels set in `other` (same size).
    void Remove(const Glyph& other);
    // Keeps the pixels above the anti-diagonal (upper left) or on and below it.
    void KeepHalf(bool upperLeft);
    [[nodiscard]] Glyph Transposed() const;
    [[nodiscard]] Glyph FlippedLeftRight() const;
    [[nodiscard]] Glyph FlippedUpDown() const;

    // Paints the set pixels in `colour` with the glyph's top-left at (x, y), one rectangle per run.
    void Paint(HDC dc, int x, int y, COLORREF colour) const;

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_bits;
};

enum class ArrowDirection { Up, Down, Left, Right };

// The classic check mark for a check box whose inside (inner edge excluded) is `inside` pixels:
// 7 x 7 with three-pixel strokes in the 9-pixel inside of a 13-pixel box.
[[nodiscard]] Glyph CheckMarkGlyph(int inside);
// A filled triangle with its point towards `direction`, `rows` deep (base 2 * rows - 1).
[[nodiscard]] Glyph ArrowGlyph(int rows, ArrowDirection direction);
// The pixels whose centres lie inside the circle of `diameter`.
[[nodiscard]] Glyph DiscGlyph(int diameter);
// Caption-button symbols, `height` tall (7 on a 14-pixel button).
[[nodiscard]] Glyph CloseGlyph(int height);
[[nodiscard]] Glyph MinimiseGlyph(int height);
[[nodiscard]] Glyph MaximiseGlyph(int height);
[[nodiscard]] Glyph RestoreGlyph(int height);
[[nodiscard]] Glyph HelpGlyph(int height);

// A brush of alternating pixels: `even` where x + y is even (from the DC's brush origin), `odd`
// elsewhere. The caller deletes it.
[[nodiscard]] HBRUSH CreateCheckerBrush(COLORREF even, COLORREF odd);
