#include "platform/XmlDocument.h"
#include "platform/Error.h"
#include "platform/FileIo.h"

#include "support/Files.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

namespace tqz::xml {
namespace {

using testing::HasSubstr;

constexpr const char* kMaterias = R"(/SERVICIO/SALIDAS/listasal[@seq="MATERIAS"]/listasal)";

Document parse(const std::string& xml)
{
    return Document::parse(xml, "prueba.xml");
}

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

// The text of every `salida` of every record, records joined by "|".
std::string listValues(const Document& document, const std::string& path = kMaterias)
{
    std::string values;
    for (const Element& record : document.selectNodes(path)) {
        values += values.empty() ? "" : "|";
        for (const Element& field : record.selectNodes("salida")) {
            values += "[" + field.text() + "]";
        }
    }
    return values;
}

TEST(XmlDocumentTest, ReadsEveryEncodingItDeclares)
{
    const char* fixtures[] = { "latin1.xml", "cp1252.xml", "utf16le-bom.xml", "utf16be-bom.xml",
        "utf8-nodecl.xml", "utf8-bom.xml" };
    test::TempDir folder;
    for (const char* fixture : fixtures) {
        const Document document
            = Document::load(test::copyTestData(std::string("xml/") + fixture, folder.path()));
        EXPECT_EQ(listValues(document), "[EF][Ñandú año € ’]") << fixture;
    }
}

TEST(XmlDocumentTest, SavingKeepsTheEncodingAndTheDeclaration)
{
    const struct {
        const char* fixture;
        std::string start;
        bool sameBytes;
    } cases[] = {
        { "latin1.xml", R"(<?xml version="1.0" encoding="ISO-8859-1"?>)", true },
        { "cp1252.xml", R"(<?xml version="1.0" encoding="windows-1252"?>)", true },
        { "utf8-nodecl.xml", "<SERVICIO>", true },
        { "utf8-bom.xml", R"(<?xml version="1.0" encoding="UTF-8"?>)", false },
        // UTF-16 is written little-endian with its byte-order mark, whichever order was read.
        { "utf16le-bom.xml", std::string("\xFF\xFE<\0?\0x\0m\0l\0", 12), true },
        { "utf16be-bom.xml", std::string("\xFF\xFE<\0?\0x\0m\0l\0", 12), false },
    };
    test::TempDir folder;
    for (const auto& c : cases) {
        const auto source = test::copyTestData(std::string("xml/") + c.fixture, folder.path());
        const auto target = folder / (std::string("saved-") + c.fixture);
        Document::load(source).save(target);
        const std::string saved = test::readBytes(target);
        EXPECT_TRUE(saved.starts_with(c.start)) << c.fixture;
        if (c.sameBytes) {
            EXPECT_EQ(saved, test::readBytes(source)) << c.fixture;
        }
        EXPECT_EQ(listValues(Document::load(target)), "[EF][Ñandú año € ’]") << c.fixture;
    }
}

TEST(XmlDocumentTest, CharactersTheEncodingLacksAreSavedAsReferences)
{
    Document document = parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a/>");
    document.root()->setText("ñ € Ł");
    EXPECT_EQ(document.serialize(),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xF1 &#8364; &#321;</a>\n");
}

TEST(XmlDocumentTest, AMalformedFileNamesTheFileAndTheLine)
{
    test::TempDir folder;
    const auto file = folder / "roto.xml";
    test::writeBytes(file, "<SERVICIO>\n  <SALIDAS>\n</SERVICIO>\n");
    EXPECT_EQ(errorOf([&] { Document::load(file); }),
        "El archivo '" + file.string() + "' no es un documento XML válido (línea 3): "
            + "Opening and ending tag mismatch: SALIDAS line 2 and SERVICIO");
}

TEST(XmlDocumentTest, WhatIsNotADocumentIsRefusedWithItsLine)
{
    const std::string invalid = "El archivo 'prueba.xml' no es un documento XML válido";
    const struct {
        std::string bytes;
        std::string reason;
    } cases[] = {
        // clang-format off
        {"", ": está vacío"},
        {"  \n", " (línea 2): Start tag expected, '<' not found"},
        {"<a/>\n<b/>", " (línea 2): Extra content at the end of the document"},
        {"<a>\n\xF1</a>", " (línea 2): Input is not proper UTF-8, indicate encoding ! "
                          "Bytes: 0xF1 0x3C 0x2F 0x61"},
        {"<?xml version=\"1.0\" encoding=\"chino\"?><a/>", " (línea 1): Unsupported encoding chino"},
        {"<a>&#1;</a>", " (línea 1): xmlParseCharRef: invalid xmlChar value 1"},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf([&] { parse(c.bytes); }), invalid + c.reason) << c.bytes;
    }
}

TEST(XmlDocumentTest, AMissingFileIsNamed)
{
    test::TempDir folder;
    const auto file = folder / "no-existe.xml";
    EXPECT_THAT(errorOf([&] { Document::load(file); }), HasSubstr("'" + file.string() + "'"));
    EXPECT_THAT(
        errorOf([&] { Document::load(folder.path()); }), HasSubstr("'" + folder.path().string() + "'"));
}

TEST(XmlDocumentTest, NothingOutsideTheDocumentIsEverLoaded)
{
    test::TempDir folder;
    test::writeBytes(folder / "secreto.txt", "SECRETO");
    test::writeBytes(folder / "ajeno.dtd", "<!ENTITY e \"SECRETO\"><!ATTLIST a fuga CDATA \"SECRETO\">");
    const std::string absolute = "file://" + (folder / "secreto.txt").string();
    const std::string documents[] = {
        "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + absolute + "\">]><a>[&x;]</a>",
        "<!DOCTYPE a [<!ENTITY x SYSTEM \"secreto.txt\">]><a>[&x;]</a>",
        "<!DOCTYPE a SYSTEM \"ajeno.dtd\"><a>[&e;]</a>",
        "<!DOCTYPE a [<!ENTITY % p SYSTEM \"ajeno.dtd\"> %p;]><a>[]</a>",
        "<!DOCTYPE a [<!ENTITY x SYSTEM \"http://127.0.0.1:9/x\">]><a>[&x;]</a>",
    };
    // An entity that is not read would make its value empty without a word: the document is
    // refused, naming the entity and never showing what the file holds.
    for (const std::string& xml : documents) {
        const auto file = folder / "externo.xml";
        test::writeBytes(file, xml);
        if (xml.find("%p;]><a>[]") != std::string::npos) {
            EXPECT_EQ(Document::load(file).root()->text(), "[]");
            continue;
        }
        const std::string error = errorOf([&] { (void)Document::load(file); });
        EXPECT_THAT(error, HasSubstr("usa en la línea 1 la entidad ")) << xml;
        EXPECT_THAT(error, testing::Not(HasSubstr("SECRETO"))) << xml;
    }
    EXPECT_EQ(errorOf([&] { parse("<!DOCTYPE a [<!ENTITY x SYSTEM \"" + absolute + "\">]><a>[&x;]</a>"); }),
        "El archivo 'prueba.xml' usa en la línea 1 la entidad externa 'x', que apunta a " + absolute
            + ", y no se lee: un documento de Zentris no puede depender de otros archivos");
    EXPECT_EQ(errorOf([&] { parse("<!DOCTYPE a SYSTEM \"ajeno.dtd\"><a>[&e;]</a>"); }),
        "El archivo 'prueba.xml' usa en la línea 1 la entidad 'e', que no está declarada en el propio "
        "documento");
    // Declared only in the file that was not read, the entity is unknown.
    EXPECT_THAT(errorOf([&] { parse("<!DOCTYPE a [<!ENTITY % p SYSTEM \"ajeno.dtd\"> %p;]><a>[&e;]</a>"); }),
        HasSubstr("Entity 'e' not defined"));
}

// Ten entities, each made of ten of the one before: a billion "lol"s from a few hundred bytes.
std::string billionLaughs()
{
    std::string xml = "<!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        xml += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) {
            xml += "&lol" + std::to_string(level - 1) + ";";
        }
        xml += "\">";
    }
    return xml + "]><lolz>&lol9;</lolz>";
}

// One entity of 50 000 characters used 5 000 times: 250 MB of text from a 300 kB file.
std::string oneEntityManyTimes()
{
    std::string xml = "<!DOCTYPE a [<!ENTITY big \"" + std::string(50000, 'x') + "\">]><a>";
    for (int i = 0; i < 5000; ++i) {
        xml += "&big;";
    }
    return xml + "</a>";
}

TEST(XmlDocumentTest, EntityExpansionIsBounded)
{
    EXPECT_EQ(errorOf([] { parse(billionLaughs()); }),
        "El archivo 'prueba.xml' no es un documento XML válido (línea 1): sus entidades se refieren a sí "
        "mismas o "
        "se expanden a un texto demasiado grande");
    EXPECT_EQ(errorOf([] { parse(oneEntityManyTimes()); }),
        "El archivo 'prueba.xml' no se puede cargar: sus entidades se expanden a un texto demasiado grande");
}

TEST(XmlDocumentTest, InternalEntitiesAreExpandedInTextAndAttributes)
{
    const Document document = parse("<!DOCTYPE a [<!ENTITY i \"INTERNO\">]><a b=\"&i;&amp;\">&i;&lt;&i;</a>");
    EXPECT_EQ(document.root()->text(), "INTERNO<INTERNO");
    EXPECT_EQ(document.root()->attribute("b"), "INTERNO&");
}

constexpr const char* kService = R"(<SERVICIO>
  <SALIDAS>
    <listasal seq="MATERIAS">
      <listasal>
        <salida>M1</salida><salida> Matemáticas </salida><otro><salida>dentro</salida></otro>
      </listasal>
      <listasal><salida>L1</salida></listasal>
    </listasal>
    <listasal seq="MATERIAS	"><listasal><salida>TAB</salida></listasal></listasal>
    <listasal seq="AULAS"><listasal><salida>A1</salida></listasal></listasal>
  </SALIDAS>
  <SALIDAS>
    <listasal seq="MATERIAS"><listasal><salida>M2</salida></listasal></listasal>
  </SALIDAS>
</SERVICIO>
)";

TEST(XmlDocumentTest, SelectsByTheThreePathForms)
{
    const Document document = parse(kService);
    // Every list of that name under every SALIDAS, in document order; direct salida children only.
    EXPECT_EQ(listValues(document), "[M1][ Matemáticas ]|[L1]|[M2]");
    EXPECT_EQ(listValues(document, R"(/SERVICIO/SALIDAS/listasal[@seq="AULAS"]/listasal)"), "[A1]");
    EXPECT_EQ(listValues(document, R"(/SERVICIO/SALIDAS/listasal[@seq="TRAMOS"]/listasal)"), "");
    EXPECT_EQ(listValues(document, R"(/OTRO/SALIDAS/listasal[@seq="MATERIAS"]/listasal)"), "");
    const auto salidas = document.root()->selectSingleNode("SALIDAS");
    ASSERT_TRUE(salidas.has_value());
    EXPECT_EQ(salidas->line(), 2);
    EXPECT_EQ(document.root()->selectNodes("SALIDAS").size(), 2u);
    EXPECT_EQ(document.root()->selectSingleNode("salida"), std::nullopt);
}

TEST(XmlDocumentTest, AnUnusableExpressionIsAnError)
{
    const Document document = parse(kService);
    EXPECT_EQ(errorOf([&] { document.selectNodes("/SERVICIO/["); }),
        "La expresión XPath '/SERVICIO/[' no es válida");
    EXPECT_EQ(errorOf([&] { document.selectNodes("count(/SERVICIO)"); }),
        "La expresión XPath 'count(/SERVICIO)' no selecciona nodos");
}

TEST(XmlDocumentTest, TextIncludesDescendantsAndAttributesTellAbsentFromEmpty)
{
    const Document document
        = parse("<a x=\"\" y=\" 1\t2\n\"> uno<b>dos<!-- no --><![CDATA[<tres>]]></b>\n</a>");
    EXPECT_EQ(document.root()->text(), " unodos<tres>\n");
    EXPECT_EQ(document.root()->attribute("x"), "");
    EXPECT_EQ(document.root()->attribute("y"), " 1 2 "); // the parser normalises blanks in attributes
    EXPECT_EQ(document.root()->attribute("z"), std::nullopt);
    EXPECT_EQ(document.root()->name(), "a");
    EXPECT_EQ(Document::create().root(), std::nullopt);
    EXPECT_TRUE(Document::create().selectNodes(kMaterias).empty());
}

TEST(XmlDocumentTest, WrittenTextAndAttributesAreStoredAsText)
{
    const struct {
        std::string written;
        std::string read;
    } cases[] = {
        // clang-format off
        {"a&b <c>", "a&b <c>"},
        {"\"comillas\" y 'apóstrofos' &amp;", "\"comillas\" y 'apóstrofos' &amp;"},
        {" línea\r\nsiguiente\t", " línea\r\nsiguiente\t"},
        {"", ""},
        {"Ñandú € ’", "Ñandú € ’"},
        {"a\x01" "b\x1A" "c", "a?b?c"}, // XML cannot hold these controls
        {std::string("a\0b", 3), "a?b"},
        {"a\xC3(\xFF" "b\xED\xA0\x80" "c\xC0\xAF", "a?(?b???c??"}, // malformed UTF-8
        // clang-format on
    };
    for (const auto& c : cases) {
        Document document = parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a><old>x</old>y</a>");
        Element root = *document.root();
        root.setText(c.written);
        root.setAttribute("dato", c.written);
        const Document reread = parse(document.serialize());
        EXPECT_EQ(reread.root()->text(), c.read) << c.written;
        EXPECT_EQ(reread.root()->attribute("dato"), c.read) << c.written;
        EXPECT_EQ(reread.root()->selectSingleNode("old"), std::nullopt);
    }
}

TEST(XmlDocumentTest, ReplacingSalidasFindsTheSecondOneWhenThereAreTwo)
{
    Document document = parse("<R a=\"1\"><S n=\"1\"/><X/><S n=\"2\"><Y/></S></R>");
    Element root = *document.root();
    root.removeChild(*root.selectSingleNode("S"));
    root.appendChild(document.createElement("S"));
    Element container = *root.selectSingleNode("S");
    Element record = document.createElement("listasal");
    record.setAttribute("seq", "EMPLEADO_1");
    container.appendChild(record);
    Element field = document.createElement("salida");
    field.setText("x");
    record.appendChild(field);
    document.createElement("suelto"); // created and never placed: freed with the document
    EXPECT_EQ(document.serialize(),
        "<R a=\"1\"><X/><S n=\"2\"><Y/><listasal "
        "seq=\"EMPLEADO_1\"><salida>x</salida></listasal></S><S/></R>\n");
    EXPECT_EQ(field.line(), 0);
}

TEST(XmlDocumentTest, TreeEditsThatWouldBreakTheTreeAreRefused)
{
    Document document = parse("<R><A><B/></A><C/></R>");
    Element root = *document.root();
    Element a = *root.selectSingleNode("A");
    Element b = *a.selectSingleNode("B");
    Document other = parse("<Z/>");
    EXPECT_EQ(errorOf([&] { root.removeChild(b); }), "El elemento 'B' no es hijo de 'R'");
    EXPECT_EQ(errorOf([&] { b.appendChild(a); }), "El elemento 'A' no puede ir dentro de sí mismo");
    EXPECT_EQ(errorOf([&] { a.appendChild(a); }), "El elemento 'A' no puede ir dentro de sí mismo");
    EXPECT_EQ(
        errorOf([&] { root.appendChild(*other.root()); }), "El elemento 'Z' pertenece a otro documento XML");
    EXPECT_EQ(errorOf([&] { document.createElement("no vale"); }), "'no vale' no es un nombre XML válido");
    EXPECT_EQ(errorOf([&] { root.setAttribute("1x", "v"); }), "'1x' no es un nombre XML válido");
    root.selectSingleNode("C")->appendChild(b); // an element already in the tree moves
    EXPECT_EQ(document.serialize(), "<R><A/><C><B/></C></R>\n");
}

// Restores the default file I/O after a test that made it fail.
struct FaultInjection {
    explicit FaultInjection(io::FaultHook hook) { io::setFaultHook(std::move(hook)); }
    ~FaultInjection() { io::setFaultHook({}); }
};

TEST(XmlDocumentTest, AFailedSaveLeavesTheOldFileAsItWas)
{
    test::TempDir folder;
    const auto target = test::copyTestData("xml/latin1.xml", folder.path());
    const std::string before = test::readBytes(target);
    Document document = Document::load(target);
    document.root()->setText("nuevo");
    const io::Operation failing[] = { io::Operation::Write, io::Operation::Close, io::Operation::Rename };
    for (io::Operation operation : failing) {
        FaultInjection fault(
            [operation](io::Operation current) { return current == operation ? ENOSPC : 0; });
        EXPECT_THAT(errorOf([&] { document.save(target); }), HasSubstr("'" + target.string() + "'"));
        EXPECT_EQ(test::readBytes(target), before);
        EXPECT_EQ(test::folderEntries(folder.path()), std::vector<std::string> { "latin1.xml" });
    }
    // A folder where the file should be (root writes even read-only files, so this is the failure).
    std::filesystem::create_directory(folder / "carpeta.xml");
    EXPECT_THAT(errorOf([&] { document.save(folder / "carpeta.xml"); }), HasSubstr("carpeta.xml"));
    EXPECT_EQ(test::folderEntries(folder.path()), (std::vector<std::string> { "carpeta.xml", "latin1.xml" }));
    document.save(target);
    EXPECT_EQ(Document::load(target).root()->text(), "nuevo");
}

TEST(XmlDocumentTest, LineNumbersPast65535AreKept)
{
    std::string xml = "<a>";
    for (int i = 0; i < 70000; ++i) {
        xml += "<b/>\n";
    }
    EXPECT_EQ(parse(xml + "<c/></a>").root()->selectSingleNode("c")->line(), 70001);
    EXPECT_THAT(errorOf([&] { parse(xml + "<c></a>"); }), HasSubstr("(línea 70001)"));
}

} // namespace
} // namespace tqz::xml
