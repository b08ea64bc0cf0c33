// The main window's layout. Sizes and positions are in pixels at 96 dots per inch; Qt scales
// them, the fonts included, with the screen's density.

#include "app/AppTexts.h"
#include "app/GradientPanel.h"
#include "app/HelpViewer.h"
#include "app/MainForm.h"
#include "platform/HelpFile.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QSvgRenderer>

// Resources compiled into a static library must be registered by hand.
static void registerGlyphs()
{
    Q_INIT_RESOURCE(glyphs);
}

namespace tqz::app {
namespace {

constexpr QSize kClientArea(632, 266);

// The Windows faces, or the nearest installed face where they are missing.
QFont windowsFont(const QStringList& families, int pixelHeight, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont msSansSerif(bool bold)
{
    return windowsFont(
        { "MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "DejaVu Sans" }, 11, bold);
}

QFont arialBold(int pixelHeight)
{
    return windowsFont(
        { "Arial", "Liberation Sans", "Arimo", "Helvetica", "DejaVu Sans" }, pixelHeight, true);
}

QIcon glyph(const QString& resource)
{
    QSvgRenderer renderer(resource);
    QIcon icon;
    for (int side : { 18, 36, 54 }) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

GradientPanel* makePanel(
    QWidget* form, const char* name, QRect geometry, QColor start, QColor middle, QColor end)
{
    auto* panel = new GradientPanel(start, middle, end, form);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setGeometry(geometry);
    return panel;
}

// Labels are transparent: the panel's gradient shows behind the text.
QLabel* makeLabel(QWidget* panel, const char* name, QPoint at, const char* text, const QFont& font)
{
    auto* label = new QLabel(QString::fromUtf8(text), panel);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(font);
    // The form's background role is the button face, which would make its children draw their
    // text in the button-text colour; labels use the window-text colour.
    label->setForegroundRole(QPalette::WindowText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->move(at);
    return label;
}

// Enter presses whichever button has the focus.
QPushButton* makeButton(QWidget* panel, const char* name, QRect geometry, const char* text)
{
    auto* button = new QPushButton(QString::fromUtf8(text), panel);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setAutoDefault(true);
    return button;
}

} // namespace

void TMForm::buildLayout()
{
    registerGlyphs();
    setObjectName(QStringLiteral("MForm"));
    setWindowTitle(QString::fromUtf8(texts::kCaption));
    // A fixed dialog frame: a caption bar with system menu and close box, no icon, no
    // minimise or maximise box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientArea);
    setFont(msSansSerif(false));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // Later panels lie on top of earlier ones where they overlap; the rectangles are used as they
    // stand, one pixel past the right edge included.
    Draw3D1 = makePanel(
        this, "Draw3D1", { 0, 168, 633, 97 }, QColor(0xC2CDFE), QColor(0xCFF2FE), QColor(0xCCD8E6));
    Draw3D2 = makePanel(
        this, "Draw3D2", { 1, 0, 315, 169 }, QColor(0xF9D37D), QColor(0xFFFFFF), QColor(0xFFEEDD));
    Draw3D3 = makePanel(
        this, "Draw3D3", { 316, 0, 317, 169 }, QColor(0xF9D37D), QColor(0xFFFFFF), QColor(0xFFEEDD));

    Label3 = makeLabel(
        Draw3D2, "Label3", { 24, 24 }, "Transformar datos desde Zentris hacia Quorvane ", arialBold(16));
    Label3->setFixedSize(265, 57);
    Label3->setWordWrap(true);
    Label4 = makeLabel(
        Draw3D3, "Label4", { 8, 24 }, "Transformar datos desde Quorvane hacia Zentris", arialBold(16));
    Label4->setFixedSize(305, 57);
    Label4->setWordWrap(true);
    // One line, as wide as its text: the stand-in face may be wider than the Windows one.
    Label1 = makeLabel(Draw3D1, "Label1", { 8, 72 }, "TransQuorvaneZentris V-2.6", msSansSerif(true));
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    Label1->adjustSize();

    buildButtons();
}

void TMForm::buildButtons()
{
    BClose = makeButton(Draw3D1, "BClose", { 256, 32, 89, 25 }, "&Salir");
    BClose->setIcon(glyph(QStringLiteral(":/glyphs/door.svg")));
    Button1 = makeButton(Draw3D1, "Button1", { 264, 63, 75, 18 }, "F1 AYUDA");
    BExportar = makeButton(Draw3D2, "BExportar", { 96, 120, 89, 25 }, texts::kOk);
    BImportar = makeButton(Draw3D3, "BImportar", { 96, 120, 89, 25 }, texts::kOk);
    const QIcon check = glyph(QStringLiteral(":/glyphs/check.svg"));
    for (QPushButton* button : { BExportar, BImportar }) {
        button->setIcon(check);
        button->setDefault(true);
    }
    setTabOrder(BClose, Button1);
    setTabOrder(Button1, BExportar);
    setTabOrder(BExportar, BImportar);
    BClose->setFocus();

    connect(BClose, &QPushButton::clicked, this, &QWidget::close);
    connect(Button1, &QPushButton::clicked, this, &TMForm::Button1Click);
    connect(BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
    connect(BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
    // F1 anywhere in the window asks for the window's help context.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { m_help.showContext(this, help::kWindowContext); });
}

} // namespace tqz::app
