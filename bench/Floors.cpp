#include "Floors.h"

#include "exchange/Envelope.h"
#include "platform/DbfWriter.h"
#include "platform/FileIo.h"
#include "tables/Schemas.h"
#include "tables/WorkingTable.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace tqz::bench::floors {

namespace {

namespace fs = std::filesystem;
namespace env = exchange;

// Only for texts that end in a zero: literals and std::string contents.
const xmlChar* xmlText(std::string_view text)
{
    return reinterpret_cast<const xmlChar*>(text.data());
}

// A new file each time: rewriting an existing one in place makes ext4 flush it on closing (its
// guard for programs that truncate and rewrite), which would be a disk wait the floor never asked for.
void writePlainly(const fs::path& file, const std::string& bytes)
{
    fs::remove(file);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

// A value of the length working-table values have: codes of four characters, names of twenty.
std::string sampleValue(int width)
{
    static const std::string kText = "Lengua Castellana y Literatura";
    return kText.substr(0, static_cast<std::size_t>(std::min(width, 20)));
}

// Every field the conversion sets: text, boolean and float ones (it leaves the integer ones empty).
void fillRow(dbf::TableWriter& table, const dbf::Schema& fields)
{
    table.append();
    for (const auto& field : fields) {
        switch (field.kind) {
        case dbf::FieldKind::Text: table.setText(field.name, sampleValue(field.width)); break;
        case dbf::FieldKind::Boolean: table.setBoolean(field.name, false); break;
        case dbf::FieldKind::Float: table.setFloat(field.name, 1.5); break;
        case dbf::FieldKind::Integer: break;
        }
    }
    table.post();
}

xmlNodePtr appendRecord(xmlNodePtr parent, std::string_view seq)
{
    xmlNodePtr record = xmlNewChild(parent, nullptr, xmlText(env::kListasal), nullptr);
    xmlNewProp(record, xmlText(env::kSeq), xmlText(seq));
    return record;
}

void appendSalida(xmlNodePtr record, std::string_view dato, const char* value)
{
    xmlNodePtr salida = xmlNewTextChild(record, nullptr, xmlText(env::kSalida), reinterpret_cast<const xmlChar*>(value));
    xmlNewProp(salida, xmlText(env::kDato), xmlText(dato));
}

void appendLesson(xmlNodePtr teacher, std::size_t number)
{
    namespace field = env::result;
    const std::string seq = std::string(field::kLessonSeqPrefix) + std::to_string(number);
    xmlNodePtr lesson = appendRecord(teacher, seq);
    appendSalida(lesson, field::kXActividad, "300101");
    appendSalida(lesson, field::kNDiaSemana, "3");
    appendSalida(lesson, field::kXTramo, "T0302");
    appendSalida(lesson, field::kXDepCentro, "D001201");
    appendSalida(lesson, field::kXUnidad, "U003001");
    appendSalida(lesson, field::kXMateriaOmc, "300101");
}

} // namespace

void parseDocument(const fs::path& document)
{
    const std::string bytes = io::readFile(document);
    xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), document.c_str(), nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) {
        throw std::runtime_error("libxml2 cannot parse " + document.string());
    }
    xmlFreeDoc(doc);
}

void writeTables(const std::vector<convert::TableCount>& rows, const fs::path& folder, bool synced)
{
    for (const auto& count : rows) {
        const auto& schema = tables::schemaOf(count.table);
        auto table = tables::newWorkingTable(count.table);
        for (std::size_t row = 0; row < count.rows; ++row) {
            fillRow(table, schema.fields);
        }
        const fs::path file = folder / (count.table + ".DBF");
        if (synced) {
            io::writeFileAtomically(file, table.bytes());
        } else {
            writePlainly(file, table.bytes());
        }
    }
}

void writeResult(std::size_t teachers, std::size_t lessons, const fs::path& workDir, const fs::path& result)
{
    std::size_t bytesRead = io::readFile(workDir / (std::string(tables::soluc::kTable) + ".DBF")).size();
    for (const auto& schema : tables::workingTables()) {
        bytesRead += io::readFile(workDir / (std::string(schema.name) + ".DBF")).size();
    }
    if (bytesRead == 0) {
        throw std::runtime_error("no tables in " + workDir.string());
    }
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(xmlNewDoc(xmlText("1.0")), xmlFreeDoc);
    xmlNodePtr root = xmlNewNode(nullptr, xmlText(env::kRoot));
    xmlDocSetRootElement(doc.get(), root);
    xmlNodePtr salidas = xmlNewChild(root, nullptr, xmlText(env::kSalidas), nullptr);
    std::size_t written = 0;
    for (std::size_t t = 0; t < teachers; ++t) {
        const std::string seq = std::string(env::result::kTeacherSeqPrefix) + std::to_string(t + 1);
        xmlNodePtr teacher = appendRecord(salidas, seq);
        appendSalida(teacher, env::result::kXEmpleado, "E104201");
        appendSalida(teacher, env::result::kFTomapos, "01/09/2004");
        // The lessons spread evenly over the teachers.
        const std::size_t until = lessons * (t + 1) / teachers;
        for (std::size_t number = 1; written < until; ++written, ++number) {
            appendLesson(teacher, number);
        }
    }
    fs::remove(result);
    if (xmlSaveFileEnc(result.c_str(), doc.get(), "ISO-8859-1") < 0) {
        throw std::runtime_error("libxml2 cannot save " + result.string());
    }
}

} // namespace tqz::bench::floors
