#pragma once

// A main window on a working directory, a status file and a help drive of its own, with its
// dialogs answered by a FakeUserInteraction.

#include "FakeUserInteraction.h"
#include "app/HelpViewer.h"
#include "app/MainForm.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tqz::test {

class FormFixture : public testing::Test {
protected:
    FormFixture();

    std::unique_ptr<app::TMForm> makeForm(std::vector<std::string> parameters);
    // The example school's document, copied beside the working directory.
    std::filesystem::path exampleDocument() const;
    // The text of "Quorvane.ini", or nothing when it was not written.
    std::optional<std::string> statusFileText() const;

    TempDir m_dir;
    std::filesystem::path m_workDir;
    std::filesystem::path m_statusFile;
    FakeUserInteraction m_ui;
    app::HelpViewer m_help;
};

// The status file holding `value`, as the window writes it into a new file.
std::string statusFileWith(int value);

} // namespace tqz::test
