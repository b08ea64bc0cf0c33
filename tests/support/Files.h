#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::test {

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);
std::filesystem::path testData(const std::filesystem::path& name);
// Copies tests/data/<name> into folder and returns the copy's path.
std::filesystem::path copyTestData(const std::filesystem::path& name, const std::filesystem::path& folder);
// The names of the entries of a folder, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

struct ProgramResult {
    int exitCode = -1;
    std::string output;   // standard output
    std::string errors;   // standard error
};
// Runs a program with arguments (no shell) and collects what it writes.
ProgramResult runProgram(const std::vector<std::string>& arguments);

} // namespace tqz::test
