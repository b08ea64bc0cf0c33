#pragma once

// The working folder for the length of one conversion. Both conversions, from the command line or
// from the window, start by claiming it: it must exist and be a folder; no other run of the tool
// may use it meanwhile; and a replacement of the tables that an earlier run left unfinished (the
// run was killed, the power went) is completed or undone before anything else happens.

#include "platform/FileLock.h"

#include <filesystem>

namespace tqz::tables {

class WorkFolder {
public:
    explicit WorkFolder(const std::filesystem::path& path);

private:
    FolderLock m_lock;
};

// A missing working folder, or a file in its place, is an error naming it.
void requireWorkFolder(const std::filesystem::path& path);

} // namespace tqz::tables
