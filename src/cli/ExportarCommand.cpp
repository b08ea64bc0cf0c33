#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/Options.h"
#include "convert/Conversions.h"
#include "platform/Error.h"
#include "tables/Schemas.h"

#include <array>
#include <filesystem>
#include <iomanip>

namespace tqz::cli {

namespace {

constexpr std::string_view kName = "exportar";
constexpr std::string_view kUsage = "Uso: tqz exportar DOCUMENTO.xml [--dir CARPETA]\n";
constexpr std::array<OptionSpec, 1> kOptions { kDirOption };

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
    const ParsedArguments parsed = parseArguments(arguments, kOptions);
    if (parsed.help) {
        printHelp(out);
        return kExitOk;
    }
    if (!parsed.error.empty()) {
        return reportUsageError(err, kName, parsed.error, kUsage);
    }
    if (parsed.positionals.size() != 1) {
        return reportUsageError(
            err, kName, parsed.positionals.empty() ? "falta el documento" : "sobran argumentos", kUsage);
    }
    const std::filesystem::path document = parsed.positionals.front();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(document, ignored)) {
        err << "No existe archivo\n  " << document.string() << '\n';
        return kExitNoDocument;
    }
    try {
        printSummary(out, convert::exportar(document, workDirOf(parsed)));
    } catch (const Error& error) {
        err << error.what() << '\n';
        return kExitConversionError;
    }
    return kExitOk;
}

} // namespace tqz::cli
