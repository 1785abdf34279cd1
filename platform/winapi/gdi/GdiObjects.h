#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <atomic>
#include <memory>

// The inside of the GDI object table, for the GDI's own files (the font engine adds fonts here).
// Programs use the Win32-shaped calls instead.
//
// A handle is an index plus a generation plus the object type, so a stale, deleted or made-up
// handle, or a handle of the wrong type, is recognised and the call fails as Win32 fails.
class GdiHandleObject : public std::enable_shared_from_this<GdiHandleObject> {
public:
    GdiHandleObject() = default;
    GdiHandleObject(const GdiHandleObject&) = delete;
    GdiHandleObject& operator=(const GdiHandleObject&) = delete;
    virtual ~GdiHandleObject() = default;

    // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, ... as GetObjectType reports it.
    [[nodiscard]] virtual DWORD Type() const = 0;
    // GetObject: copies at most `size` bytes of the object's description into `buffer` and returns
    // the bytes copied; a null buffer asks for the full size. 0 when the object has none.
    [[nodiscard]] virtual int Describe(int size, void* buffer) const;

    [[nodiscard]] HGDIOBJ Handle() const { return m_handle; }
    [[nodiscard]] bool IsStock() const { return m_stock; }
    // Whether some DC state (current or saved) holds the object.
    [[nodiscard]] bool IsSelected() const { return m_selectCount > 0; }

private:
    friend class GdiHandleTable;
    friend class SelectionRef;
    HGDIOBJ m_handle = nullptr;
    bool m_stock = false;
    bool m_deletePending = false;
    std::atomic<int> m_selectCount{0};
};

// The GDI object table, for the stand-in layers that add kinds of GDI objects (the window
// manager's regions).
namespace winapi_gdi {

// Enters `object` into the table and returns its new handle.
[[nodiscard]] HGDIOBJ NewGdiHandle(std::shared_ptr<GdiHandleObject> object);
// As NewGdiHandle, for a stock object: DeleteObject leaves it alone.
[[nodiscard]] HGDIOBJ NewStockHandle(std::shared_ptr<GdiHandleObject> object);
// The live object a handle names, or nullptr (last error ERROR_INVALID_HANDLE).
[[nodiscard]] std::shared_ptr<GdiHandleObject> LookupGdiObject(HGDIOBJ handle);

template <class T>
[[nodiscard]] std::shared_ptr<T> LookupGdi(HGDIOBJ handle)
{
    return std::dynamic_pointer_cast<T>(LookupGdiObject(handle));
}

// Removes a handle from the table (DeleteObject, DeleteDC). A selected object is only marked and
// goes when the last DC lets go of it, as Win32 does it; stock objects stay.
bool DeleteGdiHandle(HGDIOBJ handle);

// The 1 x 1 monochrome bitmap a new memory DC has selected (a stock object).
[[nodiscard]] HBITMAP DefaultBitmap();

} // namespace winapi_gdi

namespace winapi_gdi::detail {

// Provided by the font engine: the object behind the stock font `stockIndex` (SYSTEM_FONT,
// DEFAULT_GUI_FONT, ANSI_VAR_FONT, ...). Referenced weakly, so the GDI links without fonts; then
// the stock font indexes answer 0.
[[nodiscard]] std::shared_ptr<GdiHandleObject> CreateStockFont(int stockIndex);

} // namespace winapi_gdi::detail

// A DC's hold on a selected object: keeps it alive and counts it as selected, so DeleteObject
// only marks it while any DC state (current or saved) still holds it.
class SelectionRef {
public:
    SelectionRef() = default;
    explicit SelectionRef(std::shared_ptr<GdiHandleObject> object);
    SelectionRef(const SelectionRef& other);
    SelectionRef& operator=(const SelectionRef& other);
    ~SelectionRef();

    [[nodiscard]] GdiHandleObject* Get() const { return m_object.get(); }
    [[nodiscard]] const std::shared_ptr<GdiHandleObject>& Shared() const { return m_object; }
    [[nodiscard]] HGDIOBJ Handle() const { return m_object ? m_object->Handle() : nullptr; }
    template <class T>
    [[nodiscard]] T* As() const { return dynamic_cast<T*>(m_object.get()); }

private:
    void Release();
    std::shared_ptr<GdiHandleObject> m_object;
};
