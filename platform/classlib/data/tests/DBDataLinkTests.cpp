#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/core/StringLists.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A link that records whether it saw its data set's fields when it went inactive.
class TRecordingLink : public TDataLink {
public:
    bool SawActive = false;
    int FieldsWhenInactive = -1;

protected:
    void ActiveChanged() override
    {
        SawActive = Active();
        if (!Active() && DataSet())
            FieldsWhenInactive = DataSet()->FieldCount();
    }
};

} // namespace

TEST(DataLink, ClosingTheDataSetMakesItsLinksInactiveBeforeTheFieldsGo)
{
    TempDir dir;
    RegisterDatabaseSchema("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, V INTEGER);");
    TADOQuery query(nullptr);
    query.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (dir / "t.db").string());
    query.SQL()->SetText("SELECT * FROM T");
    TDataSource source(nullptr);
    source.SetDataSet(&query);
    TRecordingLink link;
    link.SetDataSource(&source);
    query.Open();
    EXPECT_TRUE(link.SawActive);
    query.Close();
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.FieldsWhenInactive, 1);
    link.SetDataSource(nullptr);
    RegisterDatabaseSchema({});
}
