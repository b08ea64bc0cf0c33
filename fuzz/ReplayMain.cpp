// Runs a fuzz target over files, for builds without the fuzzing engine (GCC, gdb, valgrind): each
// argument is a file or a folder whose files are run in name order. A finding aborts the program.

#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& argument)
{
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(argument)) {
        for (const auto& entry : std::filesystem::directory_iterator(argument)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
        std::sort(inputs.begin(), inputs.end());
    } else {
        inputs.push_back(argument);
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : inputsOf(argv[i])) {
            const std::string bytes = tqz::fuzz::readBytes(input);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++count;
        }
    }
    std::printf("%zu inputs run\n", count);
    return count > 0 ? 0 : 1;
}
