#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/HandleTable.h"
#include "platform/winapi/kernel/KernelObject.h"

namespace winapi_kernel {

// Kernel handles look like Win32's: multiples of four, the slot's generation in the high half.
class KernelHandles {
public:
    using Objects = HandleTable<KernelObject, HANDLE>;

    static Objects& Table()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static Objects& table = *new Objects(HandleLayout{.indexShift = 2, .indexBits = 30, .generationBits = 32});
        return table;
    }

    static HANDLE Add(std::shared_ptr<KernelObject> object)
    {
        ++object->m_handleCount;
        return Table().Add(std::move(object));
    }

    static std::shared_ptr<KernelObject> Remove(HANDLE handle)
    {
        auto object = Table().Remove(handle);
        if (object && --object->m_handleCount == 0)
            object->OnLastHandleClosed();
        return object;
    }
};

HANDLE NewHandle(std::shared_ptr<KernelObject> object)
{
    return KernelHandles::Add(std::move(object));
}

std::shared_ptr<KernelObject> LookupObject(HANDLE handle)
{
    auto object = KernelHandles::Table().Find(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

} // namespace winapi_kernel

BOOL CloseHandle(HANDLE hObject)
{
    if (!winapi_kernel::KernelHandles::Remove(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
