#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// A memory DC compatible with `compatible` (the screen when null) that holds `bitmap`, when one is
// given, for as long as it lives; the old bitmap is put back and the DC deleted on every path.
// Creation can fail: Valid() says whether there is a DC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr, HBITMAP bitmap = nullptr);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    [[nodiscard]] bool Valid() const { return m_dc != nullptr; }
    [[nodiscard]] HDC Handle() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};
