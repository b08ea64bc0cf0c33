#include "FakeUserInteraction.h"

#include <gtest/gtest.h>

namespace tqz::test {

std::optional<std::filesystem::path> FakeUserInteraction::chooseFile(const app::FileDialogSettings& settings)
{
    m_dialogs.push_back(settings);
    if (m_answers.empty()) {
        ADD_FAILURE() << "a file dialog nobody expected";
        return std::nullopt;
    }
    auto file = std::move(m_answers.front());
    m_answers.pop_front();
    return file;
}

void FakeUserInteraction::setBusy(bool busy)
{
    m_busy = busy;
    m_cursorChanges.push_back(busy);
}

std::vector<QString> FakeUserInteraction::texts() const
{
    std::vector<QString> texts;
    for (const auto& shown : m_shown) {
        texts.push_back(shown.text);
    }
    return texts;
}

} // namespace tqz::test
