#include "FormFixture.h"
#include "app/GradientPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace tqz::test {
namespace {

using LayoutTest = FormFixture;

template <typename Widget> Widget* child(QWidget& form, const char* name)
{
    auto* widget = form.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST_F(LayoutTest, WindowIsAFixedDialogWithItsCaption)
{
    const auto form = makeForm({});
    EXPECT_EQ(form->objectName(), "MForm");
    EXPECT_EQ(form->windowTitle(), "Exportar e importar datos entre Quorvane y Zentris ");
    EXPECT_EQ(form->size(), QSize(632, 266));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "not resizable";
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->numParametros(), 0);
    EXPECT_EQ(form->estadoTransformado(), 0);
}

struct PanelFacts {
    const char* name;
    QRect geometry;
    QRgb start, middle, end;
};

TEST_F(LayoutTest, PanelsLieWhereTheyStandWithTheirColours)
{
    const auto form = makeForm({});
    const PanelFacts panels[] = {
        { "Draw3D1", { 0, 168, 633, 97 }, 0xFFC2CDFE, 0xFFCFF2FE, 0xFFCCD8E6 },
        { "Draw3D2", { 1, 0, 315, 169 }, 0xFFF9D37D, 0xFFFFFFFF, 0xFFFFEEDD },
        { "Draw3D3", { 316, 0, 317, 169 }, 0xFFF9D37D, 0xFFFFFFFF, 0xFFFFEEDD },
    };
    for (const auto& facts : panels) {
        auto* panel = child<app::GradientPanel>(*form, facts.name);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->geometry(), facts.geometry) << facts.name;
        EXPECT_EQ(panel->startColor().rgba(), facts.start) << facts.name;
        EXPECT_EQ(panel->middleColor().rgba(), facts.middle) << facts.name;
        EXPECT_EQ(panel->endColor().rgba(), facts.end) << facts.name;
    }
    // Created in this order, a later panel lies on top of an earlier one.
    const auto order = form->children();
    EXPECT_LT(order.indexOf(form->findChild<QObject*>("Draw3D1")),
        order.indexOf(form->findChild<QObject*>("Draw3D2")));
    EXPECT_LT(order.indexOf(form->findChild<QObject*>("Draw3D2")),
        order.indexOf(form->findChild<QObject*>("Draw3D3")));
}

TEST_F(LayoutTest, LabelsHaveTheirTextsFontsAndWrapping)
{
    const auto form = makeForm({});
    auto* label3 = child<QLabel>(*form, "Label3");
    auto* label4 = child<QLabel>(*form, "Label4");
    auto* label1 = child<QLabel>(*form, "Label1");
    ASSERT_TRUE(label1 && label3 && label4);
    EXPECT_EQ(label3->text(), "Transformar datos desde Zentris hacia Quorvane ");
    EXPECT_EQ(label3->parentWidget()->objectName(), "Draw3D2");
    EXPECT_EQ(label3->geometry(), QRect(24, 24, 265, 57));
    EXPECT_EQ(label4->text(), "Transformar datos desde Quorvane hacia Zentris");
    EXPECT_EQ(label4->parentWidget()->objectName(), "Draw3D3");
    EXPECT_EQ(label4->geometry(), QRect(8, 24, 305, 57));
    for (auto* label : { label3, label4 }) {
        EXPECT_TRUE(label->wordWrap());
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pixelSize(), 16);
        EXPECT_EQ(label->font().families().value(0), "Arial");
        EXPECT_FALSE(label->autoFillBackground()) << "the gradient shows behind the text";
    }
    EXPECT_EQ(label1->text(), "TransQuorvaneZentris V-2.6");
    EXPECT_EQ(label1->parentWidget()->objectName(), "Draw3D1");
    EXPECT_EQ(label1->pos(), QPoint(8, 72));
    EXPECT_FALSE(label1->wordWrap());
    EXPECT_TRUE(label1->font().bold());
    EXPECT_EQ(label1->font().pixelSize(), 11);
    EXPECT_EQ(label1->font().families().value(0), "MS Sans Serif");
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_FALSE(form->font().bold());
}

struct ButtonFacts {
    const char* name;
    const char* panel;
    QRect geometry;
    const char* text;
    bool hasGlyph;
};

TEST_F(LayoutTest, ButtonsAndTheirTabOrder)
{
    const auto form = makeForm({});
    const ButtonFacts buttons[] = {
        { "BClose", "Draw3D1", { 256, 32, 89, 25 }, "&Salir", true },
        { "Button1", "Draw3D1", { 264, 63, 75, 18 }, "F1 AYUDA", false },
        { "BExportar", "Draw3D2", { 96, 120, 89, 25 }, "Aceptar", true },
        { "BImportar", "Draw3D3", { 96, 120, 89, 25 }, "Aceptar", true },
    };
    std::vector<QPushButton*> found;
    for (const auto& facts : buttons) {
        auto* button = child<QPushButton>(*form, facts.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parentWidget()->objectName(), facts.panel) << facts.name;
        EXPECT_EQ(button->geometry(), facts.geometry) << facts.name;
        EXPECT_EQ(button->text(), facts.text) << facts.name;
        EXPECT_EQ(!button->icon().isNull(), facts.hasGlyph) << facts.name;
        EXPECT_TRUE(button->autoDefault()) << facts.name << ": Enter presses the focused button";
        found.push_back(button);
    }
    EXPECT_FALSE(found[2]->icon().pixmap(18, 18).toImage().isNull());
    // The focus chain visits the buttons in this order, and the window starts on the first.
    QWidget* next = found[0];
    for (std::size_t i = 1; i < found.size(); ++i) {
        do {
            next = next->nextInFocusChain();
        } while (next->focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(next, found[i]) << i;
    }
    EXPECT_EQ(form->focusWidget(), found[0]);
}

TEST_F(LayoutTest, CentredOnTheScreenWhenShown)
{
    const auto form = makeForm({});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QSize screen = form->screen()->size();
    EXPECT_EQ(form->pos(), QPoint((screen.width() - 632) / 2, (screen.height() - 266) / 2));
}

TEST_F(LayoutTest, AltSClosesWithoutWritingTheStatusFile)
{
    const auto form = makeForm({});
    QSignalSpy ended(form.get(), &app::TMForm::programEnded);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
    // The mnemonic clicks with a short animation, so the close arrives a little later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(statusFileText(), std::nullopt);
}

TEST_F(LayoutTest, EnterPressesTheFocusedButton)
{
    const auto form = makeForm({});
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* importar = child<QPushButton>(*form, "BImportar");
    importar->setFocus();
    m_ui.answer(std::nullopt);
    QTest::keyClick(importar, Qt::Key_Return);
    EXPECT_EQ(m_ui.dialogs().size(), 1u);
    EXPECT_EQ(m_ui.texts(), std::vector<QString> { "No existe archivo" });
    EXPECT_TRUE(form->isVisible());
}

TEST_F(LayoutTest, TheVersionLabelIsDrawnInRed)
{
    const auto form = makeForm({});
    form->show();
    auto* label1 = child<QLabel>(*form, "Label1");
    ASSERT_TRUE(label1);
    const QImage drawn = form->grab().toImage();
    const QRect area = label1->geometry().translated(label1->parentWidget()->pos());
    int redPixels = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            if (pixel.red() > 180 && pixel.green() < 90 && pixel.blue() < 90) {
                ++redPixels;
            }
        }
    }
    EXPECT_GT(redPixels, 20) << "the version text is painted in red";
}

} // namespace
} // namespace tqz::test
