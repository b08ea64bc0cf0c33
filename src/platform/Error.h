#pragma once

#include <stdexcept>
#include <string>

namespace tqz {

// The one error type of the tool. what() is the exact Spanish text the user sees, naming the
// file, table, record or field at fault. Faults of libxml2, the operating system and the dBase
// engine are turned into it inside platform/; it is caught only by the window's error report and
// by the command line's main.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& message);

// The operating system's description of errno, for messages such as
// "No se puede escribir 'X': No space left on device".
std::string systemMessage(int errorNumber);

} // namespace tqz
