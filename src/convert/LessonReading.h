#pragma once

// The lessons of the timetabling program's solution, as the tool reads them from SOLUC. Quorvane
// may store DIA and HORA as numbers or as text; either way they must hold whole numbers.

#include "platform/DbfTable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tqz::convert {

struct Lesson {
    std::string tarea;
    std::string dia; // the day as text, "3" for day 3
    std::int32_t hora = 0;
    std::string aula;
    std::string codGrupo;
    std::string asig;
};

// A field of the current row read as a whole number: empty reads as 0, anything else follows the
// text-to-integer rules. A value that is no whole number fails naming the table, the row's
// position in the file and the field.
std::int32_t readWholeNumber(const dbf::Table& table, std::string_view field);

// The lesson on SOLUC's current row.
Lesson readLesson(const dbf::Table& soluc);

// The filter that shows the SOLUC rows of one teacher: PROF= 'value', a quote inside doubled.
std::string teacherFilter(std::string_view abrev);

} // namespace tqz::convert
