#include "SchoolGenerator.h"

#include "SchoolCatalogue.h"
#include "SchoolParts.h"

#include "exchange/Envelope.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <tuple>

namespace tqz::bench {

namespace {

namespace cat = catalogue;

constexpr int kElectivesPerCentre = 6;

// Numbers with leading zeros, as the administration system writes its codes.
std::string numbered(char prefix, std::size_t number, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%0*zu", prefix, digits, number);
    return buffer;
}

// The letter a teacher's abbreviation starts with: the first name's initial without its accent.
char initialOf(std::string_view name)
{
    static const std::map<std::string_view, char> kAccented { { "Á", 'A' }, { "É", 'E' }, { "Í", 'I' },
        { "Ó", 'O' }, { "Ú", 'U' } };
    const auto found = kAccented.find(name.substr(0, 2));
    return found != kAccented.end() ? found->second : name.front();
}

int weeklyHours(const std::string& minutes)
{
    const double hours = minutes.empty() ? 1.0 : std::stoi(minutes) / 60.0;
    return std::max(1, static_cast<int>(std::ceil(hours)));
}

struct GroupInfo {
    std::string abbreviation;
    std::string level; // as written, empty for the group without level
    int year = 1;
    std::string letter;
    bool diversification = false;
};

// Builds one regional document school by school; the counters keep every code unique across it.
class RegionBuilder {
public:
    RegionBuilder(School& school, Random& random)
        : m_school(school)
        , m_random(random)
    {
    }

    void sharedLists();
    void centre();

private:
    std::vector<std::string> teachers();
    std::vector<GroupInfo> groups();
    std::map<std::string, std::string> rooms(std::size_t ordinaryRooms, std::vector<std::string>& classrooms);
    std::vector<std::string> electives();
    void assign(Centre& centre, const std::string& code, const GroupInfo* group, const std::string& room,
        const std::string& minutes, const std::string& key);

    School& m_school;
    Random& m_random;
    std::size_t m_teachers = 0;
    std::size_t m_rooms = 0;
    std::size_t m_groups = 0;
    std::size_t m_electives = 0;
};

void RegionBuilder::sharedLists()
{
    for (const auto* list : { &cat::subjects(), &cat::tasks() }) {
        for (const auto& subject : *list) {
            m_school.materias.push_back({ std::string(subject.key), std::string(subject.code),
                std::string(subject.longCode), std::string(subject.name) });
        }
    }
    const auto& periods = cat::periods();
    for (std::size_t day = 0; day < cat::kDayLetters.size(); ++day) {
        for (std::size_t period = 0; period < periods.size(); ++period) {
            const std::string name = cat::kDayLetters[day] + std::to_string(period + 1);
            namespace key = exchange::tramo;
            KeyedRecord slot { { std::string(key::kCodigoZentris), numbered('T', (day + 1) * 100 + period + 1, 4) },
                { std::string(key::kNombre), name }, { std::string(key::kInicio), std::string(periods[period].start) },
                { std::string(key::kFin), std::string(periods[period].end) }, { std::string(key::kMinutos), "55" } };
            if (name == "X3") {
                slot[1].first = key::kDia; // named by DIA instead of NOMBRE
            }
            if (name == "V6") {
                slot.emplace_back("OBSERVACIONES", "Salida a las 14:15"); // a field nobody reads
            }
            m_school.tramos.push_back(std::move(slot));
        }
    }
}

std::vector<std::string> RegionBuilder::teachers()
{
    const int count = m_random.between(36, 44);
    std::vector<std::string> abbreviations;
    for (int i = 0; i < count; ++i) {
        const std::string_view first = m_random.pick(cat::firstNames());
        const std::string surname = std::string(m_random.pick(cat::surnames())) + " "
            + std::string(m_random.pick(cat::surnames()));
        const std::string abbreviation = initialOf(first) + base36(m_teachers, 3);
        const std::string employee = numbered('E', 104201 + m_teachers * 37, 6);
        const std::string taken = "01/09/" + std::to_string(m_random.between(1996, 2024));
        Record record { employee, taken, surname + ", " + std::string(first), abbreviation };
        if (i == 7) { // padded by hand in the administration system
            record = { "  " + employee + " ", taken, "\n        " + record[2] + "\n      ", " " + abbreviation };
        }
        m_school.profesores.push_back(std::move(record));
        abbreviations.push_back(abbreviation);
        ++m_teachers;
    }
    return abbreviations;
}

std::vector<GroupInfo> RegionBuilder::groups()
{
    std::vector<GroupInfo> made;
    const auto add = [&](const std::string& level, int year, char letter, bool diversification) {
        GroupInfo group { std::to_string(year) + base36(m_groups, 3), level, year, std::string(1, letter),
            diversification };
        m_school.grupos.push_back({ numbered('U', 3001 + m_groups, 6), group.abbreviation, "M", group.level,
            std::to_string(year), group.letter });
        made.push_back(std::move(group));
        ++m_groups;
    };
    for (int year = 1; year <= 4; ++year) {
        const int letters = m_random.between(2, 4);
        for (int letter = 0; letter < letters; ++letter) {
            add("ESO", year, static_cast<char>('A' + letter), false);
        }
    }
    add("ESO", 3, 'D', true);
    add("", 4, 'D', true); // exported without level
    for (int year = 1; year <= 2; ++year) {
        const int letters = m_random.between(2, 3);
        for (int letter = 0; letter < letters; ++letter) {
            add("BACH", year, static_cast<char>('A' + letter), false);
        }
    }
    return made;
}

// The school's rooms; returns the abbreviation of each kind of specialised room.
std::map<std::string, std::string> RegionBuilder::rooms(
    std::size_t ordinaryRooms, std::vector<std::string>& classrooms)
{
    const auto add = [&](char building, const std::string& name, bool withAbbreviation) {
        const std::string abbreviation = withAbbreviation ? building + base36(m_rooms, 3) : std::string();
        const std::string centreCode = numbered('D', 1201 + m_rooms, 6);
        m_school.aulas.push_back({ centreCode, abbreviation, name, std::string(1, building) });
        ++m_rooms;
        // A room without abbreviation goes by its centre code, as far as ABREV holds it.
        return withAbbreviation ? abbreviation : centreCode.substr(0, 4);
    };
    for (std::size_t i = 0; i < ordinaryRooms; ++i) {
        const char building = i < ordinaryRooms / 2 ? 'A' : 'B';
        const std::size_t floor = i % 3;
        classrooms.push_back(add(building, "Aula " + std::to_string(floor) + ".0" + std::to_string(i % 9 + 1), true));
    }
    std::map<std::string, std::string> special;
    const auto& kinds = cat::specialRooms();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        special[std::string(kinds[i].kind)] = add(kinds[i].building, std::string(kinds[i].name), i + 1 < kinds.size());
    }
    return special;
}

// The school's own electives, added to the regional catalogue; with them come a code sent again
// in lower case by a second department and a record cut short by the exporting system.
std::vector<std::string> RegionBuilder::electives()
{
    std::vector<std::string> codes;
    for (int i = 0; i < kElectivesPerCentre; ++i) {
        const std::string code = "O" + base36(m_electives, 3);
        m_school.materias.push_back({ numbered('4', m_electives + 1, 5), code, numbered('P', m_electives + 1, 7),
            std::string(m_random.pick(cat::electiveNames())) });
        codes.push_back(code);
        ++m_electives;
    }
    std::string repeated(m_random.pick(cat::subjects()).code);
    std::transform(repeated.begin(), repeated.end(), repeated.begin(),
        [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    m_school.materias.push_back({ numbered('3', 99000 + m_electives, 5), repeated, "DESDOBLE", "Desdoble" });
    m_school.materias.push_back({ numbered('3', 98000 + m_electives, 5) });
    return codes;
}

void RegionBuilder::assign(Centre& centre, const std::string& code, const GroupInfo* group,
    const std::string& room, const std::string& minutes, const std::string& key)
{
    Record record { code, "", room, "M", "", "", "", minutes, key };
    if (group != nullptr) {
        record = { code, group->abbreviation, room, "M", group->level, std::to_string(group->year),
            group->letter, minutes, key };
    }
    m_school.asignaturas.push_back(record);
    PlannedAssignment planned { code.substr(0, 4), record[1], room, weeklyHours(minutes), {} };
    if (!key.empty() && key.front() == 'G') {
        const bool known = key != "G9150";
        planned.taskCode = known ? code : key.substr(0, 4);
    }
    centre.assignments.push_back(std::move(planned));
}

void RegionBuilder::centre()
{
    Centre centre;
    centre.teachers = teachers();
    const std::vector<GroupInfo> made = groups();
    std::vector<std::string> classrooms;
    const auto special = rooms(std::max<std::size_t>(10, made.size() - 3), classrooms);
    const std::vector<std::string> ownElectives = electives();
    for (std::size_t g = 0; g < made.size(); ++g) {
        const GroupInfo& group = made[g];
        for (const auto& [code, minutes] : cat::planFor(group.level, group.year, group.diversification)) {
            const std::string_view kind = cat::specialRoomOf(code);
            const std::string room = kind.empty() ? classrooms[g % classrooms.size()] : special.at(std::string(kind));
            assign(centre, std::string(code), &group, room, std::to_string(minutes), std::string(cat::keyOf(code)));
        }
    }
    for (std::size_t e = 0; e < ownElectives.size(); ++e) {
        const GroupInfo& group = made[made.size() - 1 - m_random.below(made.size() / 2)];
        assign(centre, ownElectives[e], &group, classrooms[e % classrooms.size()],
            m_random.below(2) == 0 ? "120" : "180", numbered('4', m_electives - ownElectives.size() + e + 1, 5));
    }
    for (const auto& [code, minutes] : cat::duties()) {
        assign(centre, std::string(code), nullptr, "", std::to_string(minutes), std::string(cat::keyOf(code)));
    }
    assign(centre, "GEVA", nullptr, "", "90", "G9150"); // a task the catalogue lacks
    assign(centre, "AE", &made.front(), classrooms.front(), "", std::string(cat::keyOf("AE"))); // no minutes
    auto lessons = scheduleCentre(centre, m_random);
    m_school.lessons.insert(m_school.lessons.end(), lessons.begin(), lessons.end());
}

} // namespace

std::string base36(std::size_t number, std::size_t width)
{
    static constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text(width, '0');
    for (std::size_t i = width; i-- > 0; number /= kDigits.size()) {
        text[i] = kDigits[number % kDigits.size()];
    }
    if (number != 0) {
        throw std::out_of_range("code space exhausted");
    }
    return text;
}

School generateSchool(int scale, std::uint64_t seed)
{
    if (scale < 1) {
        throw std::invalid_argument("the scale is at least 1");
    }
    School school;
    Random random(seed);
    RegionBuilder builder(school, random);
    builder.sharedLists();
    for (int centre = 0; centre < scale; ++centre) {
        builder.centre();
    }
    // The timetabling program saves its solution slot by slot; unplaced lessons come last.
    std::stable_sort(school.lessons.begin(), school.lessons.end(), [](const Lesson& a, const Lesson& b) {
        const auto order = [](const Lesson& l) {
            return std::tuple<bool, int, int, const std::string&, const std::string&>(
                l.dia == 0, l.dia, l.hora, l.prof, l.codGrupo);
        };
        return order(a) < order(b);
    });
    return school;
}

} // namespace tqz::bench
