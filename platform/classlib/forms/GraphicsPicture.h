#pragma once

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <memory>
#include <string>
#include <string_view>

class TStream;
class TBitmap;

RTL_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

// A picture of some format (bitmap, PNG, ...). Descendants are made through their class
// reference, so each registers with DefaultCreator. Form data holds a graphic as the defined
// binary property "Data", which by default is exactly what SaveToStream writes.
class TGraphic : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    ~TGraphic() override;

    [[nodiscard]] virtual bool Empty() const = 0;
    [[nodiscard]] virtual int Width() const = 0;
    virtual void SetWidth(int width) = 0;
    [[nodiscard]] virtual int Height() const = 0;
    virtual void SetHeight(int height) = 0;
    [[nodiscard]] virtual bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool transparent);
    [[nodiscard]] bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    // The palette of an indexed image; 0 when it has none. Owned by the graphic.
    [[nodiscard]] virtual HPALETTE Palette() { return nullptr; }

    // The stream holds exactly one image, from its position on.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    // The image as clipboard data: its format, a data handle the caller owns until it hands it
    // to SetClipboardData, and a palette (0 for none). Loading copies the data: the handles stay
    // the clipboard's. A kind of graphic with no clipboard form, and a format a graphic does not
    // read, raise EInvalidGraphic "Unsupported clipboard format".
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

    void DefineProperties(TFiler& filer) override;
    // The "Data" of form data; by default the stream form of the image.
    virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
    virtual void WriteData(TStream& stream) { SaveToStream(stream); }

protected:
    friend class TCanvas;
    TGraphic() = default;
    // Draws the image stretched into `rect` of the canvas's DC.
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    // Marks the graphic modified and tells OnChange.
    virtual void Changed();

private:
    TNotifyEvent m_onChange;
    bool m_transparent = false;
    bool m_modified = false;
};

// A holder of one graphic of any registered kind, as image controls and buttons keep their
// pictures. Its form data "Data" is the graphic's class name (a length byte and the name)
// followed by that graphic's own "Data"; the class is looked up among the registered graphic
// classes, and an unknown name raises EInvalidGraphic "Unknown picture format %s".
class TPicture : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TPicture();
    ~TPicture() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] TGraphic* Graphic() const { return m_graphic.get(); }
    // Takes a copy of `graphic` (null empties the picture).
    void SetGraphic(TGraphic* graphic);
    // The graphic as a bitmap, replacing any other kind with an empty bitmap.
    [[nodiscard]] TBitmap* Bitmap();
    void SetBitmap(TBitmap* bitmap);
    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;

    // Loads by the file's extension (case-insensitive); raises EInvalidGraphic "Unknown picture
    // file extension (.%s)" for one nobody registered.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    // Replaces the graphic with one of the class registered for `format`, read from `data`;
    // raises EInvalidGraphic "Unsupported clipboard format" for a format nobody registered.
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    // The graphic's clipboard form; a null `data` when the picture is empty.
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

    void DefineProperties(TFiler& filer) override;

    // The clipboard registry: the graphic class that reads a clipboard format (registering a
    // format again replaces its class). TBitmap is registered for CF_BITMAP and CF_DIB.
    static void RegisterClipboardFormat(UINT format, TClass graphicClass);
    [[nodiscard]] static bool SupportsClipboardFormat(UINT format);

    // The picture registry: a graphic class by file extension (without the dot) and by class
    // name. Registering an extension again replaces its class; TBitmap is registered as "bmp".
    static void RegisterFileFormat(const std::string& extension, const std::string& description, TClass graphicClass);
    // Removes the class and its descendants from both registries.
    static void UnregisterGraphicClass(TClass graphicClass);
    // Null when nobody registered it.
    [[nodiscard]] static TClass GraphicClassForExtension(std::string_view extension);
    [[nodiscard]] static TClass GraphicClassForName(std::string_view className);
    // "All (*.bmp;*.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|..." for open dialogs.
    [[nodiscard]] static std::string GraphicFilter(TClass graphicClass);

private:
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);
    void ReplaceGraphic(std::unique_ptr<TGraphic> graphic);
    void GraphicChanged(TObject*);

    std::unique_ptr<TGraphic> m_graphic;
    TNotifyEvent m_onChange;
};

// A new, empty graphic of a registered class; raises EInvalidGraphic for a class that is not a
// graphic.
[[nodiscard]] std::unique_ptr<TGraphic> CreateGraphic(TClass graphicClass);
