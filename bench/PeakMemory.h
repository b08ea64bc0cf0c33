#pragma once

// Peak memory of one run of a case, measured in a process of its own: this program is started
// again with the case's arguments, runs it once and reports its high-water resident set (VmHWM)
// before and after. A fresh process is the only honest measure: in the benchmark's own process
// the high-water mark would carry every earlier case and the generator's school.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::bench::peak {

// argv[1] of a child started by measure().
inline constexpr std::string_view kChildFlag = "--tqz-peak";

struct Peak {
    std::size_t baselineKiB = 0; // the process loaded, before the case
    std::size_t peakKiB = 0;     // the process after the case
};

// Starts this program with kChildFlag and `arguments`; the child writes "BASELINE PEAK" (KiB) on
// its standard output. A child that fails is an error.
Peak measure(const std::vector<std::string>& arguments);

// VmHWM of this process, in KiB.
std::size_t highWaterKiB();

} // namespace tqz::bench::peak
