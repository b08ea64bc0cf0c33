#include "tables/WorkFolder.h"

#include "platform/Error.h"
#include "tables/ReplacementJournal.h"

#include <string>
#include <system_error>

namespace tqz::tables {

namespace fs = std::filesystem;

namespace {

FolderLock claim(const fs::path& path)
{
    requireWorkFolder(path);
    return FolderLock(path,
        "La carpeta de trabajo '" + path.string() + "' la está usando otra ejecución de TransQuorvaZentris");
}

} // namespace

WorkFolder::WorkFolder(const fs::path& path)
    : m_lock(claim(path))
{
    journal::recover(path);
}

void requireWorkFolder(const fs::path& path)
{
    std::error_code error;
    const auto status = fs::status(path, error);
    if (!fs::exists(status)) {
        fail("La carpeta de trabajo '" + path.string() + "' no existe");
    }
    if (!fs::is_directory(status)) {
        fail("La carpeta de trabajo '" + path.string() + "' no es una carpeta");
    }
}

} // namespace tqz::tables
