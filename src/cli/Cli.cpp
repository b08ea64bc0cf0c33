#include "cli/Cli.h"

#include "cli/Commands.h"

#include <array>

#ifndef TQZ_VERSION
#define TQZ_VERSION "0"
#endif

namespace tqz::cli {

namespace {

const std::array<Command, 3> kCommands{{
    {"exportar", "Zentris → Quorvane: rehace las seis tablas de trabajo desde un documento de Zentris", exportarCommand},
    {"importar", "Quorvane → Zentris: escribe el documento de resultado desde SOLUC y las tablas de trabajo",
     importarCommand},
    {"tabla", "muestra una tabla de la carpeta de trabajo (cualquier .DBF)", tablaCommand},
}};

void printHelp(std::ostream& out)
{
    out << "Uso: tqz ORDEN [ARGUMENTOS]\n"
           "     tqz ORDEN --help\n"
           "     tqz --version\n\n"
           "Órdenes:\n";
    for (const auto& command : kCommands) {
        out << "  " << command.name << std::string(10 - std::string(command.name).size(), ' ') << command.summary
            << '\n';
    }
    out << "\nCarpeta de trabajo: --dir CARPETA si se da; si no, $TQZ_WTEMP; si no, la de Quorvane\n"
           "(C:\\WTEMP; con Wine, drive_c/WTEMP de $WINEPREFIX o de ~/.wine).\n";
}

} // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty()) {
        printHelp(err);
        return kExitUsage;
    }
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        printHelp(out);
        return kExitOk;
    }
    if (first == "--version") {
        out << "tqz " << TQZ_VERSION << '\n';
        return kExitOk;
    }
    for (const auto& command : kCommands) {
        if (first == command.name) {
            return command.run({arguments.begin() + 1, arguments.end()}, out, err);
        }
    }
    err << "tqz: orden desconocida '" << first << "'\n\n";
    printHelp(err);
    return kExitUsage;
}

} // namespace tqz::cli
