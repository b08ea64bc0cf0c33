#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/TableListing.h"
#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "platform/FileNames.h"
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

namespace tqz::cli {

namespace {

constexpr std::string_view kName = "tabla";
constexpr std::string_view kUsage = "Uso: tqz tabla NOMBRE [--dir CARPETA] [--csv]\n";
constexpr OptionSpec kCsvOption { "--csv", false };
constexpr std::array<OptionSpec, 2> kOptions { kDirOption, kCsvOption };
constexpr std::string_view kDataExtension = ".dbf";

void printHelp(std::ostream& out)
{
    out << kUsage
        << "\nMuestra una tabla de la carpeta de trabajo: cualquier archivo .DBF, también SOLUC. El nombre\n"
           "se da con o sin .DBF y sin distinguir mayúsculas.\n\nOpciones:\n"
        << kDirHelp
        << "  --csv          escribe la tabla como CSV (separada por comas, UTF-8)\n"
           "  --help         muestra esta ayuda\n\n"
           "Estado de salida: 0 hecho; 1 la tabla no existe o no se puede leer; 2 uso incorrecto.\n";
}

// "soluc", "SOLUC.DBF" and "Soluc.dbf" all name the table SOLUC.
std::string tableNameOf(const std::string& argument)
{
    const std::size_t stem = argument.size() - std::min(argument.size(), kDataExtension.size());
    if (argument.size() > kDataExtension.size()
        && text::asciiLower(argument.substr(stem)) == kDataExtension) {
        return argument.substr(0, stem);
    }
    return argument;
}

void showTable(const std::filesystem::path& workDir, const std::string& name, bool csv, std::ostream& out)
{
    if (!files::findIgnoringCase(workDir, name + ".DBF")) {
        fail("No existe la tabla '" + name + "' en la carpeta '" + workDir.string() + "'");
    }
    dbf::Table table(workDir, name);
    table.open(dbf::OpenMode::Shared);
    const TableListing listing = listTable(table);
    table.close();
    if (csv) {
        printCsv(out, listing);
    } else {
        printColumns(out, listing);
    }
}

} // namespace

int tablaCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
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
        return reportUsageError(err, kName,
            parsed.positionals.empty() ? "falta el nombre de la tabla" : "sobran argumentos", kUsage);
    }
    const std::string name = tableNameOf(parsed.positionals.front());
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) {
        return reportUsageError(
            err, kName, "'" + parsed.positionals.front() + "' no es un nombre de tabla", kUsage);
    }
    try {
        showTable(workDirOf(parsed), name, parsed.has(kCsvOption.name), out);
    } catch (const Error& error) {
        err << error.what() << '\n';
        return kExitConversionError;
    }
    return kExitOk;
}

} // namespace tqz::cli
