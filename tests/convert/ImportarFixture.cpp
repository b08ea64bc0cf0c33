#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "platform/DbfWriter.h"
#include "platform/XmlDocument.h"
#include "support/Files.h"
#include "tables/Schemas.h"

#include <cstdint>
#include <sstream>

namespace tqz::test {

namespace {

std::size_t readUint16(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::size_t>(static_cast<unsigned char>(bytes[offset]))
        | static_cast<std::size_t>(static_cast<unsigned char>(bytes[offset + 1])) << 8U;
}

// Our writer never deletes a row; the flag byte is set afterwards as any dBase program would.
void markDeleted(std::string& bytes, std::size_t row)
{
    const std::size_t headerLength = readUint16(bytes, 8);
    const std::size_t recordLength = readUint16(bytes, 10);
    bytes[headerLength + row * recordLength] = '*';
}

dbf::Schema solucSchema(SolucKind kind)
{
    const auto number = [kind](const char* name) {
        return kind == SolucKind::Numeric ? dbf::FieldDef { name, dbf::FieldKind::Integer, 0 }
                                          : dbf::FieldDef { name, dbf::FieldKind::Text, 2 };
    };
    return {
        { "PROF", dbf::FieldKind::Text, 4 },
        { "SESION", dbf::FieldKind::Integer, 0 },
        number("DIA"),
        number("HORA"),
        { "TAREA", dbf::FieldKind::Text, 4 },
        { "AULA", dbf::FieldKind::Text, 4 },
        { "CODGRUPO", dbf::FieldKind::Text, 4 },
        { "ASIG", dbf::FieldKind::Text, 4 },
        { "BLOQUEO", dbf::FieldKind::Boolean, 0 },
    };
}

void setNumber(dbf::TableWriter& writer, SolucKind kind, std::string_view field, const std::string& value)
{
    if (kind == SolucKind::Character) {
        writer.setText(field, value);
    } else if (!value.empty()) {
        writer.setInteger(field, std::stoi(value));
    }
}

std::string shown(const std::string& value)
{
    const bool padded = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    return padded ? "[" + value + "]" : value;
}

void dumpFields(const xml::Element& record, std::ostream& out)
{
    out << record.attribute("seq").value_or("?");
    for (const auto& salida : record.selectNodes("salida")) {
        out << ' ' << salida.attribute("dato").value_or("?") << '=' << shown(salida.text());
    }
    out << '\n';
}

} // namespace

void writeWorkingTable(
    const std::filesystem::path& folder, std::string_view table, const std::vector<TableRow>& rows)
{
    const auto& schema = tables::schemaOf(table);
    dbf::TableWriter writer(std::string(table), schema.fields);
    for (const auto& row : rows) {
        writer.append();
        for (const auto& [field, value] : row) {
            writer.setText(field, value);
        }
        writer.post();
    }
    writeBytes(folder / (std::string(table) + ".DBF"), writer.bytes());
}

void writeSoluc(const std::filesystem::path& folder, const std::vector<SolucRow>& rows, SolucKind kind)
{
    dbf::TableWriter writer("SOLUC", solucSchema(kind));
    for (const auto& row : rows) {
        writer.append();
        writer.setText("PROF", row.prof);
        writer.setInteger("SESION", 1);
        setNumber(writer, kind, "DIA", row.dia);
        setNumber(writer, kind, "HORA", row.hora);
        writer.setText("TAREA", row.tarea);
        writer.setText("AULA", row.aula);
        writer.setText("CODGRUPO", row.codGrupo);
        writer.setText("ASIG", row.asig);
        writer.post();
    }
    std::string bytes = writer.bytes();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].deleted) {
            markDeleted(bytes, i);
        }
    }
    writeBytes(folder / "SOLUC.DBF", bytes);
}

std::string dumpTeachers(const std::filesystem::path& resultDocument)
{
    const auto document = xml::Document::load(resultDocument);
    std::ostringstream out;
    for (const auto& teacher : document.selectNodes("//listasal[starts-with(@seq, 'EMPLEADO_')]")) {
        dumpFields(teacher, out);
        for (const auto& lesson : teacher.selectNodes("listasal")) {
            out << "  ";
            dumpFields(lesson, out);
        }
    }
    return out.str();
}

ImportarTest::ImportarTest()
    : m_workDir(m_temp / "WTEMP")
    , m_document(m_temp / "zentris" / "horario.xml")
{
    std::filesystem::create_directories(m_workDir);
    std::filesystem::create_directories(m_document.parent_path());
    writeBytes(m_document, kSmallDocument);
}

std::filesystem::path ImportarTest::result() const
{
    return m_document.parent_path() / "ResultadoQuorvahorario.xml";
}

void ImportarTest::writeSchool(const std::vector<SolucRow>& lessons, SolucKind kind)
{
    writeWorkingTable(m_workDir, "ASIGNOMT",
        { { { "COD", "MAT" }, { "MATERIA", "M001" } }, { { "COD", "LEN" }, { "MATERIA", "L001" } },
            { { "COD", "VAC" } }, { { "COD", "MAT" }, { "MATERIA", "M999" } },
            { { "COD", "mat" }, { "MATERIA", "m001" } } });
    writeWorkingTable(m_workDir, "PROFT",
        { { { "ABREV", "ANA" }, { "X_EMPLEADO", "E1" }, { "F_TOMAPOS", "01/09/2020" } },
            { { "ABREV", "O'N" }, { "X_EMPLEADO", "E2" }, { "F_TOMAPOS", "15/09/2021" } },
            { { "ABREV", "LUIS" }, { "X_EMPLEADO", "E3" }, { "F_TOMAPOS", "01/10/2019" } } });
    writeWorkingTable(m_workDir, "AULAT",
        { { { "ABREV", "A1" }, { "DEPCENTRO", "D01" } }, { { "ABREV", "A1" }, { "DEPCENTRO", "D99" } },
            { { "ABREV", "a2" }, { "DEPCENTRO", "D02" } }, { { "ABREV", "A3" }, { "DEPCENTRO", " D03" } } });
    writeWorkingTable(m_workDir, "GRUPOST",
        { { { "ABREV", "1A" }, { "UNIDAD", "U1A" } }, { { "ABREV", "1A" }, { "UNIDAD", "U99" } },
            { { "ABREV", "2B" }, { "UNIDAD", "U2B" } },
            { { "ABREV", "3C" },
                { "UNIDAD",
                    "\xD1"
                    "3C" } } });
    writeWorkingTable(m_workDir, "ASIGT",
        { { { "CASIG", "MAT" }, { "CGRUP", "1A" }, { "MATERIA", "MA1A" } },
            { { "CASIG", "MAT" }, { "CGRUP", "1A" }, { "MATERIA", "DUP" } },
            { { "CASIG", "LEN" }, { "CGRUP", "2B" }, { "MATERIA", "LE2B" } },
            { { "CASIG", "VAC" }, { "CGRUP", "1A" } } });
    writeWorkingTable(m_workDir, "DIASHORAST",
        { { { "DIHO", "L1" }, { "DIA", "1" }, { "CODDIHO", "T01" } },
            { { "DIHO", "L1" }, { "DIA", "1" }, { "CODDIHO", "DUP" } },
            { { "DIHO", "M4" }, { "DIA", "2" }, { "CODDIHO", "T08" } },
            { { "DIHO", "L10" }, { "DIA", "1" }, { "CODDIHO", "T10" } },
            { { "DIHO", "L0" }, { "DIA", "1" }, { "CODDIHO", "T00" } },
            { { "DIHO", "S2" }, { "DIA", "6" }, { "CODDIHO", "TS2" } },
            { { "DIHO", "D3" }, { "DIA", "7" }, { "CODDIHO", "TD3" } },
            { { "DIHO", "5" }, { "CODDIHO", "TX5" } } });
    writeSoluc(m_workDir, lessons, kind);
}

std::string ImportarTest::runDump()
{
    convert::importar(m_document, m_workDir);
    return dumpTeachers(result());
}

} // namespace tqz::test
