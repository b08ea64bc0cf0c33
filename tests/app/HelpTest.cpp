#include "FormFixture.h"
#include "support/Files.h"

#include <QPushButton>
#include <QTest>

namespace tqz::test {
namespace {

// A stand-in for xCHM on PATH that leaves its arguments in a file.
class HelpTest : public FormFixture {
protected:
    HelpTest()
        : m_oldPath(qgetenv("PATH"))
    {
        std::filesystem::create_directories(m_dir / "drive_c" / "QvnDir");
        writeBytes(m_dir / "drive_c" / "QvnDir" / "Zentris.chm", "ITSF");
        std::filesystem::create_directory(m_dir / "path");
        m_viewer = m_dir / "path" / "xchm";
        writeBytes(m_viewer,
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.tmp\" && /bin/mv \"$0.args.tmp\" \"$0.args\"\n");
        std::filesystem::permissions(m_viewer, std::filesystem::perms::owner_all);
        qputenv("PATH", QFile::encodeName(QString::fromStdString((m_dir / "path").string())));
    }
    ~HelpTest() override { qputenv("PATH", m_oldPath); }

    // The arguments the viewer was started with, once it has run.
    std::string viewerArguments()
    {
        const auto args = m_dir / "path" / "xchm.args";
        if (!QTest::qWaitFor([&] { return std::filesystem::exists(args); }, 10000)) {
            ADD_FAILURE() << "the viewer was not started";
            return {};
        }
        auto text = readBytes(args);
        std::filesystem::remove(args);
        return text;
    }

    QByteArray m_oldPath;
    std::filesystem::path m_viewer;
};

TEST_F(HelpTest, HelpButtonOpensTheContentsOfTheUpperCaseFile)
{
    const auto form = makeForm({});
    form->findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(m_help.helpFile(), "\\QVNDIR\\ZENTRIS.chm");
    EXPECT_EQ(viewerArguments(), (m_dir / "drive_c" / "QvnDir" / "Zentris.chm").string() + "\n");
}

TEST_F(HelpTest, F1OpensContextOneAnywhere)
{
    const auto form = makeForm({});
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* helpButton = form->findChild<QPushButton*>("Button1");
    helpButton->setFocus();
    QTest::keyClick(helpButton, Qt::Key_F1);
    EXPECT_EQ(viewerArguments(), "-c\n1\n" + (m_dir / "drive_c" / "QvnDir" / "Zentris.chm").string() + "\n");
    EXPECT_EQ(m_help.helpFile(), "\\qvndir\\ZENTRIS.chm");
}

// A missing viewer, a missing file or a name that is not ".chm": nothing happens, no message.
TEST_F(HelpTest, NothingHappensWithoutViewerFileOrChmName)
{
    EXPECT_TRUE(m_help.showContents(nullptr));
    viewerArguments();
    m_help.setHelpFile("\\qvndir\\ZENTRIS.hlp");
    EXPECT_FALSE(m_help.showContents(nullptr));
    m_help.setHelpFile("\\qvndir\\OTRO.chm");
    EXPECT_FALSE(m_help.showContext(nullptr, 1));
    m_help.setHelpFile("\\qvndir\\ZENTRIS.chm");
    std::filesystem::remove(m_viewer);
    EXPECT_FALSE(m_help.showContents(nullptr));
    EXPECT_TRUE(m_ui.shown().empty());
}

} // namespace
} // namespace tqz::test
