#include "cli/Options.h"

#include "cli/Cli.h"
#include "platform/WorkDir.h"

#include <algorithm>

namespace tqz::cli {

namespace {

const OptionSpec* findOption(std::span<const OptionSpec> known, std::string_view name)
{
    const auto found
        = std::find_if(known.begin(), known.end(), [&](const OptionSpec& o) { return o.name == name; });
    return found == known.end() ? nullptr : &*found;
}

// Reads the option at arguments[index]; advances index past a separate value. Returns the error.
std::string readOption(const std::vector<std::string>& arguments, std::size_t& index,
    std::span<const OptionSpec> known, ParsedArguments& parsed)
{
    const std::string& argument = arguments[index];
    const auto equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const OptionSpec* option = findOption(known, name);
    if (option == nullptr) {
        return "opción desconocida '" + name + "'";
    }
    if (parsed.has(name)) {
        return "la opción " + name + " se ha dado más de una vez";
    }
    std::string value;
    if (!option->takesValue) {
        if (equals != std::string::npos) {
            return "la opción " + name + " no lleva valor";
        }
    } else if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
    } else if (index + 1 < arguments.size()) {
        value = arguments[++index];
    } else {
        return "falta el valor de " + name;
    }
    if (option->takesValue && value.empty()) {
        return "el valor de " + name + " está vacío";
    }
    parsed.options.emplace(name, value);
    return {};
}

} // namespace

std::optional<std::string> ParsedArguments::value(std::string_view option) const
{
    const auto found = options.find(option);
    return found == options.end() ? std::nullopt : std::optional<std::string>(found->second);
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments, std::span<const OptionSpec> known)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
            parsed.positionals.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else {
            parsed.error = readOption(arguments, i, known, parsed);
        }
    }
    return parsed;
}

std::filesystem::path workDirOf(const ParsedArguments& parsed)
{
    const auto dir = parsed.value(kDirOption.name);
    return dir ? std::filesystem::path(*dir) : defaultWorkDir();
}

int reportUsageError(
    std::ostream& err, std::string_view command, std::string_view message, std::string_view usage)
{
    err << "tqz " << command << ": " << message << '\n'
        << usage << "Más información: tqz " << command << " --help\n";
    return kExitUsage;
}

} // namespace tqz::cli
