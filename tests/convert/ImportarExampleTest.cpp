// The example school's timetable converted back whole: the tables exportar builds from
// examples/horario.xml, Quorvane's examples/SOLUC.DBF, and the result document compared byte for
// byte with tests/data/golden/ResultadoQuorvahorario.xml. After a deliberate change of the
// conversion or of the example, regenerate it with
//     TQZ_UPDATE_GOLDEN=1 build/bin/convert_tests --gtest_filter='ImportarExample*'
// and review the difference (tqz importar on the example shows the same document) before committing.

#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tqz::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples(TQZ_EXAMPLES);

// Where two texts part, with some context, for a readable failure on a one-line document.
std::string firstDifference(const std::string& actual, const std::string& expected)
{
    const auto at = static_cast<std::size_t>(
        std::mismatch(actual.begin(),
            actual.begin() + static_cast<std::ptrdiff_t>(std::min(actual.size(), expected.size())),
            expected.begin())
            .first
        - actual.begin());
    const std::size_t from = at < 200 ? 0 : at - 200;
    return "byte " + std::to_string(at) + "\n  actual:   ..." + actual.substr(from, 400) + "\n  expected: ..."
        + expected.substr(from, 400);
}

TEST(ImportarExampleTest, ResultMatchesTheGoldenDocument)
{
    TempDir dir;
    const fs::path workDir = dir / "WTEMP";
    const fs::path document = dir / "zentris" / "horario.xml";
    fs::create_directories(workDir);
    fs::create_directories(document.parent_path());
    fs::copy_file(kExamples / "horario.xml", document);
    convert::exportar(document, workDir);
    fs::copy_file(kExamples / "SOLUC.DBF", workDir / "SOLUC.DBF");

    const auto summary = convert::importar(document, workDir);

    // 40 teachers, the last without lessons; 591 rows, of which one deleted and eleven on day 0;
    // two lessons of a task the subjects lack, a room, a group and a subject the tables lack, and
    // a Saturday slot (two fields).
    EXPECT_EQ(summary.teachers, 40U);
    EXPECT_EQ(summary.lessons, 580U);
    EXPECT_EQ(summary.unresolvedFields, 7U);
    const std::string result = readBytes(summary.resultDocument);
    const fs::path golden = testData("golden") / "ResultadoQuorvahorario.xml";
    if (std::getenv("TQZ_UPDATE_GOLDEN") != nullptr) {
        writeBytes(golden, result);
        GTEST_SKIP() << "golden document rewritten: " << golden;
    }
    const std::string expected = readBytes(golden);
    EXPECT_TRUE(result == expected) << firstDifference(result, expected);
    EXPECT_EQ(readBytes(document), readBytes(kExamples / "horario.xml"));
}

// The example is made by its generator; the two must not drift apart.
TEST(ImportarExampleTest, RegeneratesTheExampleSolucByteForByte)
{
    TempDir dir;
    const auto run = runProgram({ TQZ_SYSTEM_PYTHON, (kExamples / "generate_soluc.py").string(),
        (kExamples / "horario.xml").string(), (dir / "SOLUC.DBF").string() });
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(readBytes(dir / "SOLUC.DBF"), readBytes(kExamples / "SOLUC.DBF"));
}

} // namespace
} // namespace tqz::test
