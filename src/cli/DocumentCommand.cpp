#include "cli/DocumentCommand.h"

#include "cli/Cli.h"
#include "cli/Options.h"
#include "platform/Error.h"

#include <array>
#include <system_error>

namespace tqz::cli {

namespace {

constexpr std::array<OptionSpec, 1> kOptions { kDirOption };

} // namespace

int runDocumentCommand(const DocumentCommand& command, const std::vector<std::string>& arguments,
    std::ostream& out, std::ostream& err)
{
    const ParsedArguments parsed = parseArguments(arguments, kOptions);
    if (parsed.help) {
        command.printHelp(out);
        return kExitOk;
    }
    if (!parsed.error.empty()) {
        return reportUsageError(err, command.name, parsed.error, command.usage);
    }
    if (parsed.positionals.size() != 1) {
        return reportUsageError(err, command.name,
            parsed.positionals.empty() ? "falta el documento" : "sobran argumentos", command.usage);
    }
    const std::filesystem::path document = parsed.positionals.front();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(document, ignored)) {
        err << "No existe archivo\n  " << document.string() << '\n';
        return kExitNoDocument;
    }
    try {
        command.convert(document, workDirOf(parsed), out);
    } catch (const Error& error) {
        err << error.what() << '\n';
        return kExitConversionError;
    }
    return kExitOk;
}

} // namespace tqz::cli
