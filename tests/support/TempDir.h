#pragma once

#include <filesystem>

namespace tqz::test {

// A fresh folder under the system's temporary directory, removed with everything in it at the
// end of the test. Tests copy fixtures here and never write into tests/data.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace tqz::test
