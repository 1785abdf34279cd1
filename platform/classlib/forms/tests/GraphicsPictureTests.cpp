#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/classlib/core/Streams.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A graphic that keeps the bytes it was given: its width is their count.
class TRecordingGraphic : public TGraphic {
    CLASSLIB_DECLARE_CLASS;

    TRecordingGraphic() = default;

    void Assign(const TPersistent* source) override
    {
        if (const auto* other = dynamic_cast<const TRecordingGraphic*>(source))
            Bytes = other->Bytes;
        else
            TGraphic::Assign(source);
    }
    [[nodiscard]] bool Empty() const override { return Bytes.empty(); }
    [[nodiscard]] int Width() const override { return static_cast<int>(Bytes.size()); }
    void SetWidth(int) override {}
    [[nodiscard]] int Height() const override { return 1; }
    void SetHeight(int) override {}
    void LoadFromStream(TStream& stream) override
    {
        Bytes.resize(static_cast<std::size_t>(stream.Size() - stream.Position()));
        stream.ReadBuffer(Bytes.data(), Bytes.size());
        Changed();
    }
    void SaveToStream(TStream& stream) override { stream.WriteBuffer(Bytes.data(), Bytes.size()); }

    std::string Bytes;

protected:
    void Draw(TCanvas&, const TRect&) override {}
};

CLASSLIB_IMPLEMENT_CLASS(TRecordingGraphic, TGraphic, DefaultCreator<TRecordingGraphic>, nullptr)

// A component with a picture, as an image control has.
class TPictureHolder : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}

    [[nodiscard]] TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(TPicture* picture) { m_picture->Assign(picture); }

private:
    std::unique_ptr<TPicture> m_picture = std::make_unique<TPicture>();
};

namespace {

void DescribePictureHolder(TClassBuilder& c)
{
    c.Object("Picture", &TPictureHolder::Picture, &TPictureHolder::SetPicture);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TPictureHolder, TComponent, ComponentCreator<TPictureHolder>, DescribePictureHolder)

namespace {

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterClass(TPictureHolder::StaticClass());
        TPicture::RegisterFileFormat("REC", "Recorded pictures", TRecordingGraphic::StaticClass());
    }
    void TearDown() override { TPicture::UnregisterGraphicClass(TRecordingGraphic::StaticClass()); }

    static std::unique_ptr<TPictureHolder> ReadHolder(const std::string& data)
    {
        std::unique_ptr<TComponent> root(
            ReadComponentText("object Holder: TPictureHolder\n  Picture.Data = {\n    " + data + "}\nend\n"));
        return std::unique_ptr<TPictureHolder>(dynamic_cast<TPictureHolder*>(root.release()));
    }
};

TEST_F(PictureTest, FormDataHandsTheBytesToTheNamedClass)
{
    // "\x11TRecordingGraphic" then the graphic's own bytes, "PNG!".
    const auto holder = ReadHolder("11545265636F7264696E674772617068696320504E4721");
    ASSERT_NE(holder, nullptr);
    auto* graphic = dynamic_cast<TRecordingGraphic*>(holder->Picture()->Graphic());
    ASSERT_NE(graphic, nullptr);
    EXPECT_EQ(graphic->Bytes, " PNG!");

    // Written back the same way.
    const std::string text = WriteComponentText(holder.get());
    EXPECT_NE(text.find("Picture.Data"), std::string::npos) << text;
    const auto again = ReadHolder(text.substr(text.find('{') + 1, text.find('}') - text.find('{') - 1));
    auto* copy = dynamic_cast<TRecordingGraphic*>(again->Picture()->Graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Bytes, " PNG!");
}

TEST_F(PictureTest, UnknownOrCutClassNamesFailToRead)
{
    // "\x07TNoSuch" and a length byte longer than the data.
    EXPECT_THROW(ReadHolder("07544E6F5375636800"), EReadError);
    EXPECT_THROW(ReadHolder("3054"), EReadError);
    TPicture::UnregisterGraphicClass(TRecordingGraphic::StaticClass());
    EXPECT_EQ(TPicture::GraphicClassForName("TRecordingGraphic"), nullptr);
    EXPECT_THROW(ReadHolder("11545265636F7264696E674772617068696320504E4721"), EReadError);
}

TEST_F(PictureTest, BitmapsTravelThroughFormDataWithTheirLength)
{
    TPictureHolder holder(nullptr);
    holder.SetName("Holder");
    TBitmap* bitmap = holder.Picture()->Bitmap();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(3, 2);
    bitmap->Canvas()->SetPixels(2, 1, clRed);
    const std::string text = WriteComponentText(&holder);
    // "\x07TBitmap", then the length of the BMP file, then "BM".
    EXPECT_NE(text.find("07544269746D6170"), std::string::npos) << text;

    std::unique_ptr<TComponent> root(ReadComponentText(text));
    auto* loaded = dynamic_cast<TPictureHolder*>(root.get());
    ASSERT_NE(loaded, nullptr);
    auto* copy = dynamic_cast<TBitmap*>(loaded->Picture()->Graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Width(), 3);
    EXPECT_EQ(copy->Canvas()->Pixels(2, 1), clRed);
}

TEST_F(PictureTest, RegistryByExtensionAndFilter)
{
    EXPECT_EQ(TPicture::GraphicClassForExtension("rec"), TRecordingGraphic::StaticClass());
    EXPECT_EQ(TPicture::GraphicClassForExtension(".BMP"), TBitmap::StaticClass());
    EXPECT_EQ(TPicture::GraphicClassForExtension("gif"), nullptr);
    const std::string filter = TPicture::GraphicFilter(TGraphic::StaticClass());
    EXPECT_NE(filter.find("Recorded pictures (*.rec)|*.rec"), std::string::npos) << filter;
    EXPECT_EQ(TPicture::GraphicFilter(TBitmap::StaticClass()), "All (*.bmp)|*.bmp|Bitmaps (*.bmp)|*.bmp");

    TempDir dir;
    const auto file = dir.WriteFile("logo.rec", "abc");
    TPicture picture;
    int changes = 0;
    picture.SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    picture.LoadFromFile(file.string());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_GT(changes, 0);
    EXPECT_THROW(picture.LoadFromFile((dir.Path() / "logo.gif").string()), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 3) << "a failed load keeps the picture";
}

TEST_F(PictureTest, AssignCopiesAndBitmapReplacesOtherKinds)
{
    TPicture first;
    TRecordingGraphic graphic;
    graphic.Bytes = "xyz";
    first.SetGraphic(&graphic);
    ASSERT_NE(first.Graphic(), &graphic) << "the picture keeps its own copy";

    TPicture second;
    second.Assign(&first);
    auto* copy = dynamic_cast<TRecordingGraphic*>(second.Graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Bytes, "xyz");

    // A change of the held graphic is the picture's change.
    int changes = 0;
    second.SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    copy->SetTransparent(true);
    EXPECT_EQ(changes, 1);

    TBitmap* bitmap = second.Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(second.Graphic(), bitmap);
    second.Assign(nullptr);
    EXPECT_EQ(second.Graphic(), nullptr);
}

TEST_F(PictureTest, BitmapAssignedFromAnotherGraphicIsDrawn)
{
    // A bitmap takes any graphic by drawing it; an empty one gives an empty bitmap.
    TRecordingGraphic graphic;
    TBitmap bitmap;
    bitmap.Assign(&graphic);
    EXPECT_TRUE(bitmap.Empty());
    graphic.Bytes = "ab";
    bitmap.Assign(&graphic);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Height(), 1);
}

} // namespace
