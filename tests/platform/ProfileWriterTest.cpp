#include "platform/ProfileWriter.h"
#include "platform/Error.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using tqz::ini::withProfileString;

constexpr const char* kSection = "Transformadores";
constexpr const char* kKey = "Transformado";

struct EditCase {
    const char* name;
    std::string before;
    const char* value;
    std::string after;
};

class ProfileEdit : public testing::TestWithParam<EditCase> { };

TEST_P(ProfileEdit, WritesTheKeyAndKeepsEverythingElse)
{
    const auto& edit = GetParam();
    EXPECT_EQ(withProfileString(edit.before, kSection, kKey, edit.value), edit.after);
}

const EditCase kEdits[] = {
    { "NewFile", "", "1", "[Transformadores]\r\nTransformado=1\r\n" },
    { "NegativeValue", "", "-1", "[Transformadores]\r\nTransformado=-1\r\n" },
    { "SectionAppendedAtTheEnd", "[Quorvane]\r\nRuta=C:\\Q\r\n", "0",
        "[Quorvane]\r\nRuta=C:\\Q\r\n[Transformadores]\r\nTransformado=0\r\n" },
    { "UnterminatedLastLineIsEndedFirst", "[Quorvane]\r\nRuta=C:\\Q", "1",
        "[Quorvane]\r\nRuta=C:\\Q\r\n[Transformadores]\r\nTransformado=1\r\n" },
    { "ValueReplacedKeepingTheKeySpelling", "[transformadores]\r\nTRANSFORMADO=0\r\n", "1",
        "[transformadores]\r\nTRANSFORMADO=1\r\n" },
    { "OtherLinesKeptByteForByte",
        "; escrito por Quorvane\n\n[Quorvane]  \r\nRuta = C:\\Q ;x\n\n[ Transformadores ]\r\nAntes=2\r\n"
        "Transformado = 5\r\nDespues=3\n[Otro]\r\nTransformado=9",
        "-1",
        "; escrito por Quorvane\n\n[Quorvane]  \r\nRuta = C:\\Q ;x\n\n[ Transformadores ]\r\nAntes=2\r\n"
        "Transformado=-1\r\nDespues=3\n[Otro]\r\nTransformado=9" },
    { "KeyOfAnotherSectionIsNotTouched", "[Otro]\r\nTransformado=9\r\n[Transformadores]\r\n", "1",
        "[Otro]\r\nTransformado=9\r\n[Transformadores]\r\nTransformado=1\r\n" },
    { "NewKeyGoesBeforeTheSectionsBlankLines",
        "[Transformadores]\r\nOtra=1\r\n\r\n\r\n[Siguiente]\r\nA=1\r\n", "1",
        "[Transformadores]\r\nOtra=1\r\nTransformado=1\r\n\r\n\r\n[Siguiente]\r\nA=1\r\n" },
    { "NewKeyAfterAnUnterminatedHeader", "[Transformadores]", "1",
        "[Transformadores]\r\nTransformado=1\r\n" },
    { "CommentedKeyIsAnotherKey", "[Transformadores]\r\n;Transformado=5\r\n", "1",
        "[Transformadores]\r\n;Transformado=5\r\nTransformado=1\r\n" },
    { "FirstOfDuplicateSectionsAndKeys",
        "[Transformadores]\r\nTransformado=4\r\nTransformado=5\r\n[TRANSFORMADORES]\r\nTransformado=6\r\n",
        "1",
        "[Transformadores]\r\nTransformado=1\r\nTransformado=5\r\n[TRANSFORMADORES]\r\nTransformado=6\r\n" },
    { "KeyWithoutValueReplaced", "[Transformadores]\nTransformado=\n", "1",
        "[Transformadores]\nTransformado=1\n" },
    // Windows does not know the UTF-8 mark, so a section on the first line cannot be found there.
    { "Utf8MarkHidesTheFirstSection", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n", "1",
        "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n[Transformadores]\r\nTransformado=1\r\n" },
    { "LatinOneBytesKept", "[Ra\xEDz]\r\nA\xF1o=2024\r\n", "1",
        "[Ra\xEDz]\r\nA\xF1o=2024\r\n[Transformadores]\r\nTransformado=1\r\n" },
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileEdit, testing::ValuesIn(kEdits),
    [](const auto& param) { return std::string(param.param.name); });

std::string utf16(std::string_view ascii)
{
    std::string bytes;
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

TEST(ProfileEditUtf16, FileWithTheUtf16MarkStaysUtf16)
{
    const std::string mark = "\xFF\xFE";
    EXPECT_EQ(
        withProfileString(mark + utf16("[Transformadores]\r\nTransformado=0\r\n"), kSection, kKey, "-1"),
        mark + utf16("[Transformadores]\r\nTransformado=-1\r\n"));
    EXPECT_EQ(withProfileString(mark + utf16("[A]\r\nB=\xE9\r\n"), kSection, kKey, "1"),
        mark + utf16("[A]\r\nB=\xE9\r\n[Transformadores]\r\nTransformado=1\r\n"));
}

TEST(ProfileFile, CreatesAMissingFile)
{
    tqz::test::TempDir dir;
    tqz::ini::writeProfileString(dir / "Quorvane.ini", kSection, kKey, "1");
    EXPECT_EQ(tqz::test::readBytes(dir / "Quorvane.ini"), "[Transformadores]\r\nTransformado=1\r\n");
    EXPECT_EQ(tqz::test::folderEntries(dir.path()), std::vector<std::string> { "Quorvane.ini" });
}

TEST(ProfileFile, RewritesOnlyTheValueOfAnExistingFile)
{
    tqz::test::TempDir dir;
    const std::string before = "[General]\nIdioma=ES\n\n[transformadores]\r\ntransformado=0\r\n";
    tqz::test::writeBytes(dir / "Quorvane.ini", before);
    tqz::ini::writeProfileString(dir / "Quorvane.ini", kSection, kKey, "-1");
    EXPECT_EQ(tqz::test::readBytes(dir / "Quorvane.ini"),
        "[General]\nIdioma=ES\n\n[transformadores]\r\ntransformado=-1\r\n");
}

// The suite runs as root, which writes read-only files; a folder where the file should be is
// what reliably cannot be written.
TEST(ProfileFile, UnwritablePathIsReportedByName)
{
    tqz::test::TempDir dir;
    std::filesystem::create_directory(dir / "Quorvane.ini");
    const auto inFolder = dir / "Quorvane.ini";
    const auto missingParent = dir / "falta" / "Quorvane.ini";
    for (const auto& file : { inFolder, missingParent }) {
        try {
            tqz::ini::writeProfileString(file, kSection, kKey, "1");
            ADD_FAILURE() << "no error for " << file;
        } catch (const tqz::Error& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(inFolder));
    EXPECT_EQ(tqz::test::folderEntries(dir.path()), std::vector<std::string> { "Quorvane.ini" });
}

} // namespace
