#include "convert/Conversions.h"

#include "convert/Builders.h"
#include "convert/DocumentLoading.h"
#include "tables/TableReplacement.h"
#include "tables/WorkFolder.h"

#include <array>
#include <functional>

namespace tqz::convert {

ExportSummary exportar(const std::filesystem::path& document, const std::filesystem::path& workDir)
{
    const tables::WorkFolder folder(workDir);
    const xml::Document loaded = CargarDocumentoXML(document);
    const LoadedDocument source { loaded, document };

    // Every table is finished in memory before any file changes, so a bad value in the last
    // record leaves the working tables as they were.
    const dbf::TableWriter materias = TransformarMaterias(source);
    const dbf::TableWriter profesores = TransformarProfesores(source);
    const dbf::TableWriter aulas = TransformarAulas(source);
    const dbf::TableWriter grupos = TransformarGrupos(source);
    const dbf::TableWriter asignaturas = TransformarAsignaturas(source, materias);
    const dbf::TableWriter tramos = TransformarTramos(source);

    const std::array<std::reference_wrapper<const dbf::TableWriter>, 6> built { materias, profesores, aulas,
        grupos, asignaturas, tramos };
    std::vector<tables::TableImage> images;
    ExportSummary summary;
    for (const dbf::TableWriter& table : built) {
        images.push_back({ table.tableName(), table.bytes() });
        summary.tables.push_back({ table.tableName(), table.rowCount() });
    }
    tables::replaceTables(workDir, images);
    return summary;
}

} // namespace tqz::convert
