#pragma once

// Synthetic but realistic schools for the conversion benchmark. Scale 1 is one secondary school of
// the size of examples/horario.xml (about 40 teachers, 25 rooms, 20 groups, 200 assignments and
// 600 lessons); scale n is the document of a regional office that merged n such schools: every
// list, the subject catalogue included, grows n-fold, while the week keeps its 30 time slots. The
// same scale and seed always give the same bytes.
//
// Like a real export each school carries the irregularities the conversion must handle: padded
// values, a record with a single field, a subject code repeated in another letter case, a room
// without abbreviation, a group without level, tasks (one missing from the catalogue), an empty
// minutes value; and like a real solution, unplaced lessons (day 0), codes the tables lack, a
// teacher without lessons and a deleted row.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tqz::bench {

// One record of a positional list: its salida texts in order, UTF-8.
using Record = std::vector<std::string>;
// One record of the keyed list TRAMOS: (dato, text) pairs in order, UTF-8.
using KeyedRecord = std::vector<std::pair<std::string, std::string>>;

// One row of the timetabling program's solution.
struct Lesson {
    std::string prof;
    int dia = 0;   // 1 to 7; 0 for a lesson left unplaced
    int hora = 0;
    std::string tarea;
    std::string aula;
    std::string codGrupo;
    std::string asig;
    int sesion = 1;
    bool fija = false;
    bool deleted = false;
};

struct School {
    std::vector<Record> materias;
    std::vector<Record> profesores;
    std::vector<Record> aulas;
    std::vector<Record> grupos;
    std::vector<Record> asignaturas;
    std::vector<KeyedRecord> tramos;
    std::vector<Lesson> lessons; // in the order the solution stores them
};

School generateSchool(int scale, std::uint64_t seed);

// The exchange document, encoded ISO-8859-1 as school administration systems write it.
std::string documentBytes(const School& school);
// SOLUC.DBF as the timetabling program could have left it.
std::string solucBytes(const School& school);

// Writes `documentName` and SOLUC.DBF into `folder`.
void writeSchool(const School& school, const std::filesystem::path& folder, const std::string& documentName);

} // namespace tqz::bench
