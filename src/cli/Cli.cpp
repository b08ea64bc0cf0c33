#include "cli/Cli.h"

#include "cli/Commands.h"

#include <array>

#ifndef TQZ_VERSION
#define TQZ_VERSION "0"
#endif

namespace tqz::cli {

namespace {

const std::array<Command, 3> kCommands{{
    {"exportar", "Zentris → Quorvane: rebuilds the six working tables from a Zentris document", exportarCommand},
    {"importar", "Quorvane → Zentris: writes the result document from SOLUC and the working tables",
     importarCommand},
    {"tabla", "prints a working table (any .DBF of the working folder)", tablaCommand},
}};

void printHelp(std::ostream& out)
{
    out << "Usage: tqz COMMAND [ARGUMENTS]\n"
           "       tqz COMMAND --help\n"
           "       tqz --version\n\n"
           "Commands:\n";
    for (const auto& command : kCommands) {
        out << "  " << command.name << std::string(10 - std::string(command.name).size(), ' ') << command.summary
            << '\n';
    }
    out << "\nThe working folder is --dir when given, else $TQZ_WTEMP, else the timetabling program's\n"
           "working folder (C:\\WTEMP; under Wine, drive_c/WTEMP of $WINEPREFIX or ~/.wine).\n";
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
    err << "tqz: unknown command '" << first << "'\n\n";
    printHelp(err);
    return kExitUsage;
}

} // namespace tqz::cli
