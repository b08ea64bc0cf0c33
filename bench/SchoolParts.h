#pragma once

// What the school generator hands from the lists it writes to the timetable it schedules: one
// school of a regional document, with its codes as the working tables will hold them.

#include "Random.h"
#include "SchoolGenerator.h"

#include <string>
#include <vector>

namespace tqz::bench {

struct PlannedAssignment {
    std::string casig;
    std::string cgrup; // empty for a task
    std::string caula;
    int weeklyHours = 1;
    std::string taskCode; // for a task: the code the timetabling program was given for it
};

struct Centre {
    std::vector<std::string> teachers; // ABREV of each teacher, in list order
    std::vector<PlannedAssignment> assignments;
};

// Every planned hour of the school placed in a free slot of its teacher and group, or left
// unplaced (day 0) when none is free; then the oddities a real solution holds.
std::vector<Lesson> scheduleCentre(const Centre& centre, Random& random);

// The digits 0-9A-Z, `width` of them, for the codes that must stay unique across a region.
std::string base36(std::size_t number, std::size_t width);

} // namespace tqz::bench
