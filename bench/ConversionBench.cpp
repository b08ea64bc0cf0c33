// How the two conversions scale, against the bare cost of reading and writing.
//
//   tqz_conversion_bench [benchmark options]     (scripts/bench runs it and draws the plot)
//
// For schools of scale 1, 10 and 100 it times exportar and importar, and the floors they are
// measured against (Floors.h), in wall-clock time. Each case also reports the document's size and
// the peak resident memory of one run of it in a fresh process (PeakMemory.h).

#include "BenchSchools.h"
#include "Floors.h"
#include "PeakMemory.h"

#include "convert/Conversions.h"

#include <benchmark/benchmark.h>

#include <array>
#include <exception>
#include <malloc.h>
#include <iostream>
#include <map>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;
using tqz::bench::BenchSchool;

enum class Case { Exportar, Importar, FloorParse, FloorWriteTables, FloorWriteResult, SyncedWriteTables };

// The last case is no floor: it shows what exportar's flushes to the disk cost on their own.
constexpr std::array<std::pair<Case, std::string_view>, 6> kCases { {
    { Case::Exportar, "exportar" },
    { Case::Importar, "importar" },
    { Case::FloorParse, "floor_parse" },
    { Case::FloorWriteTables, "floor_write_tables" },
    { Case::FloorWriteResult, "floor_write_result" },
    { Case::SyncedWriteTables, "synced_write_tables" },
} };
constexpr std::array<int, 3> kScales { 1, 10, 100 };
constexpr double kMega = 1e6;
constexpr double kKibi = 1024.0;

void runOnce(Case which, const BenchSchool& school)
{
    switch (which) {
    case Case::Exportar: benchmark::DoNotOptimize(tqz::convert::exportar(school.document, school.exportDir)); break;
    case Case::Importar: benchmark::DoNotOptimize(tqz::convert::importar(school.document, school.folder)); break;
    case Case::FloorParse: tqz::bench::floors::parseDocument(school.document); break;
    case Case::FloorWriteTables: tqz::bench::floors::writeTables(school.tableRows, school.folder / "floor", false); break;
    case Case::SyncedWriteTables: tqz::bench::floors::writeTables(school.tableRows, school.folder / "floor", true); break;
    case Case::FloorWriteResult:
        tqz::bench::floors::writeResult(school.teachers, school.lessons, school.folder, school.folder / "floor.xml");
        break;
    }
}

// What a measuring child needs to run a case on a school without generating it again.
std::vector<std::string> childArguments(Case which, const BenchSchool& school)
{
    std::vector<std::string> words { std::to_string(static_cast<int>(which)), school.document.string(),
        school.folder.string(), school.exportDir.string(), std::to_string(school.teachers),
        std::to_string(school.lessons) };
    for (const auto& count : school.tableRows) {
        words.push_back(count.table);
        words.push_back(std::to_string(count.rows));
    }
    return words;
}

int runChild(int argc, char** argv)
{
    if (argc < 8) {
        std::cerr << "measuring process: missing arguments\n";
        return 2;
    }
    BenchSchool school;
    school.document = argv[3];
    school.folder = argv[4];
    school.exportDir = argv[5];
    school.teachers = std::stoul(argv[6]);
    school.lessons = std::stoul(argv[7]);
    for (int i = 8; i + 1 < argc; i += 2) {
        school.tableRows.push_back({ argv[i], std::stoul(argv[i + 1]) });
    }
    const std::size_t baseline = tqz::bench::peak::highWaterKiB();
    runOnce(static_cast<Case>(std::stoi(argv[2])), school);
    std::cout << baseline << ' ' << tqz::bench::peak::highWaterKiB() << '\n';
    return 0;
}

const tqz::bench::peak::Peak& peakOf(Case which, const BenchSchool& school)
{
    static std::map<std::pair<Case, int>, tqz::bench::peak::Peak> measured;
    const auto key = std::make_pair(which, school.scale);
    if (!measured.contains(key)) {
        measured[key] = tqz::bench::peak::measure(childArguments(which, school));
    }
    return measured[key];
}

void report(benchmark::State& state, Case which, const BenchSchool& school)
{
    const auto& peak = peakOf(which, school);
    const double growthKiB = static_cast<double>(peak.peakKiB - std::min(peak.baselineKiB, peak.peakKiB));
    state.counters["doc_MB"] = static_cast<double>(school.documentBytes) / kMega;
    state.counters["result_MB"] = static_cast<double>(school.resultBytes) / kMega;
    state.counters["lessons"] = static_cast<double>(school.lessons);
    state.counters["peak_MB"] = static_cast<double>(peak.peakKiB) * kKibi / kMega;
    state.counters["peak_growth_MB"] = growthKiB * kKibi / kMega;
    state.counters["growth_per_doc"] = growthKiB * kKibi / static_cast<double>(school.documentBytes);
}

void runCase(benchmark::State& state, Case which)
{
    try {
        const BenchSchool& school = tqz::bench::schoolAt(static_cast<int>(state.range(0)));
        fs::create_directories(school.folder / "floor");
        // The cases share one process: memory a scale-100 case freed would otherwise be gathered
        // up by glibc inside the first timed run of the next case.
        ::malloc_trim(0);
        for (auto _ : state) {
            runOnce(which, school);
        }
        report(state, which, school);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void registerCases()
{
    for (const auto& [which, name] : kCases) {
        auto* bench = benchmark::RegisterBenchmark(std::string(name).c_str(), runCase, which);
        for (const int scale : kScales) {
            bench->Arg(scale);
        }
        bench->UseRealTime()->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && argv[1] == tqz::bench::peak::kChildFlag) {
        try {
            return runChild(argc, argv);
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    // Five repetitions unless told otherwise: the machine is shared, so medians are what count.
    std::string repetitions = "--benchmark_repetitions=5";
    std::vector<char*> arguments { argv[0], repetitions.data() };
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 2;
    }
    registerCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
