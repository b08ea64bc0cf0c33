#include "FormFixture.h"
#include "app/AppTexts.h"
#include "support/Files.h"

#include <QSignalSpy>

namespace tqz::test {
namespace {

using ConversionHandlers = FormFixture;
using Kind = FakeUserInteraction::Kind;

enum class Direction { Exportar, Importar };

void click(app::TMForm& form, Direction direction)
{
    direction == Direction::Exportar ? form.BExportarClick() : form.BImportarClick();
}

TEST_F(ConversionHandlers, DialogStartsInTheZentrisFolderAndTakesXml)
{
    const auto form = makeForm({});
    m_ui.answer(std::nullopt);
    form->BExportarClick();
    ASSERT_EQ(m_ui.dialogs().size(), 1u);
    const auto& dialog = m_ui.dialogs()[0];
    EXPECT_EQ(dialog.title, "Archivo XML");
    EXPECT_EQ(dialog.filter, "*.xml");
    EXPECT_EQ(dialog.defaultSuffix, "xml");
    EXPECT_EQ(dialog.startFolder, m_workDir / "zentris");
}

// Outside host-driven mode a missing document changes nothing but the message.
TEST_F(ConversionHandlers, FirstConversionCancelledReportsNoFile)
{
    for (const auto direction : { Direction::Exportar, Direction::Importar }) {
        const auto form = makeForm({});
        form->show();
        m_ui.answer(std::nullopt);
        click(*form, direction);
        EXPECT_TRUE(form->archivoXml().empty());
        EXPECT_EQ(form->estadoTransformado(), 0);
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_EQ(m_ui.texts(), (std::vector<QString> { "No existe archivo", "No existe archivo" }));
    EXPECT_EQ(m_ui.shown()[0].kind, Kind::Message);
    EXPECT_TRUE(m_ui.cursorChanges().empty());
    EXPECT_EQ(statusFileText(), std::nullopt);
}

TEST_F(ConversionHandlers, NamesOfNoFileOrAFolderReportNoFile)
{
    const auto form = makeForm({});
    m_ui.answer(m_workDir / "zentris" / "falta.xml");
    m_ui.answer(m_workDir / "zentris");
    form->BExportarClick();
    form->BImportarClick();
    EXPECT_EQ(form->archivoXml(), m_workDir / "zentris");
    EXPECT_EQ(m_ui.texts(), (std::vector<QString> { "No existe archivo", "No existe archivo" }));
}

// A cancelled dialog converts the file chosen before, whichever button chose it.
TEST_F(ConversionHandlers, CancelledAfterAnEarlierChoiceConvertsThatFileAgain)
{
    const auto form = makeForm({});
    const auto document = exampleDocument();
    m_ui.answer(document);
    m_ui.answer(std::nullopt);
    form->BExportarClick();
    const auto firstTables = readBytes(m_workDir / "ASIGNOMT.DBF");
    std::filesystem::remove(m_workDir / "ASIGNOMT.DBF");
    form->BExportarClick();
    EXPECT_EQ(form->archivoXml(), document);
    EXPECT_EQ(readBytes(m_workDir / "ASIGNOMT.DBF"), firstTables);
    EXPECT_EQ(m_ui.texts(), (std::vector<QString> { "Proceso finalizado", "Proceso finalizado" }));
    EXPECT_EQ(form->estadoTransformado(), 1);
    // The hourglass is on during each conversion and off again before the final message.
    EXPECT_EQ(m_ui.cursorChanges(), (std::vector<bool> { true, false, true, false }));
    EXPECT_FALSE(m_ui.shown()[0].busy);
    EXPECT_EQ(statusFileText(), std::nullopt);
}

TEST_F(ConversionHandlers, ImportarWritesTheResultBesideTheDocument)
{
    const auto form = makeForm({});
    const auto document = exampleDocument();
    m_ui.answer(document);
    form->BExportarClick();
    const auto generated = runProgram({ "/usr/bin/python3", TQZ_EXAMPLES "/generate_soluc.py",
        document.string(), (m_workDir / "SOLUC.DBF").string() });
    ASSERT_EQ(generated.exitCode, 0) << generated.errors;
    m_ui.answer(std::nullopt);
    form->BImportarClick();
    EXPECT_EQ(m_ui.texts(), (std::vector<QString> { "Proceso finalizado", "Proceso finalizado" }));
    EXPECT_TRUE(std::filesystem::exists(m_workDir / "zentris" / "ResultadoQuorvahorario.xml"));
    EXPECT_EQ(form->estadoTransformado(), 1);
}

// A failing conversion is reported by the error report; the status keeps its value, the window
// stays open and usable, and the cursor is the normal one again.
TEST_F(ConversionHandlers, ErrorIsReportedAndChangesNothingElse)
{
    for (const auto direction : { Direction::Exportar, Direction::Importar }) {
        FakeUserInteraction ui;
        app::TMForm form({ {}, m_statusFile, m_dir / "no-such-folder" }, ui, m_help);
        form.show();
        ui.answer(exampleDocument());
        click(form, direction);
        ASSERT_EQ(ui.shown().size(), 1u);
        EXPECT_EQ(ui.shown()[0].kind, Kind::Error);
        EXPECT_FALSE(ui.shown()[0].text.isEmpty());
        EXPECT_FALSE(ui.busy());
        EXPECT_EQ(ui.cursorChanges(), (std::vector<bool> { true, false }));
        EXPECT_EQ(form.estadoTransformado(), 0);
        EXPECT_TRUE(form.isVisible());
    }
}

} // namespace
} // namespace tqz::test
