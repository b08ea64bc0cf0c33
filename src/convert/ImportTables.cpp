#include "convert/ImportTables.h"

#include "tables/Schemas.h"

#include <string>

namespace tqz::convert {

namespace {

dbf::Table tableIn(const std::filesystem::path& workDir, std::string_view name)
{
    return dbf::Table(workDir, std::string(name));
}

} // namespace

ImportTables::ImportTables(const std::filesystem::path& workDir)
    : m_soluc(tableIn(workDir, tables::soluc::kTable))
    , m_grupos(tableIn(workDir, tables::grupost::kTable))
    , m_profesores(tableIn(workDir, tables::proft::kTable))
    , m_aulas(tableIn(workDir, tables::aulat::kTable))
    , m_nomAsg(tableIn(workDir, tables::asignomt::kTable))
    , m_tramos(tableIn(workDir, tables::diashorast::kTable))
    , m_asig(tableIn(workDir, tables::asigt::kTable))
{
    // Should one of these fail, the members already opened close and unlock as they are destroyed.
    for (dbf::Table* table : { &m_soluc, &m_grupos, &m_profesores, &m_aulas, &m_nomAsg, &m_tramos }) {
        table->open(dbf::OpenMode::Exclusive);
        table->requireAllRows();
    }
}

dbf::Table& ImportTables::asig()
{
    if (!m_asig.isOpen()) {
        m_asig.open(dbf::OpenMode::Exclusive);
        m_asig.requireAllRows();
    }
    return m_asig;
}

void ImportTables::close()
{
    for (dbf::Table* table :
        { &m_soluc, &m_grupos, &m_profesores, &m_aulas, &m_nomAsg, &m_tramos, &m_asig }) {
        table->close();
    }
}

} // namespace tqz::convert
