// The example school converted whole: its six tables against the golden dumps in
// tests/data/golden, against readers we did not write, and for the values its irregularities must
// give. After a deliberate change of the conversion or of the example, regenerate the dumps with
//     TQZ_UPDATE_GOLDEN=1 build/bin/convert_tests --gtest_filter='ExampleSchool*'
// and review the difference before committing it.

#include "convert/Conversions.h"

#include "convert/ExportSupport.h"
#include "platform/DbfTable.h"
#include "platform/Text.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tqz::convert {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kTables { "ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST" };

fs::path goldenFolder()
{
    return test::testData("golden");
}

class ExampleSchoolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new test::TempDir;
        exportar(fs::path(TQZ_EXAMPLES) / "horario.xml", s_dir->path());
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static fs::path table(const std::string& name) { return s_dir->path() / (name + ".DBF"); }

    // The first row whose `field` holds `value`, every field as UTF-8.
    static test::Row rowWhere(const std::string& tableName, std::string_view field, std::string_view value)
    {
        dbf::Table read(s_dir->path(), tableName);
        read.open(dbf::OpenMode::Shared);
        for (read.first(); !read.eof(); read.next()) {
            if (text::fromAnsi(read.text(field)) == value) {
                test::Row row;
                for (const auto& info : read.fields()) {
                    row[info.name] = text::fromAnsi(read.text(info.name));
                }
                return row;
            }
        }
        ADD_FAILURE() << tableName << " has no row with " << field << " = " << value;
        return {};
    }

    static test::TempDir* s_dir;
};

test::TempDir* ExampleSchoolTest::s_dir = nullptr;

TEST_F(ExampleSchoolTest, TablesMatchTheGoldenDumps)
{
    const bool update = std::getenv("TQZ_UPDATE_GOLDEN") != nullptr;
    for (const auto& name : kTables) {
        const std::string dump = test::dumpTable(table(name));
        const fs::path golden = goldenFolder() / (name + ".txt");
        if (update) {
            fs::create_directories(goldenFolder());
            test::writeBytes(golden, dump);
            continue;
        }
        ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; see the top of this file";
        EXPECT_EQ(dump, test::readBytes(golden)) << name;
    }
    if (update) {
        GTEST_SKIP() << "golden dumps rewritten in " << goldenFolder();
    }
}

TEST_F(ExampleSchoolTest, HeadersHaveTheLengthsOfTheirSchemas)
{
    struct Case {
        std::string name;
        std::size_t headerLength;
        std::size_t recordLength;
    };
    for (const Case& c :
        { Case { "ASIGNOMT", 193, 62 }, Case { "PROFT", 225, 116 }, Case { "AULAT", 193, 67 },
            Case { "GRUPOST", 225, 26 }, Case { "ASIGT", 417, 82 }, Case { "DIASHORAST", 289, 93 } }) {
        const std::string bytes = test::readBytes(table(c.name));
        const auto u16 = [&](std::size_t at) {
            return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]))
                + 256 * static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1]));
        };
        EXPECT_EQ(bytes[0], '\x03') << c.name;
        EXPECT_EQ(bytes[29], '\x58') << c.name;
        EXPECT_EQ(u16(8), c.headerLength) << c.name;
        EXPECT_EQ(u16(10), c.recordLength) << c.name;
        const std::size_t rows = u16(4);
        EXPECT_EQ(bytes.size(), c.headerLength + rows * c.recordLength + 1) << c.name;
        EXPECT_EQ(bytes.back(), '\x1A') << c.name;
    }
}

TEST_F(ExampleSchoolTest, ReadersWeDidNotWriteSeeTheGoldenValues)
{
    const fs::path script = fs::path(TQZ_TEST_DATA).parent_path() / "convert" / "cross_read.py";
    const auto result = test::runProgram(
        { TQZ_SYSTEM_PYTHON, script.string(), s_dir->path().string(), goldenFolder().string() });
    EXPECT_EQ(result.exitCode, 0) << result.output << result.errors;
}

TEST_F(ExampleSchoolTest, TheIrregularitiesGiveTheirValues)
{
    // "mat1" repeats MAT1 in another case and gives no row; the first record's values stay.
    EXPECT_EQ(rowWhere("ASIGNOMT", "COD", "MAT1").at("MATERIA"), "300208");
    EXPECT_EQ(rowWhere("ASIGNOMT", "COD", "GUAR").at("ESTAREA"), "T");
    EXPECT_EQ(rowWhere("ASIGNOMT", "COD", "MAT").at("ESTAREA"), "F");
    // Blanks and line breaks around the values are gone.
    EXPECT_EQ(rowWhere("PROFT", "ABREV", "NSG7"),
        (test::Row { { "ABREV", "NSG7" }, { "NOMBRE", "Núñez Sáez, Germán" }, { "DEPART", "" }, { "DNI", "" },
            { "X_EMPLEADO", "E104460" }, { "F_TOMAPOS", "01/09/2011" } }));
    // The pavilion has no abbreviation and goes by its centre code.
    EXPECT_EQ(rowWhere("AULAT", "DEPCENTRO", "D1309").at("ABREV"), "D130");
    EXPECT_EQ(rowWhere("GRUPOST", "ABREV", "4DIV").at("NIVEL"), "NIV");

    const auto guardias = rowWhere("ASIGT", "SESIONES", "121111111111111"); // 1500 minutes
    EXPECT_EQ(guardias.at("HORAS"), "25");
    EXPECT_EQ(guardias.at("CTAREA"), "GUAR");
    EXPECT_EQ(guardias.at("MATERIA"), "G100");
    EXPECT_EQ(rowWhere("ASIGT", "MATERIA", "G9150").at("CTAREA"), "G915"); // a task the subjects lack
    EXPECT_EQ(rowWhere("ASIGT", "CASIG", "OCE").at("HORAS"), "1.5"); // 90 minutes
    EXPECT_EQ(rowWhere("ASIGT", "CASIG", "EXP").at("SESIONES"), "111"); // 150 minutes
    EXPECT_EQ(rowWhere("ASIGT", "CASIG", "AE").at("SESIONES"), "1"); // no minutes
    EXPECT_EQ(rowWhere("ASIGT", "CASIG", "LCL").at("CTAREA"), "LE");

    EXPECT_EQ(rowWhere("DIASHORAST", "DIHO", "X3"),
        (test::Row { { "DIHO", "X3" }, { "CODDIHO", "TR303" }, { "DIA", "3" }, { "TEXTODIA", "" },
            { "HORA", "3" }, { "HORADESDE", "10:05" }, { "HORAHASTA", "11:00" }, { "MINUTOS", "55" } }));
    EXPECT_EQ(rowWhere("DIASHORAST", "DIHO", "V6").at("DIA"), "5");
}

// The example is made by its generator; the two must not drift apart.
TEST(ExampleSchoolGeneratorTest, RegeneratesTheExampleByteForByte)
{
    test::TempDir dir;
    const fs::path examples(TQZ_EXAMPLES);
    const auto result = test::runProgram(
        { TQZ_SYSTEM_PYTHON, (examples / "generate_school.py").string(), (dir / "horario.xml").string() });
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(test::readBytes(dir / "horario.xml"), test::readBytes(examples / "horario.xml"));
}

} // namespace
} // namespace tqz::convert
