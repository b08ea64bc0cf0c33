// Exchange documents, well-formed or not, through the document loader and the whole
// Zentris-to-Quorvane conversion, into a working folder that holds the sample school's tables.
// A run either puts six tables in place that the table reader reads back, row for row, or fails
// with an Error and leaves the folder byte for byte as it was. A document that loads is also
// saved and loaded again, as the result document of the other direction is.

#include "FuzzSupport.h"

#include "convert/Conversions.h"
#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "platform/XmlDocument.h"

namespace {

namespace fs = std::filesystem;
using namespace tqz;

struct Setup {
    fuzz::Scratch scratch;
    fs::path work = scratch / "WTEMP";
    fs::path document = scratch / "documento.xml";
    fuzz::Snapshot before;

    Setup()
    {
        fs::create_directory(work);
        convert::exportar(fuzz::example("horario.xml"), work);
        before = fuzz::snapshot(work);
    }

    void restore() const
    {
        for (const auto& [name, bytes] : before) {
            fuzz::writeBytes(work / name, bytes);
        }
        fuzz::require(fuzz::snapshot(work) == before, "the working folder holds files of its own");
    }
};

void checkSavedCopyLoads(std::string_view bytes)
{
    std::string saved;
    try {
        saved = xml::Document::parse(bytes, "documento.xml").serialize();
    } catch (const Error&) {
        return;
    }
    try {
        (void)xml::Document::parse(saved, "copia.xml");
    } catch (const Error& error) {
        fuzz::require(false, std::string("a saved document does not load again: ") + error.what());
    }
}

void checkTables(const fs::path& work, const convert::ExportSummary& summary)
{
    fuzz::require(summary.tables.size() == 6, "exportar did not build six tables");
    for (const auto& built : summary.tables) {
        dbf::Table table(work, built.table);
        table.open(dbf::OpenMode::Shared);
        std::size_t rows = 0;
        for (table.first(); !table.eof(); table.next()) {
            for (const auto& field : table.fields()) {
                (void)table.text(field.name);
            }
            ++rows;
        }
        fuzz::require(rows == built.rows, "table " + built.table + " does not read back its rows");
    }
    fuzz::require(!fuzz::hasLeftovers(work), "exportar left temporary files");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Setup setup;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkSavedCopyLoads(bytes);
    fuzz::writeBytes(setup.document, bytes);
    try {
        checkTables(setup.work, convert::exportar(setup.document, setup.work));
        setup.restore();
    } catch (const Error&) {
        fuzz::require(
            fuzz::snapshot(setup.work) == setup.before, "a failed exportar changed the working folder");
    }
    return 0;
}
