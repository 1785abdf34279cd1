#include "platform/classlib/data/ADODB.h"

#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/data/SqliteDatabase.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <utility>

namespace {

void DescribeADOQuery(TClassBuilder& c)
{
    c.String("ConnectionString", &TADOQuery::ConnectionString, &TADOQuery::SetConnectionString);
    c.Object("SQL", &TADOQuery::SQL, &TADOQuery::SetSQL);
}

std::string QuoteIdentifier(std::string_view name)
{
    return "\"" + StringReplace(name, "\"", "\"\"", rfReplaceAll) + "\"";
}

std::string Unquote(std::string value)
{
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool Contains(const std::string& upperType, std::string_view word)
{
    return upperType.find(word) != std::string::npos;
}

int DeclaredSize(const std::string& type)
{
    const std::size_t open = type.find('(');
    if (open == std::string::npos)
        return 0;
    return StrToIntDef(Trim(type.substr(open + 1, type.find(')', open) - open - 1)), 0);
}

TFieldType TypeOfValue(const Variant& value)
{
    switch (value.VType()) {
    case varInteger:
    case varInt64:
        return ftLargeint;
    case varDouble:
        return ftFloat;
    default:
        return ftWideString;
    }
}

TFieldDef DefineColumn(const TSqlColumn& column, const Variant& sample)
{
    const std::string type = UpperCase(column.DeclaredType);
    TFieldDef def{column.Name, ftWideString, 0, false};
    const int size = DeclaredSize(type);
    if (type.empty())
        def.DataType = TypeOfValue(sample);
    else if (Contains(type, "BIT") || Contains(type, "BOOL") || Contains(type, "YESNO"))
        def.DataType = ftBoolean;
    else if (Contains(type, "DATE") || Contains(type, "TIME"))
        def.DataType = ftDateTime;
    else if (Contains(type, "MEMO") || Contains(type, "NOTE") || Contains(type, "LONGTEXT") ||
             (Contains(type, "TEXT") && size == 0))
        def.DataType = ftMemo;
    else if (Contains(type, "CHAR") || Contains(type, "TEXT"))
        def.DataType = ftWideString;
    else if (Contains(type, "COUNTER") || Contains(type, "AUTOINC"))
        def.DataType = ftAutoInc;
    else if (Contains(type, "BIGINT"))
        def.DataType = ftLargeint;
    else if (Contains(type, "SMALLINT") || Contains(type, "SHORT") || Contains(type, "TINYINT") || Contains(type, "BYTE"))
        def.DataType = ftSmallint;
    else if (Contains(type, "INT") || Contains(type, "LONG"))
        def.DataType = ftInteger;
    else if (Contains(type, "MONEY") || Contains(type, "CURRENCY"))
        def.DataType = ftCurrency;
    else if (Contains(type, "REAL") || Contains(type, "FLOA") || Contains(type, "DOUB") || Contains(type, "NUM") ||
             Contains(type, "DEC"))
        def.DataType = ftFloat;
    if (def.DataType == ftWideString)
        def.Size = size > 0 ? size : 255;
    return def;
}

// The stored value in the type of its field, taken straight from the row; `stored` is what
// reader.Type(column) gave.
Variant ReadStored(const TSqlReader& reader, int column, TSqlReader::TValueType stored, TFieldType type)
{
    if (stored == TSqlReader::vtNull)
        return Variant::MakeNull();
    const bool isText = stored == TSqlReader::vtText;
    try {
        switch (type) {
        case ftBoolean: {
            if (!isText)
                return Variant(reader.Value(column, stored).ToDouble() != 0);
            const std::string_view text = reader.Text(column);
            return Variant(SameText(text, "true") || text == "-1");
        }
        case ftDateTime: {
            if (!isText)
                return Variant::FromDateTime(reader.Value(column, stored).ToDouble());
            TDateTime when;
            return TryIsoToDateTime(reader.Text(column), when) ? Variant::FromDateTime(when) : Variant::MakeNull();
        }
        case ftSmallint:
        case ftInteger:
        case ftAutoInc:
            return Variant(reader.Value(column, stored).ToInteger());
        case ftLargeint:
            return Variant(static_cast<long long>(reader.Value(column, stored).ToInt64()));
        case ftFloat:
        case ftCurrency:
            return Variant(reader.Value(column, stored).ToDouble());
        default:
            return isText ? Variant(reader.Text(column)) : Variant(reader.Value(column, stored).ToString());
        }
    } catch (const Exception&) {
        // A value the column's type cannot hold reads as its text rather than failing the query.
        return Variant(reader.Value(column, stored).ToString());
    }
}

// The types ReadStored gives text for, as it lies in the row when it is stored as text.
bool ReadsAsText(TFieldType type)
{
    switch (type) {
    case ftBoolean:
    case ftDateTime:
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
        return false;
    default:
        return true;
    }
}

bool HoldsInteger(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftAutoInc;
}

// Adds ReadStored's value to the record. The values most rows are made of (Null, text in a text
// field, integers in integer and Boolean fields) go in without Variants, which cost more than
// reading them.
void AddStored(TRecordValues::Builder& record, const TSqlReader& reader, int column, TFieldType type)
{
    const TSqlReader::TValueType stored = reader.Type(column);
    if (stored == TSqlReader::vtNull) {
        record.AddNull();
        return;
    }
    if (stored == TSqlReader::vtText && ReadsAsText(type)) {
        record.AddText(reader.Text(column));
        return;
    }
    if (stored == TSqlReader::vtInteger) {
        const std::int64_t integer = reader.Integer(column);
        if (type == ftBoolean) {
            record.AddBoolean(integer != 0);
            return;
        }
        if (HoldsInteger(type) && std::in_range<int>(integer)) {
            record.AddInteger(static_cast<int>(integer));
            return;
        }
    }
    record.Add(ReadStored(reader, column, stored, type));
}

}  // namespace

// Where the rows come from: the one table, its key column's place in the result, and which
// result columns (after the key is taken out) are that table's own.
struct TADOQuery::Source {
    std::string Table;
    std::string KeyColumn;
    std::vector<std::string> Origins;  // per field def: the table column, or "" for expressions
};

CLASSLIB_IMPLEMENT_CLASS(TADOQuery, TDataSet, ComponentCreator<TADOQuery>, DescribeADOQuery)

std::string DataSourceOfConnectionString(std::string_view connectionString)
{
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        const std::size_t end = std::min(connectionString.find(';', start), connectionString.size());
        const std::string_view part = connectionString.substr(start, end - start);
        const std::size_t equals = part.find('=');
        if (equals != std::string_view::npos && SameText(Trim(part.substr(0, equals)), "Data Source")) {
            std::string path = Unquote(std::string(part.substr(equals + 1)));
            std::replace(path.begin(), path.end(), '\\', '/');
            if (!path.empty())
                return path;
        }
        start = end + 1;
    }
    DatabaseError("The connection string names no Data Source");
}

TADOQuery::TADOQuery(TComponent* owner) : TDataSet(owner), m_sql(std::make_unique<TStringList>())
{
    m_sql->SetOnChange([this](TStringList&) {
        if (!IsLoading())
            Close();
    });
}

TADOQuery::~TADOQuery()
{
    m_sql->SetOnChange(nullptr);
    Destroying();
    Close();
}

void TADOQuery::SetConnectionString(const std::string& connectionString)
{
    if (connectionString == m_connectionString)
        return;
    Close();
    m_connectionString = connectionString;
}

TStrings* TADOQuery::SQL() const
{
    return m_sql.get();
}

void TADOQuery::SetSQL(TStrings* sql)
{
    m_sql->Assign(sql);
}

std::string TADOQuery::SqlText() const
{
    const std::string text = Trim(m_sql->Text());
    if (text.empty())
        DatabaseError(SMissingSQL, this);
    return text;
}

TSqliteDatabase& TADOQuery::Database()
{
    if (!m_database) {
        try {
            m_database = TSqliteDatabase::Open(DataSourceOfConnectionString(m_connectionString),
                                               RegisteredDatabaseSchema());
        } catch (const EDatabaseError& e) {
            DatabaseError(e.Message(), this);
        }
    }
    return *m_database;
}

int TADOQuery::ExecSQL()
{
    m_rowsAffected = Database().Execute(SqlText());
    return m_rowsAffected;
}

bool TADOQuery::CanModify() const
{
    return m_source && !m_source->Table.empty() && !m_source->KeyColumn.empty();
}

void TADOQuery::InternalOpen()
{
    TSqliteDatabase& database = Database();
    TSqlReader reader(database, SqlText());
    const std::vector<TSqlColumn>& columns = reader.Columns();
    auto source = std::make_unique<Source>();
    for (const TSqlColumn& column : columns) {
        if (column.Table.empty() || (!source->Table.empty() && column.Table != source->Table)) {
            source->Table.clear();
            break;
        }
        source->Table = column.Table;
    }
    int keyIndex = -1;
    if (!source->Table.empty()) {
        const std::string keyColumn = database.RowKeyColumn(source->Table);
        for (std::size_t i = 0; i < columns.size() && keyIndex < 0; ++i)
            if (!keyColumn.empty() && SameText(columns[i].Origin, keyColumn))
                keyIndex = static_cast<int>(i);
        if (keyIndex >= 0)
            source->KeyColumn = keyColumn;
    }

    std::vector<TFieldDef> defs;
    std::vector<int> resultColumns;  // per field def
    // An expression has no declared type: it takes the type of its first value that is not Null
    // (the rows before hold Null whatever the type).
    std::vector<bool> typed;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (static_cast<int>(i) == keyIndex)
            continue;
        defs.push_back(DefineColumn(columns[i], Variant()));
        resultColumns.push_back(static_cast<int>(i));
        typed.push_back(!columns[i].DeclaredType.empty());
        source->Origins.push_back(columns[i].Origin);
    }
    TRecordValues::Builder record;
    while (reader.Next()) {
        for (std::size_t field = 0; field < defs.size(); ++field) {
            const int column = resultColumns[field];
            if (!typed[field] && reader.Type(column) != TSqlReader::vtNull) {
                defs[field] = DefineColumn(columns[static_cast<std::size_t>(column)], reader.Value(column));
                typed[field] = true;
            }
            AddStored(record, reader, column, defs[field].DataType);
        }
        AddLoadedRecord(record.Take(),
                        keyIndex >= 0 ? std::optional<std::int64_t>(reader.Integer(keyIndex)) : std::nullopt);
    }
    SetFieldDefs(std::move(defs));
    m_source = std::move(source);
}

void TADOQuery::InternalClose()
{
    m_source.reset();
    m_database.reset();
}

void TADOQuery::InternalPost(TRecordData& record, bool inserting)
{
    if (!CanModify())
        DatabaseError(SDataSetReadOnly, this);
    TSqliteDatabase& database = Database();
    const std::string table = QuoteIdentifier(m_source->Table);
    const std::string key = QuoteIdentifier(m_source->KeyColumn);
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < m_source->Origins.size(); ++i)
        if (!m_source->Origins[i].empty() && !(inserting && record.Values.IsClear(i)))
            columns.push_back(i);

    std::string sql;
    std::vector<Variant> params;
    if (inserting && columns.empty()) {
        sql = "INSERT INTO " + table + " DEFAULT VALUES";
    } else if (inserting) {
        std::string names, marks;
        for (const std::size_t i : columns) {
            names += (names.empty() ? "" : ", ") + QuoteIdentifier(m_source->Origins[i]);
            marks += marks.empty() ? "?" : ", ?";
            params.push_back(record.Values[i]);
        }
        sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    } else {
        std::string assignments;
        for (const std::size_t i : columns) {
            assignments += (assignments.empty() ? "" : ", ") + QuoteIdentifier(m_source->Origins[i]) + " = ?";
            params.push_back(record.Values[i]);
        }
        if (assignments.empty())
            return;
        params.push_back(Variant(static_cast<long long>(record.Key)));
        sql = "UPDATE " + table + " SET " + assignments + " WHERE " + key + " = ?";
    }

    TSqlTransaction transaction(database);
    database.Execute(sql, params);
    if (inserting) {
        record.Key = database.LastInsertRowId();
        record.HasKey = true;
    }
    // Read the row back, so that defaults the table filled in show.
    std::string select;
    for (const std::string& origin : m_source->Origins)
        select += (select.empty() ? "" : ", ") + (origin.empty() ? std::string("NULL") : QuoteIdentifier(origin));
    std::vector<Variant> refreshed;
    {
        TSqlReader stored(database, "SELECT " + select + " FROM " + table + " WHERE " + key + " = ?",
                          {Variant(static_cast<long long>(record.Key))});
        if (stored.Next())
            for (std::size_t i = 0; i < m_source->Origins.size(); ++i)
                refreshed.push_back(m_source->Origins[i].empty()
                                        ? record.Values[i]
                                        : ReadStored(stored, static_cast<int>(i), stored.Type(static_cast<int>(i)),
                                                     FieldDefs()[i].DataType));
    }
    transaction.Commit();
    for (std::size_t i = 0; i < refreshed.size(); ++i)
        record.Values.Set(i, refreshed[i]);
}

void TADOQuery::InternalDelete(const TRecordData& record)
{
    if (!CanModify() || !record.HasKey)
        DatabaseError(SDataSetReadOnly, this);
    TSqliteDatabase& database = Database();
    TSqlTransaction transaction(database);
    database.Execute("DELETE FROM " + QuoteIdentifier(m_source->Table) + " WHERE " +
                         QuoteIdentifier(m_source->KeyColumn) + " = ?",
                     {Variant(static_cast<long long>(record.Key))});
    transaction.Commit();
}
