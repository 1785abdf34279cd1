#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/ImageLists.h"

#include <vector>

class TBitmap;
class TCustomImageList;
class TStream;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

[[nodiscard]] const TTypeInfo& DrawingStyleTypeInfo();
[[nodiscard]] const TTypeInfo& ImageTypeTypeInfo();

// A subscription to an image list's changes: whoever shows the list's images keeps one, registers
// it with RegisterChanges and is told through OnChange. A link still registered when it dies
// takes itself off the list.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    [[nodiscard]] TCustomImageList* Sender() const { return m_sender; }
    void SetSender(TCustomImageList* sender) { m_sender = sender; }
    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    virtual void Change();

private:
    TCustomImageList* m_sender = nullptr;
    TNotifyEvent m_onChange;
};

// Equal-sized images with masks over the image list of the gdi layer (Handle). Changing the size
// removes every image. Every change is announced to the registered links and OnChange.
//
// In form data the images are the binary property "Bitmap", laid out as: the image count, width
// and height (three little-endian 32-bit integers), then, when there are images, two blocks each
// made of a little-endian 32-bit byte length and a BMP file: the images side by side (32 bits),
// then their masks side by side (1 bit, 1 = transparent).
class TCustomImageList : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomImageList(TComponent* owner);
    TCustomImageList(TComponent* owner, int width, int height);
    ~TCustomImageList() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] HIMAGELIST Handle() const { return m_handle; }
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width) { SetSize(width, m_height); }
    [[nodiscard]] int Height() const { return m_height; }
    void SetHeight(int height) { SetSize(m_width, height); }
    void SetSize(int width, int height);
    [[nodiscard]] int Count() const;

    [[nodiscard]] TColor BkColor() const { return m_bkColor; }
    void SetBkColor(TColor color);
    [[nodiscard]] TColor BlendColor() const { return m_blendColor; }
    void SetBlendColor(TColor color);
    [[nodiscard]] TDrawingStyle DrawingStyle() const { return m_drawingStyle; }
    void SetDrawingStyle(TDrawingStyle style);
    [[nodiscard]] TImageType ImageType() const { return m_imageType; }
    void SetImageType(TImageType type);

    // Each returns the index of the first image added (as many as the bitmap's width holds), or -1.
    // A null mask makes the images opaque.
    int Add(TBitmap* image, TBitmap* mask);
    // The mask is made of the pixels of `maskColor`.
    int AddMasked(TBitmap* image, TColor maskColor);
    // Raise EInvalidOperation "Invalid ImageList Index" for an index out of range.
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws with DrawingStyle, ImageType, BkColor and BlendColor; a disabled image is drawn
    // embossed in the button highlight and shadow colours. An index out of range draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Makes `image` the list's size and draws the image onto it.
    void GetBitmap(int index, TBitmap* image);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

    void DefineProperties(TFiler& filer) override;
    // The "Bitmap" form data (see above); reading raises EReadError for data that does not hold.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;

protected:
    virtual void Change();

private:
    void CreateList(int width, int height);
    void DrawDisabled(HDC dc, int x, int y, int index);
    [[nodiscard]] UINT DrawFlags() const;

    HIMAGELIST m_handle = nullptr;
    int m_width = 16;
    int m_height = 16;
    TColor m_bkColor = clNone;
    TColor m_blendColor = clNone;
    TDrawingStyle m_drawingStyle = dsNormal;
    TImageType m_imageType = itImage;
    std::vector<TChangeLink*> m_links;
    TNotifyEvent m_onChange;
};

class TImageList : public TCustomImageList {
    CLASSLIB_DECLARE_CLASS;

    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
    TImageList(TComponent* owner, int width, int height) : TCustomImageList(owner, width, height) {}
};

// Makes TImageList known to form data.
void RegisterImageListClasses();
