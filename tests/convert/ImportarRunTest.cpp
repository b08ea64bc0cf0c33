#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "platform/XmlDocument.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tqz::test {
namespace {

using convert::importar;

// The seq values of the lessons in a dump, in order.
std::vector<std::string> lessonSeqs(const std::string& dump)
{
    std::vector<std::string> seqs;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  ")) {
            seqs.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return seqs;
}

TEST_F(ImportarTest, WritesOneRecordPerTeacherWithItsLessonsNumberedWithoutGaps)
{
    writeSchool({
        { "ANA", "2", "4", "MAT", "A1", "1A", "MAT" },
        { "ANA", "0", "1", "MAT", "A1", "1A", "MAT" }, // day 0: no lesson, no number
        { "O'N", "1", "1", "LEN", "a2", "2B", "LEN" }, // the quote is doubled in the filter
        { "O", "3", "1", "MAT", "A1", "1A", "MAT" }, // neither O'N's nor anyone's
        { "ANA", "1", "10", "MAT", "A1", "1A", "MAT" },
        { "ana", "1", "1", "MAT", "A1", "1A", "MAT" }, // another teacher code
        { "ZZ", "1", "1", "MAT", "A1", "1A", "MAT" },
        { "ANA", "1", "1", "LEN", "A1", "1A", "LEN", true }, // deleted
    });
    const std::string chosen = readBytes(document());

    const auto summary = importar(document(), workDir());

    EXPECT_EQ(dumpTeachers(result()),
        "EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=01/09/2020\n"
        "  ACTIVIDAD_1 X_ACTIVIDAD=M001 N_DIASEMANA=2 X_TRAMO=T08 X_DEPCENTRO=D01 X_UNIDAD=U1A "
        "X_MATERIAOMC=MA1A\n"
        "  ACTIVIDAD_2 X_ACTIVIDAD=M001 N_DIASEMANA=1 X_TRAMO=T10 X_DEPCENTRO=D01 X_UNIDAD=U1A "
        "X_MATERIAOMC=MA1A\n"
        "EMPLEADO_2 X_EMPLEADO=E2 F_TOMAPOS=15/09/2021\n"
        "  ACTIVIDAD_1 X_ACTIVIDAD=L001 N_DIASEMANA=1 X_TRAMO=T01 X_DEPCENTRO=D02 X_UNIDAD=U2B "
        "X_MATERIAOMC=LE2B\n"
        "EMPLEADO_3 X_EMPLEADO=E3 F_TOMAPOS=01/10/2019\n");
    EXPECT_EQ(summary.resultDocument, result());
    EXPECT_EQ(summary.teachers, 3U);
    EXPECT_EQ(summary.lessons, 3U);
    EXPECT_EQ(summary.unresolvedFields, 0U);
    EXPECT_EQ(readBytes(document()), chosen);
}

TEST_F(ImportarTest, NumbersTenLessonsAndMoreWithoutLeadingZeros)
{
    std::vector<SolucRow> rows;
    for (int hora = 1; hora <= 11; ++hora) {
        rows.push_back({ "O'N", "1", std::to_string(hora), "MAT", "A1", "1A", "MAT" });
    }
    writeSchool(rows);
    const auto seqs = lessonSeqs(runDump());
    ASSERT_EQ(seqs.size(), 11U);
    EXPECT_EQ(seqs[8], "ACTIVIDAD_9");
    EXPECT_EQ(seqs[9], "ACTIVIDAD_10");
    EXPECT_EQ(seqs[10], "ACTIVIDAD_11");
}

TEST_F(ImportarTest, WithoutTeachersWritesTheErrorBlockAlone)
{
    writeSchool({ { "ANA", "1", "1", "MAT", "A1", "1A", "MAT" } });
    writeWorkingTable(workDir(), "PROFT", {});

    const auto summary = importar(document(), workDir());

    const auto saved = xml::Document::load(result());
    const auto children = saved.selectNodes("/SERVICIO/SALIDAS/*");
    ASSERT_EQ(children.size(), 1U);
    EXPECT_EQ(children.front().name(), "ERROR");
    EXPECT_EQ(summary.teachers, 0U);
    EXPECT_EQ(summary.lessons, 0U);
}

TEST_F(ImportarTest, AnEarlierResultAsInputGetsThePrefixTwice)
{
    writeSchool({});
    const auto earlier = document().parent_path() / "ResultadoQuorvahorario.xml";
    std::filesystem::copy_file(document(), earlier);

    const auto summary = importar(earlier, workDir());

    EXPECT_EQ(summary.resultDocument, document().parent_path() / "ResultadoQuorvaResultadoQuorvahorario.xml");
    EXPECT_TRUE(std::filesystem::is_regular_file(summary.resultDocument));
}

TEST(ResultPathTest, PutsThePrefixBeforeTheFileName)
{
    struct Case {
        std::filesystem::path document;
        std::filesystem::path result;
    };
    const Case cases[] = {
        { "/wtemp/zentris/horario.xml", "/wtemp/zentris/ResultadoQuorvahorario.xml" },
        { "horario.xml", "ResultadoQuorvahorario.xml" },
        { "../x/ResultadoQuorvaH.XML", "../x/ResultadoQuorvaResultadoQuorvaH.XML" },
        { "/wtemp/con espacios/año 2025.xml", "/wtemp/con espacios/ResultadoQuorvaaño 2025.xml" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert::resultPathFor(c.document), c.result) << c.document;
    }
}

} // namespace
} // namespace tqz::test
