#pragma once

#include <cstdint>
#include <span>

// Expands BMP run-length data (BI_RLE8 when bitsPixel is 8, BI_RLE4 when it is 4) into bottom-up
// DIB rows of width x height pixels padded to 4 bytes. `rows` must hold them all and come
// zero-filled: pixels the data passes over with a delta, an end of line or the end of the bitmap
// keep colour index 0. Damaged data is read the way Windows draws it: runs past a row's end are
// cut there, rows above the top are dropped and data that stops early leaves the rest untouched.
// Nothing is ever read or written out of bounds; the work is linear in the size of `packed`.
void ExpandDibRle(std::span<const std::uint8_t> packed, int bitsPixel, int width, int height,
                  std::span<std::uint8_t> rows);
