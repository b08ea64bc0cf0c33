#pragma once

// What the fuzz targets share: a scratch folder for the files a conversion reads and writes, a
// snapshot of a folder to prove that a failed run changed nothing, and the way a target reports a
// finding (it aborts, so the fuzzing engine keeps the input).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tqz::fuzz {

// A fresh folder for the life of the process, on a memory file system when there is one (the
// conversions flush every file to the disk), removed at the end.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Every entry of a folder with its bytes (a folder shows as "<folder>").
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const std::filesystem::path& folder);

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// Stops the process with `what` when `holds` is false.
void require(bool holds, const std::string& what);

// True when `folder` holds a temporary file of the tool or a replacement record.
bool hasLeftovers(const std::filesystem::path& folder);

// A file of the sample school in examples/.
std::filesystem::path example(const std::string& name);

} // namespace tqz::fuzz
