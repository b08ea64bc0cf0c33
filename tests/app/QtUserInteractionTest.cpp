#include "app/QtUserInteraction.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tqz::test {
namespace {

// Runs `inspect` on the modal widget of type T that `open` shows, from a timer, since open
// blocks in the widget's own event loop.
template <typename T>
void whenShown(const std::function<void()>& open, const std::function<void(T&)>& inspect)
{
    bool seen = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget()); widget && !seen) {
            seen = true;
            inspect(*widget);
        }
    });
    timer.start();
    open();
    EXPECT_TRUE(seen);
}

struct BoxCase {
    bool error;
    QMessageBox::Icon icon;
};

TEST(QtUserInteraction, BoxesHaveTheTitleOneButtonAndTheirIcon)
{
    app::QtUserInteraction ui;
    for (const auto& [error, icon] :
        { BoxCase { false, QMessageBox::NoIcon }, BoxCase { true, QMessageBox::Critical } }) {
        whenShown<QMessageBox>(
            [&, error = error] { error ? ui.showError("Fallo.") : ui.showMessage("Proceso finalizado"); },
            [&, icon = icon](QMessageBox& box) {
                EXPECT_EQ(box.windowTitle(), "TransQuorvaZentris");
                EXPECT_EQ(box.icon(), icon);
                ASSERT_EQ(box.buttons().size(), 1);
                EXPECT_EQ(box.buttons()[0]->text(), "Aceptar");
                EXPECT_TRUE(box.isModal());
                QTest::keyClick(&box, Qt::Key_Return);
            });
    }
}

TEST(QtUserInteraction, FileDialogTakesANewNameAndAddsTheSuffix)
{
    TempDir dir;
    app::QtUserInteraction ui;
    std::optional<std::filesystem::path> chosen;
    whenShown<QFileDialog>(
        [&] {
            chosen = ui.chooseFile({ "Archivo XML", "*.xml", "xml", dir.path() });
        },
        [&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Archivo XML");
            EXPECT_EQ(dialog.nameFilters(), QStringList { "*.xml" });
            EXPECT_EQ(dialog.defaultSuffix(), "xml");
            EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(QDir(dialog.directory()).canonicalPath(),
                QDir(QString::fromStdString(dir.path().string())).canonicalPath());
            auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText("nuevo");
            QTest::keyClick(name, Qt::Key_Return);
        });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(
        std::filesystem::weakly_canonical(*chosen), std::filesystem::weakly_canonical(dir / "nuevo.xml"));

    whenShown<QFileDialog>(
        [&] {
            chosen = ui.chooseFile({ "Archivo XML", "*.xml", "xml", dir.path() });
        },
        [](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(chosen, std::nullopt);
}

TEST(QtUserInteraction, BusyShowsTheHourglass)
{
    app::QtUserInteraction ui;
    {
        app::BusyCursor busy(ui);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace tqz::test
