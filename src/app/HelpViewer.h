#pragma once

// The help viewer behind "F1 AYUDA" and the F1 key. On Windows it is the system's HTML Help,
// loaded once at start-up from "HHCtrl.ocx"; elsewhere it is xCHM, started on its own when it is
// installed. When the viewer, the file or a ".chm" name is missing, help does nothing and says
// nothing, as the system's viewer does.

#include <QtGlobal>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <QLibrary>
#endif

class QWidget;

namespace tqz::app {

class HelpViewer {
public:
    // `driveRoot` stands for the root of the drive the help file's path starts from (see
    // help::driveRootOf); Windows resolves that path by itself.
    explicit HelpViewer(std::filesystem::path driveRoot);

    // A path from the drive's root without drive letter, such as "\qvndir\ZENTRIS.chm".
    void setHelpFile(std::string_view windowsPath) { m_helpFile = windowsPath; }
    const std::string& helpFile() const { return m_helpFile; }

    // The help file's table of contents. False when nothing was opened.
    bool showContents(QWidget* caller);
    // The help file's topic for `context`. False when nothing was opened.
    bool showContext(QWidget* caller, int context);

private:
    bool request(QWidget* caller, unsigned command, std::uintptr_t data);

    std::filesystem::path m_driveRoot;
    std::string m_helpFile;
#ifdef _WIN32
    using HtmlHelpFunction = void*(__stdcall*)(void*, const char*, unsigned, std::uintptr_t);
    QLibrary m_library;
    HtmlHelpFunction m_htmlHelp = nullptr;
#endif
};

} // namespace tqz::app
