#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsPicture.h"

#include <memory>

// A windowless control that shows a picture of any registered kind: at its own size from the
// top-left corner, or centred, or stretched to the control (keeping its proportions when asked,
// which also shrinks a picture too big for the control). Transparent makes the picture's
// transparent parts show what is behind (bitmaps take their transparent colour). AutoSize fits
// the control to the picture.
class TImage : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TImage(TComponent* owner);
    ~TImage() override;

    [[nodiscard]] TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(TPicture* picture) { m_picture->Assign(picture); }
    // The canvas of the picture's bitmap, which is made at the control's size when the picture is
    // empty; raises EInvalidOperation "Can only modify an image if it contains a bitmap" for other
    // kinds of picture.
    [[nodiscard]] TCanvas* Canvas();

    [[nodiscard]] bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    [[nodiscard]] bool Center() const { return m_center; }
    void SetCenter(bool center);
    [[nodiscard]] bool Proportional() const { return m_proportional; }
    void SetProportional(bool proportional);
    [[nodiscard]] bool Stretch() const { return m_stretch; }
    void SetStretch(bool stretch);
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);

    // Where the picture is drawn, in client coordinates.
    [[nodiscard]] TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);

    std::unique_ptr<TPicture> m_picture;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_proportional = false;
    bool m_stretch = false;
    bool m_transparent = false;
};

// Makes TImage known to form data.
void RegisterImageClasses();
