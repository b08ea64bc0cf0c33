#pragma once

// One function per command; `arguments` excludes the program and command names.

#include <ostream>
#include <string>
#include <vector>

namespace tqz::cli {

struct Command {
    const char* name;
    const char* summary;   // one line for the general help
    int (*run)(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

int exportarCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int importarCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int tablaCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tqz::cli
