#pragma once

#include "platform/DbfTable.h"

#include <filesystem>
#include <optional>

namespace tqz::convert {

// The tables a Quorvane-to-Zentris run reads. Each is opened exclusively and held for the whole
// run, so the timetabling program cannot change a table half-way through; whatever way the run
// ends, every one of them is closed and unlocked again, ASIGT included, so the timetabling program
// can open them as soon as the tool is done.
class ImportTables {
public:
    // Opens SOLUC, GRUPOST, PROFT, AULAT, ASIGNOMT and DIASHORAST, in this order. A table that is
    // missing, held by another program, or shorter than its header says (lessons would go missing
    // from the result without a word) fails naming it; the ones already opened are closed.
    explicit ImportTables(const std::filesystem::path& workDir);

    dbf::Table& soluc() { return m_soluc; }
    dbf::Table& grupos() { return m_grupos; }
    dbf::Table& profesores() { return m_profesores; }
    dbf::Table& aulas() { return m_aulas; }
    dbf::Table& nomAsg() { return m_nomAsg; }
    dbf::Table& tramos() { return m_tramos; }
    // ASIGT, opened when the first lesson needs it: a run without lessons does not require it.
    dbf::Table& asig();

    // Closes every table, in the order they were opened, ASIGT last.
    void close();

private:
    dbf::Table m_soluc;
    dbf::Table m_grupos;
    dbf::Table m_profesores;
    dbf::Table m_aulas;
    dbf::Table m_nomAsg;
    dbf::Table m_tramos;
    dbf::Table m_asig;
};

} // namespace tqz::convert
