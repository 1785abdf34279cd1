#include "grid/tools/DataSetValuesGx.h"

#include "GridToolsFixture.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBFields.h"

#include <gtest/gtest.h>

namespace {

using DataSetValues = GridToolsFixture;

TEST_F(DataSetValues, ValueListIsSortedDistinctAndLeavesTheDataSetWhereItWas)
{
    TDatasetFieldValueListGx list;
    list.ChangeDataSet(m_query.get());
    list.ChangeFieldName("CITY");
    m_query->SetRecNo(2);
    EXPECT_EQ(list.ValueStrings().Text(), "Annapolis\r\nLondon\r\nOslo\r\nParis\r\n");
    EXPECT_EQ(m_query->RecNo(), 2);
    EXPECT_FALSE(m_query->ControlsDisabled());

    // Read again once the data changed, and only then.
    (void)m_query->Locate("NAME", Variant("Bob"), {});
    m_query->Edit();
    m_query->FieldByName("CITY")->SetAsString("Bergen");
    m_query->Post();
    EXPECT_EQ(list.ValueStrings().Text(), "Annapolis\r\nBergen\r\nOslo\r\nParis\r\n");

    list.ChangeFieldName("MISSING");
    EXPECT_EQ(list.ValueStrings().Count(), 0);
    m_query->Close();
    list.ChangeFieldName("CITY");
    EXPECT_EQ(list.ValueStrings().Count(), 0);
}

TEST_F(DataSetValues, FieldListsNameTheMissingFieldAndTheComponent)
{
    std::vector<TField*> fields;
    FieldListToArray(*m_query, m_grid, "NAME; CITY", fields);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1]->FieldName(), "CITY");
    m_grid->SetName("People");
    try {
        FindFieldList(nullptr, *m_query, m_grid, "NAME;TOWN");
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "People: Field 'TOWN' not found");
    }
}

TEST_F(DataSetValues, SetDataSetFieldsValueSetsSeveralOrClearsThem)
{
    m_query->SetRecNo(1);
    m_query->Edit();
    SetDataSetFieldsValue(*m_query, "NAME;CITY", VarArrayOf({Variant("Eve"), Variant("Rome")}));
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Eve");
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "Rome");
    SetDataSetFieldsValue(*m_query, "NAME;CITY", Null());
    EXPECT_TRUE(m_query->FieldByName("NAME")->IsNull());
    EXPECT_TRUE(m_query->FieldByName("CITY")->IsNull());
    m_query->Cancel();
}

} // namespace
