#pragma once

// The window's dialogs answered in advance: each file dialog takes the next preset answer, and
// every message, error report and cursor change is recorded.

#include "app/UserInteraction.h"

#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace tqz::test {

class FakeUserInteraction final : public app::UserInteraction {
public:
    enum class Kind { Message, Error };
    struct Shown {
        Kind kind;
        QString text;
        bool busy; // the hourglass was on while it was shown
    };

    // The next file dialog confirms `file`; nothing cancels it.
    void answer(std::optional<std::filesystem::path> file) { m_answers.push_back(std::move(file)); }

    std::optional<std::filesystem::path> chooseFile(const app::FileDialogSettings& settings) override;
    void showMessage(const QString& text) override { m_shown.push_back({ Kind::Message, text, m_busy }); }
    void showError(const QString& text) override { m_shown.push_back({ Kind::Error, text, m_busy }); }
    void setBusy(bool busy) override;

    const std::vector<app::FileDialogSettings>& dialogs() const { return m_dialogs; }
    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<QString> texts() const;
    const std::vector<bool>& cursorChanges() const { return m_cursorChanges; }
    bool busy() const { return m_busy; }
    std::size_t unusedAnswers() const { return m_answers.size(); }

private:
    std::deque<std::optional<std::filesystem::path>> m_answers;
    std::vector<app::FileDialogSettings> m_dialogs;
    std::vector<Shown> m_shown;
    std::vector<bool> m_cursorChanges;
    bool m_busy = false;
};

} // namespace tqz::test
