#include "convert/LessonReading.h"

#include "platform/Error.h"
#include "platform/Text.h"
#include "tables/Schemas.h"

namespace tqz::convert {

namespace fields = tables::soluc;

std::int32_t readWholeNumber(const dbf::Table& table, std::string_view field)
{
    const std::string value = table.text(field);
    if (value.empty()) {
        return 0;
    }
    if (const auto number = text::tryStrToInt(value)) {
        return *number;
    }
    fail("Tabla " + table.name() + ", registro " + std::to_string(table.recordNumber()) + ", campo "
        + std::string(field) + ": " + text::invalidIntegerMessage(value));
}

Lesson readLesson(const dbf::Table& soluc)
{
    Lesson lesson;
    lesson.tarea = soluc.text(fields::kTarea);
    lesson.dia = soluc.text(fields::kDia);
    lesson.hora = readWholeNumber(soluc, fields::kHora);
    lesson.aula = soluc.text(fields::kAula);
    lesson.codGrupo = soluc.text(fields::kCodGrupo);
    lesson.asig = soluc.text(fields::kAsig);
    return lesson;
}

std::string teacherFilter(std::string_view abrev)
{
    std::string expression(fields::kProf);
    expression += "= '";
    for (const char c : abrev) {
        expression += c;
        if (c == '\'') {
            expression += '\'';
        }
    }
    expression += '\'';
    return expression;
}

} // namespace tqz::convert
