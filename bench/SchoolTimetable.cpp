// A plausible solution of the timetabling program for one school: every planned hour in a slot
// where neither its teacher nor its group is busy, teachers kept to their subjects while their
// hours allow. It only has to look like a real solution, not be a good one.

#include "SchoolParts.h"

#include <algorithm>
#include <bitset>
#include <cctype>
#include <unordered_map>

namespace tqz::bench {

namespace {

constexpr std::size_t kPeriodsPerDay = 6;
constexpr std::size_t kSlots = 5 * kPeriodsPerDay;
constexpr int kTeachingHoursPerTeacher = 20;

using Week = std::bitset<kSlots>;

class Timetable {
public:
    explicit Timetable(const Centre& centre)
        : m_centre(centre)
        // The last teacher of the school is on leave: a teacher record without lessons.
        , m_teachers(centre.teachers.size() - 1)
        , m_load(m_teachers, 0)
        , m_busy(m_teachers)
    {
    }

    std::size_t teacherFor(const std::string& subject, int hours);
    std::size_t leastBusy() const;
    void place(Lesson lesson, std::size_t teacher, std::size_t start);
    std::vector<Lesson> take() { return std::move(m_lessons); }

private:
    const Centre& m_centre;
    std::size_t m_teachers;
    std::vector<int> m_load;
    std::vector<Week> m_busy;
    std::unordered_map<std::string, Week> m_groupBusy;
    std::unordered_map<std::string, std::vector<std::size_t>> m_subjectTeachers;
    std::vector<Lesson> m_lessons;
};

// A teacher who already teaches the subject and has hours left, else the least busy one.
std::size_t Timetable::teacherFor(const std::string& subject, int hours)
{
    auto& teachers = m_subjectTeachers[subject];
    for (const std::size_t teacher : teachers) {
        if (m_load[teacher] + hours <= kTeachingHoursPerTeacher) {
            return teacher;
        }
    }
    const std::size_t teacher = leastBusy();
    teachers.push_back(teacher);
    return teacher;
}

std::size_t Timetable::leastBusy() const
{
    return static_cast<std::size_t>(std::min_element(m_load.begin(), m_load.end()) - m_load.begin());
}

// The first slot from `start` on where neither teacher nor group is busy; a lesson that fits
// nowhere stays unplaced, with day and period 0, as the timetabling program leaves it.
void Timetable::place(Lesson lesson, std::size_t teacher, std::size_t start)
{
    Week* group = lesson.codGrupo.empty() ? nullptr : &m_groupBusy[lesson.codGrupo];
    for (std::size_t step = 0; step < kSlots; ++step) {
        const std::size_t slot = (start + step) % kSlots;
        if (m_busy[teacher][slot] || (group != nullptr && (*group)[slot])) {
            continue;
        }
        m_busy[teacher][slot] = true;
        if (group != nullptr) {
            (*group)[slot] = true;
        }
        lesson.dia = static_cast<int>(slot / kPeriodsPerDay) + 1;
        lesson.hora = static_cast<int>(slot % kPeriodsPerDay) + 1;
        break;
    }
    lesson.prof = m_centre.teachers[teacher];
    m_lessons.push_back(std::move(lesson));
    ++m_load[teacher];
}

// What a real solution holds besides placed lessons.
void addOddities(std::vector<Lesson>& lessons)
{
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        if (lessons[i].dia != 0) {
            placed.push_back(i);
        }
    }
    if (placed.size() < 80) {
        return;
    }
    // Taken out of the timetable by hand: day and period 0.
    for (std::size_t i = 5; i < 80; i += 25) {
        lessons[placed[i]].dia = 0;
        lessons[placed[i]].hora = 0;
    }
    // Codes the working tables lack: a room, a group in another letter case, a subject and a
    // Saturday slot.
    lessons[placed[3]].aula = "LAB3";
    for (char& c : lessons[placed[8]].codGrupo) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    lessons[placed[13]].asig = "XX";
    lessons[placed[21]].dia = 6;
    lessons[placed[21]].hora = 1;
    lessons[placed[34]].fija = true;
    // Deleted after the solution was saved: the table keeps the row, marked.
    Lesson deleted = lessons[placed[1]];
    deleted.deleted = true;
    lessons.push_back(std::move(deleted));
}

} // namespace

std::vector<Lesson> scheduleCentre(const Centre& centre, Random& random)
{
    Timetable timetable(centre);
    std::vector<const PlannedAssignment*> tasks;
    // The groups' lessons first, each subject spread over the week; then the teachers' duties.
    for (const auto& assignment : centre.assignments) {
        if (!assignment.taskCode.empty()) {
            tasks.push_back(&assignment);
            continue;
        }
        const std::size_t teacher = timetable.teacherFor(assignment.casig, assignment.weeklyHours);
        const std::size_t start = random.below(kSlots);
        for (int hour = 0; hour < assignment.weeklyHours; ++hour) {
            Lesson lesson { {}, 0, 0, {}, assignment.caula, assignment.cgrup, assignment.casig, hour + 1 };
            timetable.place(std::move(lesson), teacher, start + static_cast<std::size_t>(hour) * (kPeriodsPerDay + 1));
        }
    }
    // A duty has no group or subject; its activity is the task code the timetabling program got.
    for (const PlannedAssignment* task : tasks) {
        for (int hour = 0; hour < task->weeklyHours; ++hour) {
            Lesson lesson { {}, 0, 0, task->taskCode, {}, {}, {}, hour + 1 };
            timetable.place(std::move(lesson), timetable.leastBusy(), random.below(kSlots));
        }
    }
    auto lessons = timetable.take();
    addOddities(lessons);
    return lessons;
}

} // namespace tqz::bench
