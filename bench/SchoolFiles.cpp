// The generated school as files: the exchange document and the timetabling program's solution.

#include "SchoolGenerator.h"

#include "exchange/Envelope.h"
#include "platform/DbfWriter.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "tables/Schemas.h"

#include <cstdint>

namespace tqz::bench {

namespace {

namespace env = exchange;
namespace soluc = tables::soluc;

// SOLUC's own fields beyond the seven the tool reads: the session number of a lesson within its
// week and whether the planner fixed it by hand.
constexpr std::string_view kSesion = "SESION";
constexpr std::string_view kFija = "FIJA";
constexpr char kDeletedFlag = '*';

void appendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

void appendSalida(std::string& out, std::string_view value, std::string_view dato = {})
{
    out.append("<").append(env::kSalida);
    if (!dato.empty()) {
        out.append(" ").append(env::kDato).append("=\"");
        appendEscaped(out, dato);
        out += '"';
    }
    out += '>';
    appendEscaped(out, value);
    out.append("</").append(env::kSalida).append(">");
}

template <typename Records, typename WriteFields>
void appendList(std::string& out, std::string_view name, const Records& records, WriteFields writeFields)
{
    out.append("    <").append(env::kListasal).append(" ").append(env::kSeq).append("=\"").append(name).append("\">\n");
    for (const auto& record : records) {
        out.append("      <").append(env::kListasal).append(">");
        writeFields(record);
        out.append("</").append(env::kListasal).append(">\n");
    }
    out.append("    </").append(env::kListasal).append(">\n");
}

} // namespace

std::string documentBytes(const School& school)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
    out.append("<").append(env::kRoot).append(" nombre=\"EXPORTACION_HORARIOS\" centro=\"Dirección Provincial de Educación\">\n");
    out.append("  <").append(env::kSalidas).append(">\n");
    const auto positional = [&out](const Record& record) {
        for (const auto& value : record) {
            appendSalida(out, value);
        }
    };
    appendList(out, env::list::kMaterias, school.materias, positional);
    appendList(out, env::list::kProfesores, school.profesores, positional);
    appendList(out, env::list::kAulas, school.aulas, positional);
    appendList(out, env::list::kGrupos, school.grupos, positional);
    appendList(out, env::list::kAsignaturas, school.asignaturas, positional);
    appendList(out, env::list::kTramos, school.tramos, [&out](const KeyedRecord& record) {
        for (const auto& [dato, value] : record) {
            appendSalida(out, value, dato);
        }
    });
    out.append("  </").append(env::kSalidas).append(">\n");
    out.append("</").append(env::kRoot).append(">\n");
    // Every character the generator uses is in ISO-8859-1, where it has the same byte as in the
    // ANSI code page.
    return text::toAnsi(out);
}

std::string solucBytes(const School& school)
{
    using dbf::FieldKind;
    const dbf::Schema schema { { std::string(soluc::kProf), FieldKind::Text, 4 },
        { std::string(soluc::kDia), FieldKind::Integer, 0 }, { std::string(soluc::kHora), FieldKind::Integer, 0 },
        { std::string(soluc::kTarea), FieldKind::Text, 4 }, { std::string(soluc::kAula), FieldKind::Text, 4 },
        { std::string(soluc::kCodGrupo), FieldKind::Text, 4 }, { std::string(soluc::kAsig), FieldKind::Text, 4 },
        { std::string(kSesion), FieldKind::Integer, 0 }, { std::string(kFija), FieldKind::Boolean, 0 } };
    dbf::TableWriter table(std::string(soluc::kTable), schema, dbf::Date { 2025, 9, 1 });
    for (const Lesson& lesson : school.lessons) {
        table.append();
        table.setText(soluc::kProf, lesson.prof);
        table.setInteger(soluc::kDia, lesson.dia);
        table.setInteger(soluc::kHora, lesson.hora);
        table.setText(soluc::kTarea, lesson.tarea);
        table.setText(soluc::kAula, lesson.aula);
        table.setText(soluc::kCodGrupo, lesson.codGrupo);
        table.setText(soluc::kAsig, lesson.asig);
        table.setInteger(kSesion, lesson.sesion);
        table.setBoolean(kFija, lesson.fija);
        table.post();
    }
    std::string bytes = table.bytes();
    // The writer keeps no deleted rows; the flag byte is set afterwards, where the header puts it.
    const auto word = [&bytes](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]))
            | static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8U;
    };
    const std::size_t headerLength = word(8);
    const std::size_t recordLength = word(10);
    for (std::size_t i = 0; i < school.lessons.size(); ++i) {
        if (school.lessons[i].deleted) {
            bytes[headerLength + i * recordLength] = kDeletedFlag;
        }
    }
    return bytes;
}

void writeSchool(const School& school, const std::filesystem::path& folder, const std::string& documentName)
{
    io::writeFileAtomically(folder / documentName, documentBytes(school));
    io::writeFileAtomically(folder / std::string(soluc::kTable).append(".DBF"), solucBytes(school));
}

} // namespace tqz::bench
