#pragma once

// Runs the command line in-process and keeps what it printed, for the test programs that link the
// command-line library.

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace tqz::test {

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline CommandResult runCommand(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(arguments, out, err);
    return { status, out.str(), err.str() };
}

} // namespace tqz::test
