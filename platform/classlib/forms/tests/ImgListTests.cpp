#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Two 4x4 images side by side: red with a fuchsia (see-through) corner, and blue.
std::unique_ptr<TBitmap> TwoImages()
{
    auto strip = std::make_unique<TBitmap>();
    strip->SetSize(8, 4);
    TCanvas* canvas = strip->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 4, 4));
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(4, 0, 8, 4));
    canvas->SetPixels(0, 0, clFuchsia);
    return strip;
}

std::unique_ptr<TBitmap> WhiteCanvas(int width, int height, TColor color = clWhite)
{
    auto target = std::make_unique<TBitmap>();
    target->SetSize(width, height);
    target->Canvas()->Brush()->SetColor(color);
    target->Canvas()->FillRect(Rect(0, 0, width, height));
    return target;
}

TEST(ImageList, MaskedImagesDrawTransparentlyWhereTheirKeyColourWas)
{
    TImageList list(nullptr, 4, 4);
    const auto strip = TwoImages();
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);

    const auto target = WhiteCanvas(12, 12);
    list.Draw(target->Canvas(), 2, 2, 0);
    list.Draw(target->Canvas(), 6, 6, 1);
    list.Draw(target->Canvas(), 0, 0, 2); // out of range: nothing
    TCanvas* canvas = target->Canvas();
    EXPECT_EQ(canvas->Pixels(2, 2), clWhite) << "the key colour is see-through";
    EXPECT_EQ(canvas->Pixels(3, 2), clRed);
    EXPECT_EQ(canvas->Pixels(9, 9), clBlue);
    EXPECT_EQ(canvas->Pixels(0, 0), clWhite);
    list.SetBkColor(clYellow);
    list.Draw(canvas, 2, 2, 0);
    EXPECT_EQ(canvas->Pixels(2, 2), clYellow) << "a background colour fills the see-through parts";

    auto green = TwoImages();
    green->Canvas()->Brush()->SetColor(clGreen);
    green->Canvas()->FillRect(Rect(1, 1, 4, 4));
    list.ReplaceMasked(1, green.get(), clFuchsia);
    const auto replaced = WhiteCanvas(4, 4);
    list.SetBkColor(clNone);
    list.Draw(replaced->Canvas(), 0, 0, 1);
    EXPECT_EQ(replaced->Canvas()->Pixels(0, 0), clWhite) << "replaced with its own mask";
    EXPECT_EQ(replaced->Canvas()->Pixels(2, 2), clGreen);
    EXPECT_EQ(replaced->Canvas()->Pixels(1, 0), clRed);
    EXPECT_THROW(list.ReplaceMasked(2, green.get(), clFuchsia), EInvalidOperation);

    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_THROW(list.Delete(0), EInvalidOperation);
}

TEST(ImageList, DisabledImagesAreEmbossedInTheButtonColours)
{
    TImageList list(nullptr, 6, 6);
    TBitmap image;
    image.SetSize(6, 6);
    image.Canvas()->Brush()->SetColor(clWhite);
    image.Canvas()->FillRect(Rect(0, 0, 6, 6));
    image.Canvas()->Brush()->SetColor(clNavy);
    image.Canvas()->FillRect(Rect(2, 2, 4, 4)); // a 2x2 dark square
    ASSERT_EQ(list.AddMasked(&image, clWhite), 0);

    const auto target = WhiteCanvas(10, 10, clLime);
    list.Draw(target->Canvas(), 0, 0, 0, false);
    TCanvas* canvas = target->Canvas();
    EXPECT_EQ(ColorToRGB(canvas->Pixels(2, 2)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(canvas->Pixels(3, 3)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(canvas->Pixels(4, 4)), ColorToRGB(clBtnHighlight)) << "the highlight below and right";
    EXPECT_EQ(canvas->Pixels(1, 1), clLime) << "the rest shows through";
    EXPECT_EQ(canvas->Pixels(5, 2), clLime);
}

TEST(ImageList, ChangeLinksHearOfChangesUntilTheyLeave)
{
    auto list = std::make_unique<TImageList>(nullptr, 4, 4);
    TChangeLink link;
    std::vector<TObject*> senders;
    link.SetOnChange(TNotifyEvent::FromFunction([&](TObject* sender) { senders.push_back(sender); }));
    list->RegisterChanges(&link);
    EXPECT_EQ(link.Sender(), list.get());

    const auto strip = TwoImages();
    (void)list->Add(strip.get(), nullptr);
    list->SetBkColor(clBlack);
    list->Clear();
    EXPECT_EQ(senders, (std::vector<TObject*>(3, list.get())));

    list->UnRegisterChanges(&link);
    EXPECT_EQ(link.Sender(), nullptr);
    (void)list->Add(strip.get(), nullptr);
    EXPECT_EQ(senders.size(), 3u);

    {
        TChangeLink shortLived;
        list->RegisterChanges(&shortLived);
    }
    list->RegisterChanges(&link);
    list.reset();
    EXPECT_EQ(link.Sender(), nullptr) << "a freed list lets its links go";
}

TEST(ImageList, FormDataKeepsImagesMasksAndSize)
{
    RegisterImageListClasses();
    TImageList list(nullptr, 4, 4);
    list.SetName("Images");
    const auto strip = TwoImages();
    ASSERT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);

    const std::string text = WriteComponentText(&list);
    EXPECT_NE(text.find("Width = 4"), std::string::npos);
    EXPECT_NE(text.find("Bitmap = {"), std::string::npos);
    std::unique_ptr<TComponent> read(ReadComponentText(text));
    auto* copy = dynamic_cast<TImageList*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->Width(), 4);

    const auto target = WhiteCanvas(4, 4);
    copy->Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clWhite) << "the mask came back";
    EXPECT_EQ(target->Canvas()->Pixels(1, 0), clRed);
    TBitmap second;
    copy->GetBitmap(1, &second);
    EXPECT_EQ(second.Width(), 4);
    EXPECT_EQ(second.Canvas()->Pixels(2, 2), clBlue);
}

TEST(ImageList, BrokenFormDataIsRefusedAndTheListKept)
{
    // Raw words as this (little-endian) machine stores them.
    struct Case {
        const char* name;
        std::vector<std::uint32_t> words;
    };
    TImageList list(nullptr, 4, 4);
    const auto strip = TwoImages();
    (void)list.Add(strip.get(), nullptr);
    for (const Case& test : {Case{"truncated header", {1, 4}},
                             Case{"zero width", {0, 0, 4}},
                             Case{"huge images", {1, 5000, 5000}},
                             Case{"too many images", {100000, 16, 16}},
                             Case{"images missing", {2, 4, 4}},
                             Case{"block longer than the data", {2, 4, 4, 0x7FFFFFFF}}}) {
        TMemoryStream stream;
        stream.WriteBuffer(test.words.data(), test.words.size() * sizeof(std::uint32_t));
        stream.SetPosition(0);
        EXPECT_THROW(list.ReadData(stream), EStreamError) << test.name;
        EXPECT_EQ(list.Count(), 2) << test.name;
    }
}

} // namespace
