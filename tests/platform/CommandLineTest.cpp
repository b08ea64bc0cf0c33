#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Parameters = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Parameters parameters;
};

class CommandLineSplit : public testing::TestWithParam<SplitCase> { };

TEST_P(CommandLineSplit, FollowsTheRuntimesRules)
{
    EXPECT_EQ(tqz::splitCommandLine(GetParam().line), GetParam().parameters) << GetParam().line;
}

const SplitCase kSplits[] = {
    { "", {} },
    { "   ", {} },
    { "TQZ.exe exportar 1A2B", { "TQZ.exe", "exportar", "1A2B" } },
    { "\"C:\\Program Files\\TQZ.exe\"  importar\t00001a2b",
        { "C:\\Program Files\\TQZ.exe", "importar", "00001a2b" } },
    // Quoted and plain stretches join; quotes are dropped; no backslash escaping.
    { "p a\"b c\"d", { "p", "ab cd" } },
    { "p \"a\\\"b", { "p", "a\\b" } },
    // An empty quoted parameter is skipped, not counted.
    { "p \"\" exportar \"\"   1A", { "p", "exportar", "1A" } },
    { "p \"\"\"\" x", { "p", "x" } },
    // A lone quote at the end makes an empty parameter, where counting stops.
    { "p exportar \"", { "p", "exportar" } },
    { "p \"\"x", { "p", "x" } },
    { "p x\"\"", { "p", "x" } },
    { "p \"a b", { "p", "a b" } },
    { "p \xF1"
      "and\xFA",
        { "p",
            "\xF1"
            "and\xFA" } },
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineSplit, testing::ValuesIn(kSplits));

TEST(ProgramParameters, DropEmptyArgumentsAndTheProgramName)
{
    const char* argv[] = { "TransQuorvaZentris", "", "exportar", "", "1A2B", "a b" };
    EXPECT_EQ(tqz::programParameters(6, argv), (Parameters { "exportar", "1A2B", "a b" }));
    EXPECT_EQ(tqz::programParameters(1, argv), Parameters {});
}

} // namespace
