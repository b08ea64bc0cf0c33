#include "platform/HelpFile.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using tqz::help::isCompiledHelpName;
using tqz::help::locateHelpFile;

TEST(HelpFileName, OnlyCompiledHelpIsServed)
{
    EXPECT_TRUE(isCompiledHelpName("\\qvndir\\ZENTRIS.chm"));
    EXPECT_TRUE(isCompiledHelpName("\\QVNDIR\\ZENTRIS.CHM"));
    EXPECT_TRUE(isCompiledHelpName("ayuda.v2.Chm"));
    EXPECT_FALSE(isCompiledHelpName("\\qvndir\\ZENTRIS.hlp"));
    EXPECT_FALSE(isCompiledHelpName("\\qvndir.chm\\ZENTRIS"));
    EXPECT_FALSE(isCompiledHelpName("ZENTRIS.chm "));
    EXPECT_FALSE(isCompiledHelpName("ZENTRIS"));
}

TEST(HelpFileLocation, DriveRootHoldsTheWorkingDirectory)
{
    EXPECT_EQ(tqz::help::driveRootOf("/home/u/.wine/drive_c/WTEMP"), "/home/u/.wine/drive_c");
    EXPECT_EQ(tqz::help::driveRootOf("/home/u/.wine/drive_c/wtemp/"), "/home/u/.wine/drive_c");
}

TEST(HelpFileLocation, FoundIgnoringLetterCase)
{
    tqz::test::TempDir drive;
    std::filesystem::create_directory(drive / "QvnDir");
    tqz::test::writeBytes(drive / "QvnDir" / "zentris.CHM", "ITSF");
    const auto expected = drive / "QvnDir" / "zentris.CHM";
    EXPECT_EQ(locateHelpFile(tqz::help::kStartupHelpFile, drive.path()), expected);
    EXPECT_EQ(locateHelpFile(tqz::help::kButtonHelpFile, drive.path()), expected);
    EXPECT_EQ(locateHelpFile("C:\\QVNDIR\\ZENTRIS.chm", drive.path()), expected);
    EXPECT_EQ(locateHelpFile("/qvndir/zentris.chm", drive.path()), expected);
}

TEST(HelpFileLocation, MissingPartsFindNothing)
{
    tqz::test::TempDir drive;
    std::filesystem::create_directories(drive / "qvndir" / "ZENTRIS.chm" / "x");
    EXPECT_EQ(locateHelpFile("\\otro\\ZENTRIS.chm", drive.path()), std::nullopt);
    EXPECT_EQ(locateHelpFile("\\qvndir\\ZENTRIS.chm", drive.path()), std::nullopt) << "a folder is no file";
    EXPECT_EQ(locateHelpFile("\\", drive.path()), std::nullopt);
    EXPECT_EQ(locateHelpFile("\\qvndir\\falta.chm", (drive / "falta").string()), std::nullopt);
}

} // namespace
