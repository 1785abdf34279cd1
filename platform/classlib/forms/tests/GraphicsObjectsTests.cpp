#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// A component that publishes the graphics objects the way controls do.
class TGraphicsHolder : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TGraphicsHolder(TComponent* owner) : TComponent(owner) {}

    [[nodiscard]] TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* font) { m_font->Assign(font); }
    [[nodiscard]] TPen* Pen() const { return m_pen.get(); }
    void SetPen(TPen* pen) { m_pen->Assign(pen); }
    [[nodiscard]] TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TBrush* brush) { m_brush->Assign(brush); }
    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* glyph) { m_glyph->Assign(glyph); }

private:
    std::unique_ptr<TFont> m_font = std::make_unique<TFont>();
    std::unique_ptr<TPen> m_pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> m_brush = std::make_unique<TBrush>();
    std::unique_ptr<TBitmap> m_glyph = std::make_unique<TBitmap>();
};

namespace {

void DescribeHolder(TClassBuilder& c)
{
    c.Object("Font", &TGraphicsHolder::Font, &TGraphicsHolder::SetFont);
    c.Object("Pen", &TGraphicsHolder::Pen, &TGraphicsHolder::SetPen);
    c.Object("Brush", &TGraphicsHolder::Brush, &TGraphicsHolder::SetBrush);
    c.Object("Glyph", &TGraphicsHolder::Glyph, &TGraphicsHolder::SetGlyph);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TGraphicsHolder, TComponent, ComponentCreator<TGraphicsHolder>, DescribeHolder)

namespace {

struct ChangeCounter {
    int count = 0;
    TNotifyEvent Event()
    {
        return TNotifyEvent::FromFunction([this](TObject*) { ++count; });
    }
};

TEST(GraphicsObjectsTest, OnChangeFiresOnlyForRealChanges)
{
    TFont font;
    TPen pen;
    TBrush brush;
    ChangeCounter fontChanges, penChanges, brushChanges;
    font.SetOnChange(fontChanges.Event());
    pen.SetOnChange(penChanges.Event());
    brush.SetOnChange(brushChanges.Event());

    font.SetName("Tahoma");
    font.SetName("Tahoma");
    font.SetStyle({fsBold});
    font.SetColor(clRed);
    font.SetSize(8); // the default height, -11
    EXPECT_EQ(fontChanges.count, 3);

    pen.SetWidth(1);
    pen.SetWidth(2);
    pen.SetMode(pmXor);
    EXPECT_EQ(penChanges.count, 2);

    brush.SetStyle(bsClear);
    brush.SetColor(clWhite); // same colour, but a clear brush turns solid again
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_EQ(brushChanges.count, 2);

    TFont copy;
    ChangeCounter copyChanges;
    copy.SetOnChange(copyChanges.Event());
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), "Tahoma");
    EXPECT_EQ(copy.Style(), TFontStyles{fsBold});
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copyChanges.count, 1);
}

TEST(GraphicsObjectsTest, FontSizeAndHeightConvertAt96Dpi)
{
    TFont font;
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
}

TEST(GraphicsObjectsTest, HandlesDescribeTheCurrentProperties)
{
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-13);
    font.SetStyle({fsBold, fsItalic});
    HFONT first = font.Handle();
    LOGFONTA logFont{};
    ASSERT_EQ(GetObject(first, sizeof logFont, &logFont), int(sizeof logFont));
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    EXPECT_EQ(logFont.lfHeight, -13);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(logFont.lfItalic);

    font.SetStyle({});
    HFONT second = font.Handle();
    EXPECT_EQ(GetObjectType(first), 0u) << "the old handle is freed on change";
    ASSERT_EQ(GetObject(second, sizeof logFont, &logFont), int(sizeof logFont));
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);

    TFont adopted;
    adopted.SetHandle(second);
    EXPECT_EQ(adopted.Name(), "Arial");
    EXPECT_EQ(adopted.Height(), -13);

    TPen pen;
    pen.SetColor(clBtnShadow);
    pen.SetStyle(psDot);
    LOGPEN logPen{};
    ASSERT_NE(GetObject(pen.Handle(), sizeof logPen, &logPen), 0);
    EXPECT_EQ(logPen.lopnColor, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(logPen.lopnStyle & PS_STYLE_MASK, UINT(PS_DOT));
    pen.SetWidth(3);
    ASSERT_NE(GetObject(pen.Handle(), sizeof logPen, &logPen), 0);
    EXPECT_EQ(logPen.lopnWidth.x, 3);

    TBrush brush;
    brush.SetStyle(bsClear);
    EXPECT_EQ(brush.Handle(), GetStockObject(NULL_BRUSH));
    brush.SetStyle(bsCross);
    LOGBRUSH logBrush{};
    ASSERT_NE(GetObject(brush.Handle(), sizeof logBrush, &logBrush), 0);
    EXPECT_EQ(logBrush.lbStyle, BS_HATCHED);
    EXPECT_EQ(logBrush.lbHatch, ULONG_PTR(HS_CROSS));
}

TEST(GraphicsObjectsTest, FormDataLoadsAndWritesFontPenAndBrush)
{
    RegisterClass(TGraphicsHolder::StaticClass());
    std::unique_ptr<TComponent> root(ReadComponentText(R"(object Holder: TGraphicsHolder
  Font.Charset = GB2312_CHARSET
  Font.Color = clBtnText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = [fsBold, fsUnderline]
  Pen.Color = clRed
  Pen.Mode = pmXor
  Pen.Style = psDot
  Pen.Width = 2
  Brush.Color = $00C0DCC0
  Brush.Style = bsClear
end
)"));
    auto* holder = dynamic_cast<TGraphicsHolder*>(root.get());
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(holder->Font()->Color(), clBtnText);
    EXPECT_EQ(holder->Font()->Name(), "Tahoma");
    EXPECT_EQ(holder->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(holder->Pen()->Color(), clRed);
    EXPECT_EQ(holder->Pen()->Mode(), pmXor);
    EXPECT_EQ(holder->Pen()->Style(), psDot);
    EXPECT_EQ(holder->Pen()->Width(), 2);
    EXPECT_EQ(holder->Brush()->Color(), clMoneyGreen);
    EXPECT_EQ(holder->Brush()->Style(), bsClear);

    const std::string text = WriteComponentText(holder);
    for (const char* line : {"Font.Charset = GB2312_CHARSET", "Font.Style = [fsBold, fsUnderline]",
                             "Pen.Mode = pmXor", "Brush.Style = bsClear", "Brush.Color = clMoneyGreen"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(text.find("Font.Size"), std::string::npos) << "Size is derived from Height";
    EXPECT_EQ(text.find("Pen.Width = 1"), std::string::npos);
}

} // namespace
