#pragma once

#include "platform/winapi/gdi/Gdi.h"

#include <utility>

// Small owners for what drawing code creates and selects, so that no path (an early return, an
// exception from a handler) leaks an object or leaves a DC holding one. Each is the whole of a
// save-and-restore or create-and-delete pair; none of them does anything a plain call would not.

// Owns one GDI object created by the caller (a font, pen, brush, bitmap, region or palette) and
// deletes it when it goes. Stock and system objects may be held too: DeleteObject leaves them be.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    [[nodiscard]] Handle Get() const { return m_handle; }
    [[nodiscard]] explicit operator bool() const { return m_handle != nullptr; }

    // Hands the object over; the caller deletes it.
    [[nodiscard]] Handle Release() { return std::exchange(m_handle, nullptr); }

    // Deletes the object held, if any, and holds `handle` instead.
    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            (void)DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

// Selects an object into a DC for a scope and puts back what was selected before. A null object
// or DC selects nothing and restores nothing.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectionGuard()
    {
        if (m_old)
            (void)SelectObject(m_dc, m_old);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

    // The object that was selected before (null when nothing was selected).
    [[nodiscard]] HGDIOBJ Previous() const { return m_old; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Saves a DC's whole state (objects, colours, modes, origins, clipping) for a scope and restores
// it on every path.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_saved(dc ? SaveDC(dc) : 0) {}
    ~SavedDC()
    {
        if (m_saved)
            (void)RestoreDC(m_dc, m_saved);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};
