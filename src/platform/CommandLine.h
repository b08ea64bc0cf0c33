#pragma once

// The program's parameters as the Windows runtime counts them (ParamCount / ParamStr): blanks and
// control characters separate parameters; a stretch in double quotes may hold blanks and loses its
// quotes, and quoted and plain stretches next to each other join into one parameter; there is no
// backslash escaping; an empty parameter ("") is skipped, not counted.

#include <string>
#include <string_view>
#include <vector>

namespace tqz {

// The parameters of a whole command line, the program's name as typed first. Counting stops at
// the first parameter that comes out empty (a lone quote at the end), as the runtime's does.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The parameters the program was started with. On Windows they come from the process's command
// line by the rules above; elsewhere there is no single command line, so argv[1..] is taken with
// empty arguments dropped, which keeps the rule that an empty parameter is not counted.
std::vector<std::string> programParameters(int argc, const char* const* argv);

} // namespace tqz
