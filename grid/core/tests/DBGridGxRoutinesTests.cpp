#include "grid/core/DBGridGxRoutines.h"
#include "grid/core/InvalidGridOperationGx.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Text.h"
#include "tests/support/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace {

class GridRoutines : public GridDataFixture {};

class GridMessages : public ControlTestHost {};

} // namespace

TEST_F(GridRoutines, FieldValueAsInt32)
{
    Exec("INSERT INTO T (NAME, AMOUNT, QTY) VALUES ('7', 3e9, 12)");
    Exec("INSERT INTO T (NAME, AMOUNT, QTY) VALUES ('x', -2.75, NULL)");
    Show("SELECT * FROM T ORDER BY ID");
    EXPECT_EQ(FieldValueAsInt32(*m_query->FieldByName("QTY"), -5), 12);
    EXPECT_EQ(FieldValueAsInt32(*m_query->FieldByName("AMOUNT"), -5), -5) << "3e9 is outside 32 bits";
    EXPECT_EQ(FieldValueAsInt32(*m_query->FieldByName("NAME"), -5), -5) << "not a number field";
    m_query->Next();
    EXPECT_EQ(FieldValueAsInt32(*m_query->FieldByName("AMOUNT"), -5), -2);
    EXPECT_EQ(FieldValueAsInt32(*m_query->FieldByName("QTY"), -5), -5) << "null";

    std::vector<TField*> fields;
    EXPECT_TRUE(AllFieldsModifiable(fields));
    m_query->GetFieldList(fields, "NAME;QTY");
    EXPECT_TRUE(AllFieldsModifiable(fields));
    m_query->FieldByName("QTY")->SetReadOnly(true);
    EXPECT_FALSE(AllFieldsModifiable(fields));
}

TEST(GridRoutine, SmallHelpers)
{
    TRect rect{10, 20, 40, 30};
    SwapRectExtent(rect);
    EXPECT_EQ(rect.right, 20);
    EXPECT_EQ(rect.bottom, 50);
    EXPECT_EQ(MaxInt32(-3, 2), 2);
    EXPECT_EQ(MinInt32(-3, 2), -3);
    EXPECT_EQ(Choose(false, 1, 2), 2);
    EXPECT_THROW(RaiseGridFailure("no"), EInvalidGridOperationGx);
}

TEST(GridRoutine, WaitCursorNests)
{
    Screen->SetCursor(crDefault);
    EndWaitCursor();
    EXPECT_EQ(Screen->Cursor(), crDefault) << "an end without a begin does nothing";
    BeginWaitCursor();
    BeginWaitCursor();
    EndWaitCursor();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    EndWaitCursor();
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(GridMessages, DropPendingMessageKeepsAQuitRequest)
{
    PostMessageA(m_host, WM_USER + 2, 0, 0);
    DropPendingMessage(m_host, WM_USER + 2);
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, m_host, WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
    PostQuitMessage(3);
    DropPendingMessage(nullptr, WM_QUIT);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again";
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(GridMessages, MirroredCanvasDrawsFromTheRightEdge)
{
    TBitmap bitmap;
    bitmap.SetSize(20, 10);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, 20, 10));
    MirrorCanvasForRightToLeft(canvas, true, 20, 10);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 2, 10));
    MirrorCanvasForRightToLeft(canvas, false, 20, 10);
    EXPECT_EQ(canvas.Pixels(19, 5), clRed);
    EXPECT_EQ(canvas.Pixels(0, 5), clWhite);
}

TEST_F(GridMessages, TextMeasuredAgainstACell)
{
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas& canvas = *bitmap.Canvas();
    const int word = MeasureTextWidth(canvas, "word");
    EXPECT_GT(word, 0);
    EXPECT_GT(MeasureTextWidth(canvas, "word word"), word);
    int width = 0;
    int height = 0;
    const TRect wide{0, 0, 400, 20};
    EXPECT_FALSE(TextExceedsCell(DT_LEFT, canvas, 0, width, height, false, wide, "word word", 2));
    EXPECT_EQ(width, MeasureTextWidth(canvas, "word word"));
    const TRect narrow{0, 0, word + 4, 20};
    EXPECT_TRUE(TextExceedsCell(DT_LEFT, canvas, 0, width, height, false, narrow, "word word", 2)) << "too wide";
    EXPECT_TRUE(TextExceedsCell(DT_LEFT, canvas, 0, width, height, true, narrow, "word word", 2)) << "wrapped, too tall";
    const TRect tall{0, 0, word + 4, 4 * height};
    EXPECT_FALSE(TextExceedsCell(DT_LEFT, canvas, 0, width, height, true, tall, "word word", 2));
}
