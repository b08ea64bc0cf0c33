#include "FormFixture.h"
#include "support/Files.h"

#include <QSignalSpy>
#include <QTest>

namespace tqz::test {
namespace {

using HostMode = FormFixture;
using Kind = FakeUserInteraction::Kind;

// Handle 0 names no window: the window stays top-level, without border, and host-driven mode
// applies. Offscreen there are no foreign windows at all, so any handle behaves so here.
TEST_F(HostMode, HandleWithoutWindowGivesABorderlessTopLevelWindow)
{
    for (const char* handle : { "0", "00000000", "7777777" }) {
        const auto form = makeForm({ "abrir", handle });
        EXPECT_EQ(form->numParametros(), 2) << handle;
        EXPECT_TRUE(form->isWindow());
        EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint)) << handle;
        EXPECT_EQ(form->size(), QSize(632, 266));
    }
    EXPECT_TRUE(m_ui.shown().empty());
}

TEST_F(HostMode, OtherVerbWaitsAndClosingWritesStatusZero)
{
    const auto form = makeForm({ "abrir", "0" });
    QSignalSpy ended(form.get(), &app::TMForm::programEnded);
    form->show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(m_ui.dialogs().empty());
    const QSize screen = form->screen()->size();
    EXPECT_EQ(form->pos(), QPoint((screen.width() - 632) / 2, (screen.height() - 266) / 2));
    EXPECT_EQ(statusFileText(), std::nullopt);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(statusFileText(), statusFileWith(0));
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(form->hasEnded());
}

struct CancelCase {
    const char* verb;
    int status;
};

// A missing document in host-driven mode: the message, then the status by direction, the window
// closes itself before it was ever shown, and the status file is written.
TEST_F(HostMode, CancelledFirstConversionWritesStatusByDirection)
{
    for (const auto& [verb, status] : { CancelCase { "exportar", -1 }, CancelCase { "importar", 0 } }) {
        std::filesystem::remove(m_statusFile);
        FakeUserInteraction ui;
        app::TMForm form({ { verb, "0" }, m_statusFile, m_workDir }, ui, m_help);
        QSignalSpy ended(&form, &app::TMForm::programEnded);
        ui.answer(std::nullopt);
        form.show();
        EXPECT_EQ(ui.texts(), std::vector<QString> { "No existe archivo" }) << verb;
        EXPECT_EQ(form.estadoTransformado(), status) << verb;
        EXPECT_FALSE(form.isVisible()) << verb;
        EXPECT_EQ(ended.count(), 1) << verb;
        EXPECT_EQ(statusFileText(), statusFileWith(status)) << verb;
    }
}

// The verb in any letter case runs its conversion at the first showing.
TEST_F(HostMode, VerbInAnyLetterCase)
{
    for (const char* verb : { "exportar", "EXPORTAR", "Exportar", "importar", "IMPORTAR", "Importar" }) {
        FakeUserInteraction ui;
        app::TMForm form({ { verb, "1A2B" }, m_statusFile, m_workDir }, ui, m_help);
        ui.answer(std::nullopt);
        form.show();
        EXPECT_EQ(ui.dialogs().size(), 1u) << verb;
        EXPECT_EQ(form.estadoTransformado(), (verb[0] == 'e' || verb[0] == 'E') ? -1 : 0) << verb;
    }
}

TEST_F(HostMode, CompletedConversionWritesOneAndEnds)
{
    const auto form = makeForm({ "EXPORTAR", "0" });
    QSignalSpy ended(form.get(), &app::TMForm::programEnded);
    m_ui.answer(exampleDocument());
    form->show();
    EXPECT_EQ(m_ui.texts(), std::vector<QString> { "Proceso finalizado" });
    EXPECT_EQ(form->estadoTransformado(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(statusFileText(), statusFileWith(1));
    EXPECT_TRUE(std::filesystem::exists(m_workDir / "DIASHORAST.DBF"));
}

// The status file already holds other sections: only the one key changes.
TEST_F(HostMode, StatusFileKeepsEverythingElse)
{
    writeBytes(m_statusFile, "[Quorvane]\r\nRuta=C:\\QVNDIR\r\n\r\n[TRANSFORMADORES]\r\ntransformado=1\r\n");
    const auto form = makeForm({ "importar", "0" });
    m_ui.answer(std::nullopt);
    form->show();
    EXPECT_EQ(
        statusFileText(), "[Quorvane]\r\nRuta=C:\\QVNDIR\r\n\r\n[TRANSFORMADORES]\r\ntransformado=0\r\n");
}

// An error in host-driven mode leaves the window open with its status; closing writes it.
TEST_F(HostMode, ErrorKeepsTheWindowOpen)
{
    FakeUserInteraction ui;
    app::TMForm form({ { "importar", "0" }, m_statusFile, m_dir / "no-such-folder" }, ui, m_help);
    QSignalSpy ended(&form, &app::TMForm::programEnded);
    ui.answer(exampleDocument());
    form.show();
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, Kind::Error);
    EXPECT_FALSE(ui.busy());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(statusFileText(), std::nullopt);
    form.close();
    EXPECT_EQ(statusFileText(), statusFileWith(0));
}

// One or three parameters: an ordinary window that runs nothing and writes nothing.
TEST_F(HostMode, OnlyExactlyTwoParametersCount)
{
    for (const auto& parameters :
        { std::vector<std::string> { "exportar" }, std::vector<std::string> { "exportar", "0", "x" } }) {
        const auto form = makeForm(parameters);
        QSignalSpy ended(form.get(), &app::TMForm::programEnded);
        form->show();
        EXPECT_EQ(form->numParametros(), 0);
        EXPECT_FALSE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(form->isVisible());
        form->close();
        EXPECT_EQ(ended.count(), 0);
    }
    EXPECT_TRUE(m_ui.shown().empty());
    EXPECT_TRUE(m_ui.dialogs().empty());
    EXPECT_EQ(statusFileText(), std::nullopt);
}

// A handle that is not hexadecimal is reported; the window stays ordinary, yet the verb still
// runs its conversion, which then behaves as in normal use.
TEST_F(HostMode, BadHandleLeavesAnOrdinaryWindowThatStillRunsTheVerb)
{
    for (const char* handle : { "0x1A", "1A2G", "123456789", " 1A", "-" }) {
        FakeUserInteraction ui;
        app::TMForm form({ { "exportar", handle }, m_statusFile, m_workDir }, ui, m_help);
        ASSERT_EQ(ui.shown().size(), 1u) << handle;
        EXPECT_EQ(ui.shown()[0].kind, Kind::Error);
        EXPECT_EQ(ui.shown()[0].text, QString("'$%1' no es un valor entero válido.").arg(handle));
        EXPECT_EQ(form.numParametros(), 0);
        EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        ui.answer(std::nullopt);
        form.show();
        EXPECT_EQ(ui.texts().back(), "No existe archivo");
        EXPECT_EQ(form.estadoTransformado(), 0);
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(statusFileText(), std::nullopt);
}

// The status file cannot be written: the error report, the window stays open, and closing again
// tries again.
TEST_F(HostMode, FailedStatusWriteKeepsTheWindowOpenUntilItWorks)
{
    std::filesystem::create_directory(m_statusFile);
    const auto form = makeForm({ "abrir", "0" });
    QSignalSpy ended(form.get(), &app::TMForm::programEnded);
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ended.count(), 0);
    ASSERT_EQ(m_ui.shown().size(), 1u);
    EXPECT_EQ(m_ui.shown()[0].kind, Kind::Error);
    EXPECT_EQ(
        m_ui.shown()[0].text, QString::fromStdString("Unable to write to " + m_statusFile.string() + "."));
    std::filesystem::remove(m_statusFile);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(statusFileText(), statusFileWith(0));
    EXPECT_EQ(ended.count(), 1);
}

} // namespace
} // namespace tqz::test
