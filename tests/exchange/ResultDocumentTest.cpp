#include "exchange/ResultDocument.h"

#include "platform/Error.h"
#include "platform/XmlDocument.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tqz::exchange {
namespace {

constexpr const char* kErrorBlock
    = "<ERROR><salida dato=\"CN_ERROR\">0</salida>"
      "<salida dato=\"TE_ERROR\">Servicio finalizado Correctamente</salida></ERROR>";

// The serialised document from its root element on, without the declaration and final line end.
std::string fromRoot(const ResultDocument& result)
{
    std::string bytes = result.document().serialize();
    if (bytes.starts_with("<?xml")) {
        bytes.erase(0, bytes.find('<', 1));
    }
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
        bytes.pop_back();
    }
    return bytes;
}

ResultDocument derive(std::string_view xml)
{
    return ResultDocument(xml::Document::parse(xml, "horario.xml"), "horario.xml");
}

TEST(ResultDocumentTest, ReplacesSalidasWithTheErrorBlockAndAppendsItLast)
{
    struct Case {
        const char* loaded;
        std::string expected;
    };
    const Case cases[] = {
        // The old output section goes with everything in it.
        { "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><listasal><salida>M</salida></listasal></listasal>"
          "</SALIDAS></SERVICIO>",
            std::string("<SERVICIO><SALIDAS>") + kErrorBlock + "</SALIDAS></SERVICIO>" },
        // SALIDAS not last: the other children keep their order, the new SALIDAS comes last, the
        // root keeps its attributes.
        { "<SERVICIO version=\"2\"><CABECERA>c</CABECERA><SALIDAS/><ENTRADAS><x/></ENTRADAS></SERVICIO>",
            std::string("<SERVICIO version=\"2\"><CABECERA>c</CABECERA><ENTRADAS><x/></ENTRADAS><SALIDAS>")
                + kErrorBlock + "</SALIDAS></SERVICIO>" },
        // Two SALIDAS: the second one becomes the container, after its own content, and the new
        // one stays empty at the end.
        { "<SERVICIO><SALIDAS><a/></SALIDAS><SALIDAS><b>2</b></SALIDAS><FIN/></SERVICIO>",
            std::string("<SERVICIO><SALIDAS><b>2</b>") + kErrorBlock
                + "</SALIDAS><FIN/><SALIDAS/></SERVICIO>" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loaded);
        EXPECT_EQ(fromRoot(derive(c.loaded)), c.expected);
    }
}

TEST(ResultDocumentTest, TakesAnyRootName)
{
    EXPECT_EQ(fromRoot(derive("<OTRO><SALIDAS/></OTRO>")),
        std::string("<OTRO><SALIDAS>") + kErrorBlock + "</SALIDAS></OTRO>");
}

TEST(ResultDocumentTest, NumbersTeachersAndLessonsAndKeepsValuesUntrimmed)
{
    auto result = derive("<SERVICIO><SALIDAS/></SERVICIO>");
    auto teacher = result.appendTeacher(1);
    result.appendSalida(teacher, "X_EMPLEADO", " E1 ");
    auto lesson = result.appendLesson(teacher, 10);
    // 8-bit ANSI in, UTF-8 out; markup characters are text.
    result.appendSalida(lesson, "X_UNIDAD",
        "Pe\xF1"
        "a & <b>");
    result.appendSalida(lesson, "X_TRAMO", "");
    result.appendTeacher(2);
    EXPECT_EQ(fromRoot(result),
        std::string("<SERVICIO><SALIDAS>") + kErrorBlock
            + "<listasal seq=\"EMPLEADO_1\"><salida dato=\"X_EMPLEADO\"> E1 </salida>"
              "<listasal seq=\"ACTIVIDAD_10\"><salida dato=\"X_UNIDAD\">Peña &amp; &lt;b&gt;</salida>"
              "<salida dato=\"X_TRAMO\"/></listasal></listasal>"
              "<listasal seq=\"EMPLEADO_2\"/></SALIDAS></SERVICIO>");
}

TEST(ResultDocumentTest, RefusesADocumentThatCannotTakeAResultNamingTheFile)
{
    struct Case {
        const char* name;
        std::function<xml::Document()> document;
        const char* message;
    };
    const Case cases[] = {
        { "no root", [] { return xml::Document::create(); },
            "El documento 'horario.xml' no tiene elemento raíz" },
        // Only a child of the root counts, spelt exactly.
        { "no SALIDAS",
            [] {
                return xml::Document::parse(
                    "<SERVICIO><salidas/><E><SALIDAS/></E></SERVICIO>", "horario.xml");
            },
            "El documento 'horario.xml' no tiene elemento SALIDAS bajo su raíz 'SERVICIO'" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ResultDocument(c.document(), "horario.xml");
            FAIL() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(ResultDocumentTest, SavesOverAnEarlierResult)
{
    test::TempDir dir;
    const auto file = dir / "ResultadoQuorvahorario.xml";
    test::writeBytes(file, "anterior");
    derive("<SERVICIO><SALIDAS/></SERVICIO>").save(file);
    const auto saved = xml::Document::load(file);
    EXPECT_EQ(saved.selectNodes("/SERVICIO/SALIDAS/ERROR/salida").size(), 2U);
    EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string> { "ResultadoQuorvahorario.xml" });
}

} // namespace
} // namespace tqz::exchange
