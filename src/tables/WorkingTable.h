#pragma once

#include "platform/DbfWriter.h"

#include <string_view>

namespace tqz::tables {

// One of the six working tables with its fields and no rows, built in memory.
dbf::TableWriter newWorkingTable(std::string_view name);

} // namespace tqz::tables
