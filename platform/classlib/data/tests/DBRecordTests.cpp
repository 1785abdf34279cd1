#include "platform/classlib/data/DBRecord.h"

#include <gtest/gtest.h>

namespace {

// Every kind of value a record may hold, each of which must read back with its type.
std::vector<Variant> EveryKind()
{
    return {Variant(),
            Variant::MakeNull(),
            Variant(-7),
            Variant(static_cast<long long>(1) << 40),
            Variant(2.5),
            Variant(Currency::FromScaled(-12345)),
            Variant(true),
            Variant(false),
            Variant::FromDateTime(45001.75),
            Variant::FromError(-2147352572),
            Variant(""),
            Variant("short"),
            Variant(std::string("a text well past any small-string buffer, with \xC3\xA9 in it")),
            Variant(std::string("nul\0inside", 10)),
            VarArrayOf({Variant(1), Variant("two")})};
}

void ExpectSame(const TRecordValues& record, const std::vector<Variant>& values)
{
    ASSERT_EQ(record.Count(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const Variant stored = record[i];
        EXPECT_EQ(stored.VType(), values[i].VType()) << "value " << i;
        if (VarIsArray(values[i])) {
            EXPECT_EQ(stored.Element(1).ToString(), "two");
        } else if (!VarIsClear(values[i]) && values[i].VType() != varError) {
            EXPECT_EQ(VarCompareValue(stored, values[i]), vrEqual) << "value " << i;
        }
        EXPECT_EQ(record.IsClear(i), VarIsClear(values[i])) << "value " << i;
    }
    EXPECT_EQ(record[9].ErrorCode(), -2147352572);
    EXPECT_EQ(record[13].ToString().size(), 10u);
}

}  // namespace

TEST(DBRecord, ValuesReadBackWithTheirTypesThroughChangesAndCopies)
{
    std::vector<Variant> values = EveryKind();
    TRecordValues record(values);
    ExpectSame(record, values);

    // Numbers replaced in place, texts and arrays moved around, each leaving the others intact.
    const std::pair<std::size_t, Variant> changes[] = {
        {2, Variant(99)},         {4, Variant("now text")},         {11, Variant(3.25)},
        {12, Variant("shorter")}, {10, Variant(std::string(40, 'x'))}, {14, Variant::MakeNull()},
        {0, VarArrayOf({Variant(5), Variant("two")})}};
    for (const auto& [index, value] : changes) {
        record.Set(index, value);
        values[index] = value;
    }
    values[14] = VarArrayOf({Variant(0), Variant("two")});
    record.Set(14, values[14]);
    ExpectSame(record, values);

    TRecordValues copy = record;
    record.Set(10, Variant("changed after the copy"));
    ExpectSame(copy, values);

    record = copy;
    record.Resize(values.size() + 2);
    EXPECT_TRUE(record.IsClear(values.size() + 1));
    record.Resize(values.size());
    ExpectSame(record, values);
    EXPECT_EQ(TRecordValues().Count(), 0u);
}

TEST(DBRecord, BuilderShortcutsStoreWhatTheirVariantsStore)
{
    TRecordValues::Builder builder;
    builder.AddNull();
    builder.AddInteger(-7);
    builder.AddInteger(2147483647);
    builder.AddBoolean(true);
    builder.AddBoolean(false);
    builder.AddText("");
    builder.AddText(std::string_view("nul\0inside", 10));
    builder.Add(VarArrayOf({Variant(1), Variant("two")}));
    const TRecordValues built = builder.Take();
    const std::vector<Variant> expected = {Variant::MakeNull(), Variant(-7),    Variant(2147483647),
                                           Variant(true),       Variant(false), Variant(""),
                                           Variant(std::string("nul\0inside", 10)),
                                           VarArrayOf({Variant(1), Variant("two")})};
    ASSERT_EQ(built.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(built[i].VType(), expected[i].VType()) << "value " << i;
        if (!VarIsArray(expected[i])) {
            EXPECT_EQ(VarCompareValue(built[i], expected[i]), vrEqual) << "value " << i;
        }
    }
    EXPECT_EQ(built[7].Element(1).ToString(), "two");

    // Take starts the next record afresh, and values gathered but never taken are released.
    builder.AddInteger(1);
    EXPECT_EQ(builder.Take().Count(), 1u);
    builder.Add(VarArrayOf({Variant(2)}));
}
