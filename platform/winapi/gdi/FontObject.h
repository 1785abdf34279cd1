#pragma once

#include "platform/winapi/gdi/FontInstance.h"
#include "platform/winapi/gdi/GdiObjects.h"

#include <memory>
#include <mutex>

class DeviceContext;

// The GDI object behind an HFONT: the logical font as created (what GetObject returns), realised
// on first use.
class FontObject : public GdiHandleObject {
public:
    explicit FontObject(const LOGFONTA& logFont) : m_logFont(logFont) {}

    [[nodiscard]] DWORD Type() const override { return OBJ_FONT; }
    [[nodiscard]] int Describe(int size, void* buffer) const override;

    [[nodiscard]] const LOGFONTA& LogFont() const { return m_logFont; }
    // The realised font; nullptr only when no font at all is installed.
    [[nodiscard]] std::shared_ptr<FontInstance> Instance() const;

private:
    LOGFONTA m_logFont;
    mutable std::once_flag m_realised;
    mutable std::shared_ptr<FontInstance> m_instance;
};

// The logical font each stock font index stands for; false for an index that is no font.
[[nodiscard]] bool StockLogFont(int stockIndex, LOGFONTA& logFont);

// The realised font selected into a DC (the system font when none is selected).
[[nodiscard]] std::shared_ptr<FontInstance> SelectedFont(const DeviceContext& dc);
