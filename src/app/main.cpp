// The program entry: the application's title and help file, the one main window `MForm`, and the
// message loop until that window has closed.

#include "app/AppTexts.h"
#include "app/HelpViewer.h"
#include "app/MainForm.h"
#include "app/PathText.h"
#include "app/QtUserInteraction.h"
#include "platform/CommandLine.h"
#include "platform/HelpFile.h"
#include "platform/WorkDir.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tqz::app::texts::kTitle));
    // Qt's own dialog texts (the file dialog's buttons and labels) in Spanish, like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    const auto workDir = tqz::defaultWorkDir();
    tqz::app::HelpViewer help(tqz::help::driveRootOf(workDir));
    help.setHelpFile(tqz::help::kStartupHelpFile);

    tqz::app::FormSetup setup;
    // Qt has taken its own options out of argv by now.
    setup.parameters = tqz::programParameters(argc, argv);
    setup.statusFile = tqz::app::toPath(QDir(QApplication::applicationDirPath())
                                            .filePath(QString::fromUtf8(tqz::app::texts::kStatusFileName)));
    setup.workDir = workDir;

    tqz::app::QtUserInteraction ui;
    tqz::app::TMForm MForm(setup, ui, help);
    // exit, not quit: quit first asks every top-level window to close, and the host window's
    // representation, a window of another program, may refuse.
    QObject::connect(
        &MForm, &tqz::app::TMForm::programEnded, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    MForm.show();
    // The conversion that the verb runs on the first showing may already have closed the window.
    if (MForm.hasEnded()) {
        return 0;
    }
    return QApplication::exec();
}
