#pragma once

// A working folder and an exchange document for the Quorvane-to-Zentris tests: working tables
// written with our table writer, SOLUC in the variants Quorvane may leave, and a plain-text dump of
// the result document that tests compare whole.

#include "platform/DbfSchema.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tqz::test {

// Field name → value; fields not named stay empty.
using TableRow = std::vector<std::pair<std::string_view, std::string>>;

struct SolucRow {
    std::string prof;
    std::string dia;
    std::string hora;
    std::string tarea;
    std::string aula;
    std::string codGrupo;
    std::string asig;
    bool deleted = false;
};

// How DIA and HORA are stored: N(11,0) numbers or C(2) text.
enum class SolucKind { Numeric, Character };

// One of the six working tables, with its own schema, at `folder`/NAME.DBF.
void writeWorkingTable(
    const std::filesystem::path& folder, std::string_view table, const std::vector<TableRow>& rows);

// SOLUC as a plain dBase III table: PROF, DIA, HORA, TAREA, AULA, CODGRUPO, ASIG and two fields the
// tool does not read; rows marked deleted get the deletion flag.
void writeSoluc(const std::filesystem::path& folder, const std::vector<SolucRow>& rows,
    SolucKind kind = SolucKind::Numeric);

// The result document, one line per record: "EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=01/09/2020", its
// lessons indented below it as "  ACTIVIDAD_1 X_ACTIVIDAD=M001 N_DIASEMANA=1 ...". The ERROR block
// is left out; values are shown between brackets when they have blanks at either end.
std::string dumpTeachers(const std::filesystem::path& resultDocument);

class ImportarTest : public ::testing::Test {
protected:
    ImportarTest();

    const std::filesystem::path& workDir() const { return m_workDir; }
    const std::filesystem::path& document() const { return m_document; }
    std::filesystem::path result() const;

    // A catalogue in which every code of `lessons` resolves, and the given SOLUC rows.
    void writeSchool(const std::vector<SolucRow>& lessons, SolucKind kind = SolucKind::Numeric);
    // The dump of the result document after a run of importar.
    std::string runDump();

private:
    TempDir m_temp;
    std::filesystem::path m_workDir;
    std::filesystem::path m_document;
};

// A minimal exchange document with one list in SALIDAS.
inline constexpr std::string_view kSmallDocument
    = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><listasal><salida>M001</salida>"
      "<salida>MAT</salida></listasal></listasal></SALIDAS></SERVICIO>\n";

} // namespace tqz::test
