#include "ui/PlotBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <optional>

#include "ui/QtCanvas.h"

namespace gc::ui {
namespace {

std::optional<MouseButton> toButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

// The plot pixel that contains coordinate v; the bound only keeps a stray value in int range.
int pixelOf(double v) {
    if (!(v > -1.0e6)) return -1000000;
    if (!(v < 1.0e6)) return 1000000;
    return static_cast<int>(std::floor(v));
}

}  // namespace

PlotBox::PlotBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CICPBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // A click or the wheel gives the plot the focus, so that the arrow keys move its cursor.
    setFocusPolicy(Qt::WheelFocus);
}

QSize PlotBox::sizeHint() const { return {kPlotWidth * 3 / 2, kPlotHeight * 3 / 2}; }
QSize PlotBox::minimumSizeHint() const { return {kPlotWidth, kPlotHeight}; }

QPoint PlotBox::toPlot(QPointF pos) const {
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return {pixelOf(pos.x() * kPlotWidth / w), pixelOf(pos.y() * kPlotHeight / h)};
}

QPointF PlotBox::fromPlot(int x, int y) const {
    return {(x + 0.5) * width() / kPlotWidth, (y + 0.5) * height() / kPlotHeight};
}

void PlotBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!draw_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    QtCanvas canvas(painter, width(), height(), devicePixelRatioF(), activeCaptionColour());
    draw_(canvas);
}

void PlotBox::mousePressEvent(QMouseEvent* event) {
    const auto button = toButton(event->button());
    if (button && press_) {
        const QPoint p = toPlot(event->position());
        press_(*button, p.x(), p.y());
    }
    event->accept();
}

void PlotBox::mouseMoveEvent(QMouseEvent* event) {
    if (move_) {
        const QPoint p = toPlot(event->position());
        move_(p.x(), p.y());
    }
    event->accept();
}

void PlotBox::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = toButton(event->button());
    if (button && release_) {
        const QPoint p = toPlot(event->position());
        release_(*button, p.x(), p.y());
    }
    event->accept();
}

void PlotBox::wheelEvent(QWheelEvent* event) {
    if (!wheel_) {
        event->ignore();
        return;
    }
    // One notch is 120 eighths of a degree; finer wheels add up to whole notches.
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    if (steps != 0) wheel_(steps);
    event->accept();
}

void PlotBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (arrow_ && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        arrow_(key == Qt::Key_Left ? -1 : 1);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace gc::ui
