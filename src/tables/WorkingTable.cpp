#include "tables/WorkingTable.h"

#include "tables/Schemas.h"

#include <string>

namespace tqz::tables {

dbf::TableWriter newWorkingTable(std::string_view name)
{
    const auto& schema = schemaOf(name);
    return dbf::TableWriter(std::string(schema.name), schema.fields);
}

} // namespace tqz::tables
