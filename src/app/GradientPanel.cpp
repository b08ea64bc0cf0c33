#include "app/GradientPanel.h"

#include <QLinearGradient>
#include <QPainter>

namespace tqz::app {

GradientPanel::GradientPanel(QColor start, QColor middle, QColor end, QWidget* parent)
    : QWidget(parent)
    , m_start(start)
    , m_middle(middle)
    , m_end(end)
{
    // The panel paints every pixel itself; nothing behind it needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent* /*event*/)
{
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, m_start);
    gradient.setColorAt(0.5, m_middle);
    gradient.setColorAt(1.0, m_end);
    QPainter painter(this);
    painter.fillRect(rect(), gradient);
}

} // namespace tqz::app
