#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/Gdi.h"

MemoryDC::MemoryDC(HDC compatible, HBITMAP bitmap) : m_dc(CreateCompatibleDC(compatible))
{
    if (m_dc && bitmap)
        m_old = SelectObject(m_dc, bitmap);
}

MemoryDC::~MemoryDC()
{
    if (!m_dc)
        return;
    if (m_old)
        (void)SelectObject(m_dc, m_old);
    (void)DeleteDC(m_dc);
}
