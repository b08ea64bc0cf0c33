#pragma once

// What the window asks of the person in front of it: the file dialog, the message boxes and the
// busy cursor. The window talks to them only through this interface, so tests answer in advance
// instead of driving modal dialogs.

#include <QString>

#include <filesystem>
#include <optional>

namespace tqz::app {

struct FileDialogSettings {
    QString title;
    QString filter;
    QString defaultSuffix; // added to a typed name that has none
    std::filesystem::path startFolder;
};

class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // The full path of the file the user confirmed, which need not exist; nothing when the dialog
    // was cancelled.
    virtual std::optional<std::filesystem::path> chooseFile(const FileDialogSettings& settings) = 0;

    // A modal message without icon, captioned with the application's title, one button "Aceptar".
    virtual void showMessage(const QString& text) = 0;

    // The default error report: like a message, with the error icon. `text` is shown as given.
    virtual void showError(const QString& text) = 0;

    // The hourglass while the window works, the normal cursor otherwise.
    virtual void setBusy(bool busy) = 0;
};

// The hourglass for as long as it lives, so that an error restores the normal cursor too.
class BusyCursor {
public:
    explicit BusyCursor(UserInteraction& ui)
        : m_ui(ui)
    {
        m_ui.setBusy(true);
    }
    ~BusyCursor() { m_ui.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UserInteraction& m_ui;
};

} // namespace tqz::app
