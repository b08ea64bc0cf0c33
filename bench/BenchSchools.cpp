#include "BenchSchools.h"

#include "SchoolGenerator.h"

#include "tables/Schemas.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace tqz::bench {

namespace {

namespace fs = std::filesystem;

class TemporaryRoot {
public:
    TemporaryRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "tqz-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder under " + fs::temp_directory_path().string());
        }
        m_path = pattern;
    }
    ~TemporaryRoot()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TemporaryRoot(const TemporaryRoot&) = delete;
    TemporaryRoot& operator=(const TemporaryRoot&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

std::size_t placedLessons(const School& school)
{
    std::size_t placed = 0;
    for (const Lesson& lesson : school.lessons) {
        placed += !lesson.deleted && lesson.dia != 0 ? 1 : 0;
    }
    return placed;
}

// A timing of a run that stopped half-way, or of a school that lost its lessons on the way, would
// be worthless: the first run of each direction is checked against what the school holds.
void check(bool holds, const std::string& what, int scale)
{
    if (!holds) {
        throw std::runtime_error("scale " + std::to_string(scale) + ": " + what);
    }
}

std::size_t rowsOf(const convert::ExportSummary& summary, std::string_view table)
{
    for (const auto& count : summary.tables) {
        if (count.table == table) {
            return count.rows;
        }
    }
    throw std::runtime_error("exportar did not write " + std::string(table));
}

BenchSchool prepare(const fs::path& root, int scale)
{
    BenchSchool prepared;
    prepared.scale = scale;
    prepared.folder = root / ("scale-" + std::to_string(scale));
    prepared.exportDir = prepared.folder / "export";
    fs::create_directories(prepared.exportDir);
    const School school = generateSchool(scale, kSeed);
    writeSchool(school, prepared.folder, "horario.xml");
    prepared.document = prepared.folder / "horario.xml";
    prepared.documentBytes = fs::file_size(prepared.document);

    const auto exported = convert::exportar(prepared.document, prepared.folder);
    convert::exportar(prepared.document, prepared.exportDir);
    prepared.tableRows = exported.tables;
    // Every teacher and assignment record has its fields, so each gives a row.
    check(rowsOf(exported, tables::proft::kTable) == school.profesores.size(), "PROFT lost teachers", scale);
    check(rowsOf(exported, tables::asigt::kTable) == school.asignaturas.size(), "ASIGT lost assignments", scale);

    const auto imported = convert::importar(prepared.document, prepared.folder);
    check(imported.teachers == school.profesores.size(), "the result lost teachers", scale);
    check(imported.lessons == placedLessons(school), "the result lost lessons", scale);
    prepared.teachers = imported.teachers;
    prepared.lessons = imported.lessons;
    prepared.resultBytes = fs::file_size(imported.resultDocument);
    return prepared;
}

} // namespace

const BenchSchool& schoolAt(int scale)
{
    static TemporaryRoot root;
    static std::map<int, std::unique_ptr<BenchSchool>> schools;
    auto& school = schools[scale];
    if (!school) {
        school = std::make_unique<BenchSchool>(prepare(root.path(), scale));
    }
    return *school;
}

} // namespace tqz::bench
