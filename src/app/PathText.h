#pragma once

// File paths between Qt's text and the core's std::filesystem::path, in the file system's own
// encoding on each side.

#include <QString>

#include <filesystem>

namespace tqz::app {

QString toQString(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& text);

} // namespace tqz::app
