#include "platform/CommandLine.h"

#include <cstddef>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tqz {
namespace {

bool isSeparator(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Blanks and empty quoted pairs standing between parameters are passed over.
std::size_t skipSeparators(std::string_view line, std::size_t at)
{
    while (true) {
        while (at < line.size() && isSeparator(line[at])) {
            ++at;
        }
        if (line.substr(at, 2) != "\"\"") {
            return at;
        }
        at += 2;
    }
}

std::string takeParameter(std::string_view line, std::size_t& at)
{
    std::string parameter;
    while (at < line.size() && !isSeparator(line[at])) {
        if (line[at] != '"') {
            parameter.push_back(line[at++]);
            continue;
        }
        const std::size_t close = line.find('"', at + 1);
        const std::size_t end = close == line.npos ? line.size() : close;
        parameter.append(line.substr(at + 1, end - at - 1));
        at = close == line.npos ? end : end + 1;
    }
    return parameter;
}

} // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine)
{
    std::vector<std::string> parameters;
    std::size_t at = skipSeparators(commandLine, 0);
    while (at < commandLine.size()) {
        std::string parameter = takeParameter(commandLine, at);
        if (parameter.empty()) {
            break;
        }
        parameters.push_back(std::move(parameter));
        at = skipSeparators(commandLine, at);
    }
    return parameters;
}

std::vector<std::string> programParameters(
    [[maybe_unused]] int argc, [[maybe_unused]] const char* const* argv)
{
#ifdef _WIN32
    auto parameters = splitCommandLine(GetCommandLineA());
    if (!parameters.empty()) {
        parameters.erase(parameters.begin());
    }
    return parameters;
#else
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '\0') {
            parameters.emplace_back(argv[i]);
        }
    }
    return parameters;
#endif
}

} // namespace tqz
