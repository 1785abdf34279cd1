#include "grid/tools/PropFilerGx.h"

#include "grid/core/DBGridGx.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TStoragePropertyInterceptor> PlainInterceptor(TPersistent* target)
{
    return std::make_unique<TStoragePropertyInterceptor>(target);
}

class PropFilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(40, 30, 320, 200);
    }
    void TearDown() override
    {
        m_form.reset();
        UnregisterAllDatasetFeaturesGx();
    }

    std::unique_ptr<TForm> m_form;
};

TEST_F(PropFilerTest, ASecondRegistrationForATargetReplacesTheFirstAndFormsHaveTheirs)
{
    EXPECT_EQ(PropertyReadHookFor(TCustomForm::StaticClass()), &TFormStoragePropertyInterceptor::Create);
    RegisterPropertyReadHook(TCustomForm::StaticClass(), PlainInterceptor);
    EXPECT_EQ(PropertyReadHookFor(TCustomForm::StaticClass()), &PlainInterceptor);
    UnregisterPropertyReadHook(TCustomForm::StaticClass(), TFormStoragePropertyInterceptor::Create);
    EXPECT_EQ(PropertyReadHookFor(TCustomForm::StaticClass()), &PlainInterceptor);
    UnregisterPropertyReadHook(TCustomForm::StaticClass(), PlainInterceptor);
    EXPECT_EQ(PropertyReadHookFor(TCustomForm::StaticClass()), nullptr);
    RegisterPropertyReadHook(TCustomForm::StaticClass(), TFormStoragePropertyInterceptor::Create);
}

TEST_F(PropFilerTest, StoredPlacementIsScaledToTheScreenAndWinsOverCentring)
{
    m_form->SetPosition(poScreenCenter);
    const auto interceptor = TFormStoragePropertyInterceptor::Create(m_form.get());
    EXPECT_EQ(GetOrdProp(*interceptor, "Width"), 320);
    EXPECT_EQ(GetOrdProp(*interceptor, "Left"), 40);
    // As stored settings are read: by name, through the published properties.
    SetOrdProp(*interceptor, "PixelsPerInch", 96);
    SetOrdProp(*interceptor, "Left", 80);
    SetOrdProp(*interceptor, "Top", 16);
    SetOrdProp(*interceptor, "Width", 400);
    SetOrdProp(*interceptor, "Height", 300);
    static_cast<TFormStoragePropertyInterceptor&>(*interceptor).ReadedAt(120);
    EXPECT_EQ(m_form->Width(), 500);
    EXPECT_EQ(m_form->Height(), 375);
    EXPECT_EQ(m_form->Left(), 100);
    EXPECT_EQ(m_form->Top(), 20);
    EXPECT_EQ(m_form->Position(), poDesigned);
}

TEST_F(PropFilerTest, SizeAloneKeepsCentringAndAStoredResolutionOfZeroIsNotScaled)
{
    m_form->SetPosition(poScreenCenter);
    TFormStoragePropertyInterceptor interceptor(m_form.get());
    interceptor.SetPixelsPerInch(0);
    interceptor.SetWidth(250);
    interceptor.ReadedAt(120);
    EXPECT_EQ(m_form->Width(), 250);
    EXPECT_EQ(m_form->Position(), poScreenCenter);
}

class TQueryFeatures : public TDatasetFeaturesGx {
public:
    using TDatasetFeaturesGx::TDatasetFeaturesGx;
};

TEST_F(PropFilerTest, FeaturesComeFromTheNearestRegisteredAncestor)
{
    TADOQuery query(nullptr);
    EXPECT_EQ(FeaturesForDataSet(&query), nullptr);
    auto base = std::make_unique<TQueryFeatures>(TDataSet::StaticClass());
    TDatasetFeaturesGx* const forBase = base.get();
    RegisterDatasetFeaturesGx(std::move(base));
    EXPECT_EQ(FeaturesForDataSet(&query), forBase);
    auto exact = std::make_unique<TQueryFeatures>(TADOQuery::StaticClass());
    TDatasetFeaturesGx* const forQuery = exact.get();
    RegisterDatasetFeaturesGx(std::move(exact));
    EXPECT_EQ(FeaturesForDataSet(&query), forQuery);
    EXPECT_EQ(FeaturesForDataSet(m_form.get()), nullptr);
    EXPECT_THROW(RegisterDatasetFeaturesGx(std::make_unique<TQueryFeatures>(TADOQuery::StaticClass())), Exception);
}

// Stored column widths and orders are read through the interceptors registered for the grid's
// columns: the order by field names in any letter case, a width as the share of a fitting grid.
TEST_F(PropFilerTest, GridColumnsReadTheirStoredWidthAndOrderThroughTheirInterceptors)
{
    TDBGridGx grid(nullptr);
    for (const char* name : {"NAME", "NUM", "SEL"}) {
        TColumnGx* column = grid.Columns().Add();
        column->SetFieldName(name);
        column->SetWidth(50);
    }
    const TStoragePropertyInterceptorClass columnsHook = PropertyReadHookFor(TDBGridColumnsGx::StaticClass());
    ASSERT_NE(columnsHook, nullptr);
    const auto order = columnsHook(&grid.Columns());
    EXPECT_EQ(GetStrProp(*order, "ColumnsIndex"), "\"NAME\",\"NUM\",\"SEL\"");
    SetStrProp(*order, "ColumnsIndex", "\"sel\",\"GONE\",\"Name\"");
    EXPECT_EQ(GetStrProp(*order, "ColumnsIndex"), "\"SEL\",\"NAME\",\"NUM\"");

    const TStoragePropertyInterceptorClass columnHook = PropertyReadHookFor(TColumnGx::StaticClass());
    ASSERT_NE(columnHook, nullptr);
    TColumnGx* num = grid.Columns().ColumnAt(2);
    const auto width = columnHook(num);
    SetOrdProp(*width, "Width", 80);
    EXPECT_EQ(num->Width(), 80);
    grid.SetAutoFitColWidths(true);
    SetOrdProp(*width, "Width", 30);
    EXPECT_EQ(num->FitBaseWidth(), 30) << "a fitting grid takes it as the column's share";
    EXPECT_EQ(num->Width(), 80);
}

} // namespace
