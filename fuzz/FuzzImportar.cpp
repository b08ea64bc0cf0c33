// SOLUC tables, sound or damaged, through the table reader and the whole Quorvane-to-Zentris
// conversion, with the other working tables those of the sample school. Every field of every row
// reads as a value or fails with an Error; a run either writes a result document that loads again
// or fails with an Error and writes nothing; the working tables are only ever read.

#include "FuzzSupport.h"

#include "convert/Conversions.h"
#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "platform/XmlDocument.h"

#include <map>

namespace {

namespace fs = std::filesystem;
using namespace tqz;

// The document only carries the output section that the result replaces; the run's work is in the
// tables.
constexpr std::string_view kDocument = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                       "<SERVICIO nombre=\"EXPORTACION_HORARIOS\"><SALIDAS/></SERVICIO>\n";

struct Setup {
    fuzz::Scratch scratch;
    fs::path work = scratch / "WTEMP";
    fs::path documents = scratch / "zentris";
    fs::path document = documents / "horario.xml";
    fuzz::Snapshot tables;

    Setup()
    {
        fs::create_directory(work);
        fs::create_directory(documents);
        convert::exportar(fuzz::example("horario.xml"), work);
        fuzz::writeBytes(document, kDocument);
        tables = fuzz::snapshot(work);
    }
};

// Every field as text, and every field that is not text as numbers too (reading text as a number
// is the text rules' business). Rows past the first few dozen, and a field's reads after its first
// few failures, go through the same code again; under the sanitizers every failure is costly.
class FieldReader {
public:
    template <typename Read> void attempt(std::size_t field, Read read)
    {
        if (m_failures[field] >= kFailuresPerField) {
            return;
        }
        try {
            read();
        } catch (const Error&) {
            ++m_failures[field];
        }
    }

private:
    static constexpr int kFailuresPerField = 4;
    std::map<std::size_t, int> m_failures;
};

void readEveryField(std::string_view bytes)
{
    constexpr std::size_t kRows = 64;
    dbf::Table table = dbf::Table::fromBytes("SOLUC", std::string(bytes));
    try {
        table.open();
    } catch (const Error&) {
        return;
    }
    FieldReader reader;
    std::size_t rows = 0;
    for (table.first(); !table.eof() && rows < kRows; table.next(), ++rows) {
        for (std::size_t index = 0; index < table.fields().size(); ++index) {
            const dbf::FieldInfo& field = table.fields()[index];
            reader.attempt(index, [&] { (void)table.text(field.name); });
            if (field.type != 'C') {
                reader.attempt(index, [&] { (void)table.integer(field.name); });
                reader.attempt(index, [&] { (void)table.number(field.name); });
            }
        }
    }
}

void runImportar(const Setup& setup)
{
    const fs::path result = convert::resultPathFor(setup.document);
    try {
        convert::importar(setup.document, setup.work);
    } catch (const Error&) {
        fuzz::require(!fs::exists(result), "a failed importar wrote a result document");
        return;
    }
    try {
        (void)xml::Document::load(result);
    } catch (const Error& error) {
        fuzz::require(false, std::string("the result document does not load: ") + error.what());
    }
    fs::remove(result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Setup setup;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readEveryField(bytes);
    fuzz::writeBytes(setup.work / "SOLUC.DBF", bytes);
    runImportar(setup);
    fs::remove(setup.work / "SOLUC.DBF");
    fuzz::require(!fuzz::hasLeftovers(setup.work) && !fuzz::hasLeftovers(setup.documents),
        "importar left temporary files");
    fuzz::require(fuzz::snapshot(setup.work) == setup.tables, "importar changed a working table");
    return 0;
}
