#include "app/HelpViewer.h"

#include "app/PathText.h"
#include "platform/HelpFile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>

#include <utility>

namespace tqz::app {
namespace {

// The HTML Help commands the window uses.
constexpr unsigned kDisplayContents = 1; // HH_DISPLAY_TOC
constexpr unsigned kHelpContext = 15; // HH_HELP_CONTEXT

} // namespace

HelpViewer::HelpViewer(std::filesystem::path driveRoot)
    : m_driveRoot(std::move(driveRoot))
{
#ifdef _WIN32
    m_library.setFileName(QStringLiteral("HHCtrl.ocx"));
    if (m_library.load()) {
        m_htmlHelp = reinterpret_cast<HtmlHelpFunction>(m_library.resolve("HtmlHelpA"));
    }
#endif
}

bool HelpViewer::showContents(QWidget* caller)
{
    return request(caller, kDisplayContents, 0);
}

bool HelpViewer::showContext(QWidget* caller, int context)
{
    return request(caller, kHelpContext, static_cast<std::uintptr_t>(context));
}

bool HelpViewer::request([[maybe_unused]] QWidget* caller, unsigned command, std::uintptr_t data)
{
    if (!help::isCompiledHelpName(m_helpFile)) {
        return false;
    }
#ifdef _WIN32
    if (m_htmlHelp == nullptr) {
        return false;
    }
    void* owner = caller != nullptr ? reinterpret_cast<void*>(caller->window()->winId()) : nullptr;
    m_htmlHelp(owner, m_helpFile.c_str(), command, data);
    return true;
#else
    const QString viewer = QStandardPaths::findExecutable(QStringLiteral("xchm"));
    const auto file = help::locateHelpFile(m_helpFile, m_driveRoot);
    if (viewer.isEmpty() || !file) {
        return false;
    }
    QStringList arguments;
    if (command == kHelpContext) {
        arguments << QStringLiteral("-c") << QString::number(data);
    }
    arguments << toQString(*file);
    return QProcess::startDetached(viewer, arguments);
#endif
}

} // namespace tqz::app
