#include "FuzzSupport.h"

#include "platform/FileIo.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace tqz::fuzz {

namespace fs = std::filesystem;

namespace {

fs::path scratchParent()
{
    std::error_code error;
    if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return fs::temp_directory_path();
}

} // namespace

Scratch::Scratch()
{
    std::string pattern = (scratchParent() / "tqz-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    m_path = pattern;
}

Scratch::~Scratch()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

Snapshot snapshot(const fs::path& folder)
{
    Snapshot files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        files[name] = entry.is_directory() ? std::string("<folder>") : readBytes(entry.path());
    }
    return files;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const fs::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(static_cast<bool>(out), "cannot write " + file.string());
}

void require(bool holds, const std::string& what)
{
    if (!holds) {
        std::fprintf(stderr, "finding: %s\n", what.c_str());
        std::abort();
    }
}

bool hasLeftovers(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (io::isTemporaryName(entry.path()) || name.starts_with("TQZ-")) {
            return true;
        }
    }
    return false;
}

fs::path example(const std::string& name)
{
    return fs::path(TQZ_EXAMPLES) / name;
}

} // namespace tqz::fuzz
