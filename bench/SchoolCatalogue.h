#pragma once

// What every school of a region shares: the subject and task catalogue, the study plans, the
// week's periods and the names people are given.

#include <string>
#include <string_view>
#include <vector>

namespace tqz::bench::catalogue {

struct Subject {
    std::string_view key;   // the administration system's subject key; a task's begins with "G"
    std::string_view code;  // the abbreviation the timetabling program plans with
    std::string_view longCode;
    std::string_view name;
};

// Weekly minutes of a subject in a plan.
struct PlanEntry {
    std::string_view code;
    int minutes;
};

struct Period {
    std::string_view start;
    std::string_view end;
};

const std::vector<Subject>& subjects();
const std::vector<Subject>& tasks();
// The key of the subject or task with `code`.
std::string_view keyOf(std::string_view code);

// The plan of a group of `level` ("ESO", "BACH") in `year`; diversification groups have their own.
const std::vector<PlanEntry>& planFor(std::string_view level, int year, bool diversification);
// The duties each school hands out every week, with their minutes; the last ones carry the odd
// values a real export holds (an hour and a half, 25 hours of guard, 0, negative).
const std::vector<PlanEntry>& duties();
struct SpecialRoom {
    std::string_view kind;  // what the study plans ask for, such as "LABQ"
    char building;
    std::string_view name;
};

// The specialised rooms of every school; the last one is the sports hall, which the
// administration system exports without abbreviation.
const std::vector<SpecialRoom>& specialRooms();
// The kind of specialised room where `code` is taught; empty for an ordinary classroom.
std::string_view specialRoomOf(std::string_view code);

const std::vector<Period>& periods();
inline constexpr std::string_view kDayLetters = "LMXJV";

const std::vector<std::string_view>& firstNames();
const std::vector<std::string_view>& surnames();
// Names of the electives a school offers on its own.
const std::vector<std::string_view>& electiveNames();

} // namespace tqz::bench::catalogue
