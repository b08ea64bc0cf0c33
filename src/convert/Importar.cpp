#include "convert/ActivityResolution.h"
#include "convert/Conversions.h"
#include "convert/DocumentLoading.h"
#include "convert/ImportTables.h"
#include "convert/LessonReading.h"
#include "exchange/Envelope.h"
#include "exchange/ResultDocument.h"
#include "platform/FileIo.h"
#include "tables/Schemas.h"
#include "tables/WorkFolder.h"

#include <string>

namespace tqz::convert {

namespace {

namespace proft = tables::proft;
namespace soluc = tables::soluc;

struct ImportRun {
    ImportTables& tables;
    ActivityResolver& resolver;
    exchange::ResultDocument& result;
    ImportSummary& summary;
};

// The SOLUC rows of one teacher, in table order; a row whose day is 0 is no scheduled lesson and
// takes no number, so the lesson numbers have no gaps.
void appendLessons(ImportRun& run, xml::Element teacher, std::string_view abrev)
{
    dbf::Table& lessons = run.tables.soluc();
    lessons.clearFilter();
    lessons.setFilter(teacherFilter(abrev));
    std::size_t number = 0;
    for (lessons.first(); !lessons.eof(); lessons.next()) {
        if (readWholeNumber(lessons, soluc::kDia) == 0) {
            continue;
        }
        auto record = run.result.appendLesson(teacher, ++number);
        run.summary.unresolvedFields += run.resolver.resolve(readLesson(lessons), run.result, record);
    }
    run.summary.lessons += number;
}

// One teacher record per PROFT row, in table order, teachers without lessons included.
void appendTeachers(ImportRun& run)
{
    dbf::Table& teachers = run.tables.profesores();
    for (teachers.first(); !teachers.eof(); teachers.next()) {
        const std::string employee = teachers.text(proft::kXEmpleado);
        const std::string appointment = teachers.text(proft::kFTomapos);
        auto record = run.result.appendTeacher(++run.summary.teachers);
        run.result.appendSalida(record, exchange::result::kXEmpleado, employee);
        run.result.appendSalida(record, exchange::result::kFTomapos, appointment);
        appendLessons(run, record, teachers.text(proft::kAbrev));
    }
}

} // namespace

ImportSummary importar(const std::filesystem::path& document, const std::filesystem::path& workDir)
{
    const tables::WorkFolder folder(workDir);
    ImportSummary summary;
    summary.resultDocument = resultPathFor(document);
    io::removeTemporariesOf(summary.resultDocument);
    // The document is checked and its output section replaced before any table is opened, so a
    // document that cannot take a result never locks the timetabling program out.
    exchange::ResultDocument result(CargarDocumentoXML(document), document);
    ImportTables tables(workDir);
    ActivityResolver resolver(tables);
    ImportRun run { tables, resolver, result, summary };
    appendTeachers(run);
    tables.close();
    result.save(summary.resultDocument);
    return summary;
}

std::filesystem::path resultPathFor(const std::filesystem::path& document)
{
    return document.parent_path()
        / (std::string(exchange::result::kFileNamePrefix) + document.filename().string());
}

} // namespace tqz::convert
