#pragma once

#include <QColor>
#include <QWidget>

namespace tqz::app {

// A panel filled from top to bottom with a gradient through three colours: the start colour at
// the top edge, the middle colour halfway down, the end colour at the bottom edge.
class GradientPanel final : public QWidget {
    Q_OBJECT

public:
    GradientPanel(QColor start, QColor middle, QColor end, QWidget* parent);

    QColor startColor() const { return m_start; }
    QColor middleColor() const { return m_middle; }
    QColor endColor() const { return m_end; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_start;
    QColor m_middle;
    QColor m_end;
};

} // namespace tqz::app
