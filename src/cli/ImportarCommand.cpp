#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/DocumentCommand.h"
#include "cli/Options.h"
#include "convert/Conversions.h"
#include "exchange/Envelope.h"
#include "tables/Schemas.h"

#include <filesystem>

namespace tqz::cli {

namespace {

constexpr std::string_view kName = "importar";
constexpr std::string_view kUsage = "Uso: tqz importar DOCUMENTO.xml [--dir CARPETA]\n";

void printHelp(std::ostream& out)
{
    out << kUsage << "\nLee la solución de Quorvane (" << tables::soluc::kTable
        << ") y las tablas de trabajo, traduce cada actividad\n"
           "de cada profesor a los códigos de Zentris y escribe el documento de resultado junto al\n"
           "elegido, con el nombre \""
        << exchange::result::kFileNamePrefix
        << "\" delante del suyo. El documento elegido no se modifica;\n"
           "si algo falla, no se escribe nada. Al terminar cuenta los campos de actividad sin\n"
           "resolver: los que quedan con el código de Quorvane, o vacíos, porque las tablas de trabajo\n"
           "no tienen la tarea, el tramo, el aula, el grupo o la materia que la actividad nombra.\n\n"
           "Opciones:\n"
        << kDirHelp
        << "  --help         muestra esta ayuda\n\n"
           "Estado de salida: 0 hecho; 1 error de conversión (no se escribe nada); 2 uso incorrecto;\n"
           "3 no existe el documento.\n";
}

void printSummary(std::ostream& out, const convert::ImportSummary& summary)
{
    out << "Proceso finalizado\n"
        << "  Resultado: " << summary.resultDocument.string() << '\n'
        << "  Profesores: " << summary.teachers << '\n'
        << "  Actividades: " << summary.lessons << '\n'
        << "  Campos de actividad sin resolver: " << summary.unresolvedFields << '\n';
}

} // namespace

int importarCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const DocumentCommand command { kName, kUsage, printHelp,
        [](const std::filesystem::path& document, const std::filesystem::path& workDir, std::ostream& summaryOut) {
            printSummary(summaryOut, convert::importar(document, workDir));
        } };
    return runDocumentCommand(command, arguments, out, err);
}

} // namespace tqz::cli
