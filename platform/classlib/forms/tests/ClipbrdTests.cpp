#include "ControlsTestClasses.h"

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsPicture.h"

#include <cstring>

namespace {

using ClipbrdTest = ControlsFixture;

TEST_F(ClipbrdTest, TextRoundTripsThroughTheClipboard)
{
    Clipboard()->SetAsText("Norra 1x\r\nline two");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "Norra 1x\r\nline two");

    char buffer[6];
    EXPECT_EQ(Clipboard()->GetTextBuf(buffer, sizeof(buffer)), 5);
    EXPECT_STREQ(buffer, "Norra");
    Clipboard()->SetTextBuf("short");
    EXPECT_EQ(Clipboard()->AsText(), "short");

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "");
}

TEST_F(ClipbrdTest, OneSessionHoldsSeveralFormatsAndARegisteredOneTravelsAsAHandle)
{
    const UINT format = RegisterClipboardFormatA("VCLDBIF");
    ASSERT_GE(format, CF_REGISTEREDFIRST);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(block), "\x01\x02\x03\x04", 4);
    (void)GlobalUnlock(block);

    Clipboard()->SetAsText("before");
    Clipboard()->Open();
    Clipboard()->Open(); // nested: only the outer pair counts
    Clipboard()->SetAsText("cells");
    Clipboard()->SetAsHandle(format, block);
    Clipboard()->Close();
    EXPECT_EQ(GetOpenClipboardWindow() != nullptr, true);
    Clipboard()->Close();
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    Clipboard()->Close(); // an extra Close does nothing

    EXPECT_EQ(Clipboard()->AsText(), "cells");
    ASSERT_TRUE(Clipboard()->HasFormat(format));
    const auto data = static_cast<HGLOBAL>(Clipboard()->GetAsHandle(format));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GlobalSize(data), 4u);
    bool formatListed = false;
    for (int i = 0; i < Clipboard()->FormatCount(); ++i)
        formatListed = formatListed || Clipboard()->Formats(i) == format;
    EXPECT_TRUE(formatListed);
    EXPECT_EQ(Clipboard()->Formats(Clipboard()->FormatCount()), 0u);
}

TEST_F(ClipbrdTest, AClipboardHeldByAnotherWindowCannotBeOpened)
{
    const HWND other = AllocateHWnd([](TMessage&) {});
    ASSERT_TRUE(OpenClipboard(other));
    try {
        Clipboard()->SetAsText("lost");
        ADD_FAILURE() << "no exception";
    } catch (const EClipboardException& error) {
        EXPECT_STREQ(error.what(), "Cannot open clipboard");
    }
    (void)CloseClipboard();
    DeallocateHWnd(other);
    Clipboard()->SetAsText("kept");
    EXPECT_EQ(Clipboard()->AsText(), "kept");
}

TEST_F(ClipbrdTest, ABitmapGoesThereAndComesBack)
{
    TBitmap source;
    source.SetPixelFormat(pf24bit);
    source.SetWidth(4);
    source.SetHeight(3);
    source.Canvas()->SetPixels(2, 1, clRed);
    Clipboard()->Assign(&source);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));

    TPicture picture;
    picture.Assign(Clipboard());
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(2, 1), clRed);

    Clipboard()->SetAsText("no picture");
    TBitmap target;
    EXPECT_THROW(target.Assign(Clipboard()), EInvalidGraphic);
}

} // namespace
