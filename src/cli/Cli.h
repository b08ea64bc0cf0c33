#pragma once

// The command line `tqz`. Each command is a function that takes its arguments and the two output
// streams and returns the exit status, so tests run commands in-process.

#include <ostream>
#include <string>
#include <vector>

namespace tqz::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitConversionError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDocument = 3;

// `arguments` excludes the program name.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tqz::cli
