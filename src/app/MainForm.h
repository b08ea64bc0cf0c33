#pragma once

// The main window `MForm` of class `TMForm`: two conversion buttons, help and closing, and the
// host-driven mode in which the timetabling program starts the tool with a verb and one of its
// window handles, has it dock into that window, run the one conversion and leave a status value
// in "Quorvane.ini" beside the executable.

#include <QWidget>

#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QWindow;

namespace tqz::app {

class GradientPanel;
class HelpViewer;
class UserInteraction;
class WindowDestructionWatch;

struct FormSetup {
    std::vector<std::string> parameters; // the program's parameters, by the runtime's rules
    std::filesystem::path statusFile; // "Quorvane.ini" beside the executable
    std::filesystem::path workDir; // the working directory of the working tables
};

class TMForm final : public QWidget {
    Q_OBJECT

public:
    TMForm(FormSetup setup, UserInteraction& ui, HelpViewer& help, QWidget* parent = nullptr);
    ~TMForm() override;

    const std::filesystem::path& archivoXml() const { return ArchivoXML; }
    int numParametros() const { return NumParametros; }
    int estadoTransformado() const { return EstadoTransformado; }
    // The window was closed for good in host-driven mode; the program is to end.
    bool hasEnded() const { return m_ended; }

    void setVisible(bool visible) override;

public slots:
    void BExportarClick();
    void BImportarClick();
    void Button1Click();

signals:
    // Host-driven mode is over: the window closed, or the host window went away. Queue the end
    // of the program on it: a window docked in a foreign one does not count for Qt's
    // "last window closed".
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildButtons();
    void FormCreate();
    void FormShow();
    bool FormClose();
    bool ElegirArchivoXML();
    void reportNoDocument(int hostStatus);
    void reportDone();
    bool hostDriven() const { return NumParametros == 2; }
    void placeInHost(WId host);
    void centre();
    template <typename Handler> void runHandler(Handler&& handler);
    void report(const std::exception& error);
    void hostWindowDestroyed();
    void endWithoutHost();

    FormSetup m_setup;
    UserInteraction& m_ui;
    HelpViewer& m_help;

    // Run-wide state: the last confirmed document, 2 in host-driven mode, the status value.
    std::filesystem::path ArchivoXML;
    int NumParametros = 0;
    int EstadoTransformado = 0;

    bool m_positioned = false;
    bool m_closed = false;
    bool m_busy = false;
    bool m_hostGone = false;
    bool m_ended = false;
    std::unique_ptr<QWindow> m_hostWindow;
    std::unique_ptr<WindowDestructionWatch> m_hostWatch;

    GradientPanel* Draw3D1 = nullptr;
    GradientPanel* Draw3D2 = nullptr;
    GradientPanel* Draw3D3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* BExportar = nullptr;
    QPushButton* BImportar = nullptr;
    QPushButton* BClose = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace tqz::app
