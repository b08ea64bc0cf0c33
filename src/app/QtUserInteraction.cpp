#include "app/QtUserInteraction.h"

#include "app/AppTexts.h"
#include "app/PathText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tqz::app {
namespace {

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QString::fromUtf8(texts::kTitle), text, QMessageBox::NoButton, nullptr);
    // The button's text is the system's own "Aceptar", whatever translation Qt has loaded.
    box.setDefaultButton(box.addButton(QString::fromUtf8(texts::kOk), QMessageBox::AcceptRole));
    box.exec();
}

} // namespace

std::optional<std::filesystem::path> QtUserInteraction::chooseFile(const FileDialogSettings& settings)
{
    // Qt's own dialog behaves alike on every system: it takes a name that does not exist, adds
    // the default suffix, and tests can drive it.
    QFileDialog dialog(nullptr, settings.title, toQString(settings.startFolder), settings.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toPath(dialog.selectedFiles().constFirst());
}

void QtUserInteraction::showMessage(const QString& text)
{
    showBox(QMessageBox::NoIcon, text);
}

void QtUserInteraction::showError(const QString& text)
{
    showBox(QMessageBox::Critical, text);
}

void QtUserInteraction::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace tqz::app
