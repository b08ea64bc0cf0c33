#pragma once

#include "app/UserInteraction.h"

namespace tqz::app {

// The real dialogs. They have no parent window: a box parented to a window docked in another
// program's window is refused as transient and lands elsewhere anyway, and without a parent it is
// centred on the screen.
class QtUserInteraction final : public UserInteraction {
public:
    std::optional<std::filesystem::path> chooseFile(const FileDialogSettings& settings) override;
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    void setBusy(bool busy) override;
};

} // namespace tqz::app
