#include "platform/classlib/data/DatabaseSchema.h"

#include <mutex>

namespace {

// Queries on worker threads may open a database while the main thread starts up.
std::mutex& SchemaLock()
{
    static std::mutex lock;
    return lock;
}

std::string& Schema()
{
    static std::string schema;
    return schema;
}

} // namespace

void RegisterDatabaseSchema(std::string_view schemaSql)
{
    const std::lock_guard guard(SchemaLock());
    Schema() = schemaSql;
}

std::string RegisteredDatabaseSchema()
{
    const std::lock_guard guard(SchemaLock());
    return Schema();
}
