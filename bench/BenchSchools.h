#pragma once

// The generated schools the benchmark converts, one per scale, written once per run of the
// benchmark into a temporary folder that is removed when the program ends.

#include "convert/Conversions.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tqz::bench {

// Every figure in docs/performance.md comes from this seed.
inline constexpr std::uint64_t kSeed = 20250901;

struct BenchSchool {
    int scale = 1;
    // The document, SOLUC.DBF and the working tables, as importar finds them; importar's result
    // document is written here too.
    std::filesystem::path folder;
    std::filesystem::path document;
    // exportar's own working folder, so that its runs never touch importar's tables.
    std::filesystem::path exportDir;
    std::size_t documentBytes = 0;
    std::size_t resultBytes = 0;
    std::vector<convert::TableCount> tableRows; // what exportar wrote
    std::size_t teachers = 0;                   // what importar wrote
    std::size_t lessons = 0;
};

// The school of `scale`: generated, converted once each way, and checked, so that every timed
// run replaces files that exist, as in daily use, and does the whole work.
const BenchSchool& schoolAt(int scale);

} // namespace tqz::bench
