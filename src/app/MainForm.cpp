#include "app/MainForm.h"

#include "app/AppTexts.h"
#include "app/ErrorReport.h"
#include "app/HelpViewer.h"
#include "app/HostWindow.h"
#include "app/UserInteraction.h"
#include "convert/Conversions.h"
#include "platform/HelpFile.h"
#include "platform/ProfileWriter.h"
#include "platform/Text.h"
#include "platform/WorkDir.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <string>
#include <system_error>
#include <utility>

namespace tqz::app {

TMForm::TMForm(FormSetup setup, UserInteraction& ui, HelpViewer& help, QWidget* parent)
    : QWidget(parent)
    , m_setup(std::move(setup))
    , m_ui(ui)
    , m_help(help)
{
    buildLayout();
    FormCreate();
}

TMForm::~TMForm()
{
    // The docked native window goes before the host's representation, which would take it along.
    if (m_hostWindow) {
        destroy();
    }
}

// Every handler ends at its first error, which the default error report shows; the window stays
// open and usable. A host window that went away while a handler waited for the user ends the
// program once the handler is done.
template <typename Handler> void TMForm::runHandler(Handler&& handler)
{
    const bool outermost = !m_busy;
    m_busy = true;
    try {
        handler();
    } catch (const std::exception& error) {
        report(error);
    }
    if (outermost) {
        m_busy = false;
        if (m_hostGone) {
            endWithoutHost();
        }
    }
}

void TMForm::report(const std::exception& error)
{
    m_ui.showError(errorReportText(QString::fromUtf8(error.what())));
}

void TMForm::FormCreate()
{
    EstadoTransformado = 0;
    if (m_setup.parameters.size() != 2) {
        return;
    }
    // A handle that is not hexadecimal is reported and leaves an ordinary window.
    runHandler([this] {
        const std::int32_t handle = text::strToInt("$" + m_setup.parameters[1]);
        placeInHost(hostWindowId(handle));
        NumParametros = 2;
    });
}

// Without a window behind the handle (0, or a number that names none) the window stays
// top-level, without border, and the timetabling program still gets its status file.
void TMForm::placeInHost(WId host)
{
    // The frame goes first: changing the flags of a docked window would create it anew.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    if (!isExistingWindow(host)) {
        return;
    }
    m_hostWindow = dockInto(*this, host);
    if (!m_hostWindow) {
        return;
    }
    m_hostWatch = std::make_unique<WindowDestructionWatch>(winId(),
        [this] { QMetaObject::invokeMethod(this, &TMForm::hostWindowDestroyed, Qt::QueuedConnection); });
}

void TMForm::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        if (!m_positioned) {
            centre();
            m_positioned = true;
        }
        m_closed = false;
        FormShow();
        // The conversion run by the verb may have closed the window before it was ever shown.
        if (m_closed) {
            return;
        }
    }
    QWidget::setVisible(visible);
}

// Centred by the size of the screen; docked, that is measured from the host's client area.
void TMForm::centre()
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

void TMForm::FormShow()
{
    // The parameters are counted afresh: a handle that could not be read still runs the verb,
    // as an ordinary window.
    const auto& parameters = m_setup.parameters;
    if (parameters.size() != 2) {
        return;
    }
    if (text::asciiLower(parameters[0]) == texts::kVerbImportar) {
        BImportarClick();
    }
    if (text::asciiLower(parameters[0]) == texts::kVerbExportar) {
        BExportarClick();
    }
}

void TMForm::closeEvent(QCloseEvent* event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    m_closed = true;
    if (hostDriven() && !m_ended) {
        m_ended = true;
        emit programEnded();
    }
}

// In host-driven mode the status value goes to the status file; when that fails the window
// stays open, and closing it again tries again.
bool TMForm::FormClose()
{
    if (!hostDriven()) {
        return true;
    }
    try {
        ini::writeProfileString(
            m_setup.statusFile, texts::kStatusSection, texts::kStatusKey, std::to_string(EstadoTransformado));
        return true;
    } catch (const std::exception& error) {
        report(error);
        return false;
    }
}

void TMForm::hostWindowDestroyed()
{
    m_hostGone = true;
    if (!m_busy) {
        endWithoutHost();
    }
}

// The host window took the docked window with it: nothing is left to close, but the timetabling
// program still gets its status value, and the program ends even if that write fails.
void TMForm::endWithoutHost()
{
    if (m_ended) {
        return;
    }
    FormClose();
    m_ended = true;
    emit programEnded();
}

bool TMForm::ElegirArchivoXML()
{
    const FileDialogSettings settings { QString::fromUtf8(texts::kFileDialogTitle),
        QString::fromUtf8(texts::kFileDialogFilter), QString::fromUtf8(texts::kFileDialogSuffix),
        zentrisFolder(m_setup.workDir) };
    if (auto chosen = m_ui.chooseFile(settings)) {
        ArchivoXML = std::move(*chosen);
    }
    std::error_code error;
    return !ArchivoXML.empty() && std::filesystem::exists(ArchivoXML, error)
        && !std::filesystem::is_directory(ArchivoXML, error);
}

void TMForm::reportNoDocument(int hostStatus)
{
    m_ui.showMessage(QString::fromUtf8(texts::kNoFile));
    if (hostDriven()) {
        EstadoTransformado = hostStatus;
        close();
    }
}

void TMForm::reportDone()
{
    EstadoTransformado = 1;
    m_ui.showMessage(QString::fromUtf8(texts::kDone));
    if (hostDriven()) {
        close();
    }
}

void TMForm::BExportarClick()
{
    runHandler([this] {
        if (!ElegirArchivoXML()) {
            reportNoDocument(-1);
            return;
        }
        {
            BusyCursor busy(m_ui);
            convert::exportar(ArchivoXML, m_setup.workDir);
        }
        reportDone();
    });
}

// A missing document leaves status 0 in this direction, where exporting leaves -1.
void TMForm::BImportarClick()
{
    runHandler([this] {
        if (!ElegirArchivoXML()) {
            reportNoDocument(0);
            return;
        }
        {
            BusyCursor busy(m_ui);
            convert::importar(ArchivoXML, m_setup.workDir);
        }
        reportDone();
    });
}

void TMForm::Button1Click()
{
    m_help.setHelpFile(help::kButtonHelpFile);
    m_help.showContents(this);
}

} // namespace tqz::app
