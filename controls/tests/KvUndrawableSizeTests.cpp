// Sizes a user can give a control that leave nothing to draw, or more than a bitmap may hold:
// the control paints what fits, or nothing, and never raises from a paint.

#include "controls/KvButton.h"
#include "controls/KvLabel.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"

#include "KvFormFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class UndrawableSize;

struct Row {
    const char* name;
    std::function<TControl*(UndrawableSize&)> make;
};

class UndrawableSize : public KvFormFixture, public ::testing::WithParamInterface<Row> {
public:
    template <class T>
    T* Make(int width, int height)
    {
        auto* control = Add<T>(TRect{10, 10, 10 + width, 10 + height});
        control->SetCaption("Caption");
        return control;
    }
    TKvPageControl* MakePages(int width, int height)
    {
        auto* pages = Make<TKvPageControl>(width, height);
        auto* sheet = new TKvTabSheet(m_form.get());
        sheet->SetCaption("One");
        sheet->SetPageControl(pages);
        return pages;
    }

protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvPageControlClasses();
    }
};

const Row ROWS[] = {
    {"EmptyCheckBox", [](UndrawableSize& f) { return f.Make<TKvCheckBox>(0, 0); }},
    {"FlatCheckBox", [](UndrawableSize& f) { return f.Make<TKvCheckBox>(80, 0); }},
    {"EmptyHotCheckBox",
     [](UndrawableSize& f) {
         auto* box = f.Make<TKvCheckBox>(0, 0);
         box->SetHotTrack(true);
         return box;
     }},
    {"WideCheckBox", [](UndrawableSize& f) { return f.Make<TKvCheckBox>(40000, 20); }},
    {"EmptyButton", [](UndrawableSize& f) { return f.Make<TKvButton>(0, 0); }},
    {"EmptyBitBtn", [](UndrawableSize& f) { return f.Make<TKvBitBtn>(0, 0); }},
    {"EmptyPageControl", [](UndrawableSize& f) { return f.MakePages(0, 0); }},
    {"WidePageControl", [](UndrawableSize& f) { return f.MakePages(40000, 100); }},
    {"NarrowPageControl", [](UndrawableSize& f) { return f.MakePages(3, 200); }},
    {"AutoSizedLabelWithALongCaption",
     [](UndrawableSize& f) {
         auto* label = f.Make<TKvLabel>(50, 20);
         label->SetAutoSize(true);
         label->SetCaption(std::string(5000, 'W'));
         return label;
     }},
};

// Shown and repainted, and painted into a DC of its own as a parent or a skin paints a control.
TEST_P(UndrawableSize, PaintsWithoutRaising)
{
    TControl* control = GetParam().make(*this);
    ShowForm();
    control->Repaint();
    Pump();
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    (void)ReleaseDC(nullptr, screen);
    EXPECT_NO_THROW(control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc)));
    (void)DeleteDC(dc);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
    m_errors.clear();
}

INSTANTIATE_TEST_SUITE_P(EveryControl, UndrawableSize, ::testing::ValuesIn(ROWS),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
