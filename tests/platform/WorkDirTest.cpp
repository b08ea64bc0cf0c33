#include "platform/WorkDir.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tqz {
namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(m_old); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<std::string>& value)
    {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

class WorkDirTest : public ::testing::Test {
protected:
    test::TempDir prefix;
    ScopedEnvironment workDir { "TQZ_WTEMP", std::nullopt };
    ScopedEnvironment wine { "WINEPREFIX", prefix.path().string() };
};

TEST_F(WorkDirTest, TheEnvironmentVariableNamesTheFolderWhetherOrNotItExists)
{
    ScopedEnvironment chosen("TQZ_WTEMP", "/srv/quorvane/wtemp");
    EXPECT_EQ(defaultWorkDir(), fs::path("/srv/quorvane/wtemp"));
}

TEST_F(WorkDirTest, AnEmptyEnvironmentVariableCountsAsUnset)
{
    ScopedEnvironment chosen("TQZ_WTEMP", "");
    EXPECT_EQ(defaultWorkDir(), prefix / "drive_c" / "WTEMP");
}

TEST_F(WorkDirTest, FindsTheWineFoldersInAnyLetterCase)
{
    struct Case {
        const char* drive;
        const char* folder;
    };
    for (const Case& c :
        { Case { "drive_c", "WTEMP" }, Case { "drive_c", "wtemp" }, Case { "Drive_C", "WTemp" } }) {
        test::TempDir otherPrefix;
        ScopedEnvironment prefixVariable("WINEPREFIX", otherPrefix.path().string());
        fs::create_directories(otherPrefix / c.drive / c.folder);
        EXPECT_EQ(defaultWorkDir(), otherPrefix / c.drive / c.folder);
    }
}

TEST_F(WorkDirTest, FallsBackToTheUsualNamesForWhatDoesNotExist)
{
    EXPECT_EQ(defaultWorkDir(), prefix / "drive_c" / "WTEMP");

    fs::create_directories(prefix / "DRIVE_C");
    EXPECT_EQ(defaultWorkDir(), prefix / "DRIVE_C" / "WTEMP");
}

TEST_F(WorkDirTest, WithoutWinePrefixTheHomeFoldersPrefixIsUsed)
{
    test::TempDir home;
    ScopedEnvironment homeVariable("HOME", home.path().string());
    ScopedEnvironment noPrefix("WINEPREFIX", std::nullopt);
    fs::create_directories(home / ".wine" / "drive_c" / "wtemp");

    EXPECT_EQ(defaultWorkDir(), home / ".wine" / "drive_c" / "wtemp");
}

TEST_F(WorkDirTest, TheZentrisFolderIsFoundInAnyLetterCase)
{
    EXPECT_EQ(zentrisFolder(prefix.path()), prefix / "zentris");
    fs::create_directories(prefix / "ZENTRIS");
    EXPECT_EQ(zentrisFolder(prefix.path()), prefix / "ZENTRIS");
}

} // namespace
} // namespace tqz
