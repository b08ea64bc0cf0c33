#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/DocumentCommand.h"
#include "cli/Options.h"
#include "convert/Conversions.h"
#include "tables/Schemas.h"

#include <filesystem>
#include <iomanip>

namespace tqz::cli {

namespace {

constexpr std::string_view kName = "exportar";
constexpr std::string_view kUsage = "Uso: tqz exportar DOCUMENTO.xml [--dir CARPETA]\n";

void printHelp(std::ostream& out)
{
    out << kUsage << "\nRehace las seis tablas de trabajo de Quorvane (";
    const char* separator = "";
    for (const auto& table : tables::workingTables()) {
        out << separator << table.name;
        separator = ", ";
    }
    out << ")\ncon los datos del documento de Zentris. Las seis se sustituyen a la vez: si algo falla,\n"
           "ninguna cambia.\n\nOpciones:\n"
        << kDirHelp
        << "  --help         muestra esta ayuda\n\n"
           "Estado de salida: 0 hecho; 1 error de conversión (ninguna tabla cambia); 2 uso incorrecto;\n"
           "3 no existe el documento.\n";
}

void printSummary(std::ostream& out, const convert::ExportSummary& summary)
{
    out << "Proceso finalizado\n";
    for (const auto& table : summary.tables) {
        out << "  " << std::left << std::setw(12) << table.table << std::right << std::setw(6) << table.rows
            << (table.rows == 1 ? " fila\n" : " filas\n");
    }
}

} // namespace

int exportarCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const DocumentCommand command { kName, kUsage, printHelp,
        [](const std::filesystem::path& document, const std::filesystem::path& workDir, std::ostream& summaryOut) {
            printSummary(summaryOut, convert::exportar(document, workDir));
        } };
    return runDocumentCommand(command, arguments, out, err);
}

} // namespace tqz::cli
