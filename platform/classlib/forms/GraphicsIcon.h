#pragma once

#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/Icons.h"

#include <cstdint>
#include <vector>

// An icon of an .ico file, which may hold several images: the one nearest the system icon size
// (the deepest colours among equals) becomes Handle. The file is kept as loaded and saved back
// unchanged; an icon given as a handle saves as a one-image, 32-bit file. Icons are always
// transparent (their mask) and cannot be resized. Broken files raise EInvalidGraphic "Invalid
// icon" and leave the icon as it was.
class TIcon : public TGraphic {
    CLASSLIB_DECLARE_CLASS;

    TIcon();
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] bool Empty() const override { return m_handle == nullptr; }
    [[nodiscard]] int Width() const override { return m_width; }
    // Raises EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int width) override;
    [[nodiscard]] int Height() const override { return m_height; }
    void SetHeight(int height) override;
    [[nodiscard]] bool Transparent() const override { return true; }

    // Owned by the icon; null when empty.
    [[nodiscard]] HICON Handle() const { return m_handle; }
    // Takes ownership of `icon` (null empties the icon).
    void SetHandle(HICON icon);
    // Gives the handle to the caller and empties the icon.
    [[nodiscard]] HICON ReleaseHandle();
    // The number of images of the file the icon came from (1 for a handle).
    [[nodiscard]] int ImageCount() const;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;

private:
    void Adopt(HICON icon, std::vector<std::uint8_t> file);

    HICON m_handle = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_file;
};

// Registers TIcon for ".ico" in the picture registry and by class name for form data.
void RegisterIconGraphic();
