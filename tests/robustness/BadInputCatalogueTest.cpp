// The catalogue of bad inputs: one fixture per fault in tests/data/bad/, named after it, and the
// faults that are no file (a folder missing, a table held by another program). For each, the
// message the user gets, and proof that nothing changed: the working tables byte for byte, no
// result document, no temporary file.

#include "SchoolFolder.h"

#include "platform/Error.h"
#include "platform/ProfileWriter.h"
#include "support/Files.h"
#include "support/ForeignLock.h"
#include "tables/WorkFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

namespace tqz::test {
namespace {

namespace fs = std::filesystem;

enum class Commands { Both, Exportar, Importar };

// Where a run finds its fault: the document and working folder it is given, and whatever holds a
// table for the length of the run.
struct Situation {
    fs::path document;
    fs::path work;
    std::shared_ptr<void> holder; // whatever holds a table or the folder for the run
};

struct Fault {
    std::string name;
    Commands commands;
    std::function<Situation(const SchoolFolder&)> arrange;
    // "{documento}" and "{carpeta}" stand for the paths the run was given.
    std::string message;
};

Situation badDocument(const SchoolFolder& school, const std::string& fixture)
{
    return { copyTestData("bad/" + fixture, school.documents()), school.work(), nullptr };
}

Situation badSoluc(const SchoolFolder& school, const std::string& fixture)
{
    fs::copy_file(
        testData("bad/" + fixture), school.work() / "SOLUC.DBF", fs::copy_options::overwrite_existing);
    return { school.document(), school.work(), nullptr };
}

// A well-formed exchange document of exactly 200 MB, written once for the whole test program,
// piece by piece so the test itself stays small, and linked into each school's folder.
fs::path writeHugeDocument(const fs::path& folder)
{
    constexpr std::size_t kSize = 200U * 1024U * 1024U;
    const std::string head
        = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO><SALIDAS><listasal seq=\"AULAS\">\n";
    const std::string tail = "</listasal></SALIDAS></SERVICIO>\n";
    std::string records;
    while (records.size() < 1024U * 1024U) {
        records += "<listasal><salida>A101</salida><salida>Aula</salida><salida>B</salida><salida>D</"
                   "salida></listasal>\n";
    }
    const fs::path file = folder / "xml-200-megabytes.xml";
    std::ofstream out(file, std::ios::binary);
    out << head;
    std::size_t written = head.size();
    while (written + records.size() + tail.size() <= kSize) {
        out << records;
        written += records.size();
    }
    out << std::string(kSize - written - tail.size(), '\n') << tail;
    return file;
}

Situation hugeDocument(const SchoolFolder& school)
{
    static const TempDir folder;
    static const fs::path huge = writeHugeDocument(folder.path());
    const fs::path link = school.documents() / huge.filename();
    fs::create_hard_link(huge, link);
    return { link, school.work(), nullptr };
}

const std::string kNotXml = "El archivo '{documento}' no es un documento XML válido";

const Fault kFaults[] = {
    { "xml-truncated.xml", Commands::Both, [](auto& s) { return badDocument(s, "xml-truncated.xml"); },
        kNotXml + " (línea 4): Premature end of data in tag salida line 4" },
    { "xml-empty.xml", Commands::Both, [](auto& s) { return badDocument(s, "xml-empty.xml"); },
        kNotXml + ": está vacío" },
    { "xml-wrong-encoding-declaration.xml", Commands::Both,
        [](auto& s) { return badDocument(s, "xml-wrong-encoding-declaration.xml"); },
        kNotXml + " (línea 3): Input is not proper UTF-8, indicate encoding ! Bytes: 0xE1 0x74 0x69 0x63" },
    { "xml-undecodable-bytes.xml", Commands::Both,
        [](auto& s) { return badDocument(s, "xml-undecodable-bytes.xml"); },
        kNotXml + ": tiene bytes que no son texto en la codificación que declara" },
    { "xml-200-megabytes.xml", Commands::Both, hugeDocument,
        "El archivo '{documento}' ocupa 200 MB; un documento de Zentris no puede pasar de 64 MB" },
    { "xml-deeply-nested.xml", Commands::Both,
        [](auto& s) { return badDocument(s, "xml-deeply-nested.xml"); },
        kNotXml + " (línea 2): sus elementos se anidan a más de 256 niveles" },
    { "xml-entity-expansion.xml", Commands::Both,
        [](auto& s) { return badDocument(s, "xml-entity-expansion.xml"); },
        kNotXml
            + " (línea 1): sus entidades se refieren a sí mismas o se expanden a un texto demasiado grande" },
    { "xml-external-entity.xml", Commands::Both,
        [](auto& s) { return badDocument(s, "xml-external-entity.xml"); },
        "El archivo '{documento}' usa en la línea 6 la entidad externa 'nombre', que apunta a "
        "file:///etc/passwd, "
        "y no se lee: un documento de Zentris no puede depender de otros archivos" },
    { "dbf-empty.dbf", Commands::Importar, [](auto& s) { return badSoluc(s, "dbf-empty.dbf"); },
        "La tabla 'SOLUC' está dañada: el archivo solo tiene 0 bytes" },
    { "dbf-truncated.dbf", Commands::Importar, [](auto& s) { return badSoluc(s, "dbf-truncated.dbf"); },
        "La tabla 'SOLUC' está incompleta: su cabecera anuncia 3 registros y el archivo solo tiene 1" },
    { "dbf-record-length-disagrees.dbf", Commands::Importar,
        [](auto& s) { return badSoluc(s, "dbf-record-length-disagrees.dbf"); },
        "La tabla 'SOLUC' está dañada: los campos ocupan 27 bytes y los registros solo 20" },
    { "dbf-count-four-billion.dbf", Commands::Importar,
        [](auto& s) { return badSoluc(s, "dbf-count-four-billion.dbf"); },
        "La tabla 'SOLUC' está incompleta: su cabecera anuncia 4000000000 registros y el archivo solo tiene "
        "3" },
    { "dbf-encrypted.dbf", Commands::Importar, [](auto& s) { return badSoluc(s, "dbf-encrypted.dbf"); },
        "La tabla 'SOLUC' está cifrada y no se puede leer" },
    { "dbf-unknown-version.dbf", Commands::Importar,
        [](auto& s) { return badSoluc(s, "dbf-unknown-version.dbf"); },
        "La tabla 'SOLUC' tiene una versión de dBase desconocida (0x47) y no se puede leer" },
    { "soluc-dia-x.dbf", Commands::Importar, [](auto& s) { return badSoluc(s, "soluc-dia-x.dbf"); },
        "El campo 'DIA' del registro 2 de la tabla 'SOLUC' no contiene un número válido: 'x'" },
    { "working-folder-missing", Commands::Both,
        [](auto& s) {
            return Situation { s.document(), s.root() / "NOEXISTE", nullptr };
        },
        "La carpeta de trabajo '{carpeta}' no existe" },
    { "working-folder-is-a-file", Commands::Both,
        [](auto& s) {
            return Situation { s.document(), s.document(), nullptr };
        },
        "La carpeta de trabajo '{carpeta}' no es una carpeta" },
    { "table-held-by-another-program", Commands::Exportar,
        [](auto& s) {
            return Situation { s.document(), s.work(),
                std::make_shared<ForeignLock>(s.work() / "PROFT.DBF") };
        },
        "La tabla 'PROFT' está abierta por otro programa" },
    { "soluc-held-by-another-program", Commands::Importar,
        [](auto& s) {
            return Situation { s.document(), s.work(),
                std::make_shared<ForeignLock>(s.work() / "SOLUC.DBF") };
        },
        "La tabla 'SOLUC' está abierta por otro programa" },
    { "working-folder-used-by-another-run", Commands::Both,
        [](auto& s) {
            return Situation { s.document(), s.work(), std::make_shared<tables::WorkFolder>(s.work()) };
        },
        "La carpeta de trabajo '{carpeta}' la está usando otra ejecución de TransQuorvaZentris" },
};

std::string filledIn(std::string message, const Situation& situation)
{
    for (const auto& [mark, value] :
        { std::pair<std::string, std::string> { "{documento}", situation.document.string() },
            { "{carpeta}", situation.work.string() } }) {
        for (std::size_t at = message.find(mark); at != std::string::npos; at = message.find(mark)) {
            message.replace(at, mark.size(), value);
        }
    }
    return message;
}

class BadInput : public testing::TestWithParam<Fault> { };

TEST_P(BadInput, IsNamedAndChangesNothing)
{
    const Fault& fault = GetParam();
    for (const char* command : { "exportar", "importar" }) {
        if ((fault.commands == Commands::Exportar && command != std::string("exportar"))
            || (fault.commands == Commands::Importar && command != std::string("importar"))) {
            continue;
        }
        SCOPED_TRACE(command);
        SchoolFolder school;
        const Situation situation = fault.arrange(school);
        const Tree before = treeOf(school.root());

        // What the user reads is the command's message alone: the libraries underneath print nothing.
        testing::internal::CaptureStderr();
        const CommandResult result
            = runCommand({ command, situation.document.string(), "--dir", situation.work.string() });
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

        EXPECT_EQ(result.err, filledIn(fault.message, situation) + "\n");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(treeOf(school.root()) == before) << "the run changed a file";
        EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, BadInput, testing::ValuesIn(kFaults), [](const testing::TestParamInfo<Fault>& param) {
        std::string name = param.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
        }
        return name;
    });

// The window writes its status value beside the executable when the host started it; a folder in
// the file's place is reported and stays as it was.
TEST(BadInput, AStatusFileThatIsAFolder)
{
    SchoolFolder school;
    const fs::path status = school.root() / "Quorvane.ini";
    fs::create_directory(status);
    writeBytes(status / "dentro.txt", "intacto");
    const Tree before = treeOf(school.root());
    try {
        ini::writeProfileString(status, "Transformadores", "Transformado", "1");
        FAIL() << "the status value went into a folder";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + status.string());
    }
    EXPECT_TRUE(treeOf(school.root()) == before);
}

} // namespace
} // namespace tqz::test
