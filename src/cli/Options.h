#pragma once

// The arguments of one command: positional arguments and options of the form --name, --name VALUE
// or --name=VALUE. Every command knows --help (and -h); "--" ends the options. A usage error is a
// value, not an exception: the command reports it and returns kExitUsage.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::cli {

struct OptionSpec {
    std::string_view name; // with its dashes, such as "--dir"
    bool takesValue = false;
};

// The working folder, shared by the commands that use one.
inline constexpr OptionSpec kDirOption { "--dir", true };
inline constexpr std::string_view kDirHelp
    = "  --dir CARPETA  carpeta de trabajo; sin ella, la que nombra $TQZ_WTEMP, y si no, la de\n"
      "                 Quorvane: C:\\WTEMP en Windows; en otros sistemas drive_c/WTEMP del prefijo\n"
      "                 de Wine ($WINEPREFIX, o ~/.wine), sin distinguir mayúsculas\n";

struct ParsedArguments {
    std::vector<std::string> positionals;
    std::map<std::string, std::string, std::less<>> options; // a flag holds ""
    bool help = false;
    std::string error; // the usage error; empty when the arguments are well formed

    bool has(std::string_view option) const { return options.find(option) != options.end(); }
    std::optional<std::string> value(std::string_view option) const;
};

ParsedArguments parseArguments(const std::vector<std::string>& arguments, std::span<const OptionSpec> known);

// --dir when given, else the default working folder.
std::filesystem::path workDirOf(const ParsedArguments& parsed);

// Reports a usage error ("tqz <command>: <message>" and the usage line) on `err`; returns kExitUsage.
int reportUsageError(
    std::ostream& err, std::string_view command, std::string_view message, std::string_view usage);

} // namespace tqz::cli
