#pragma once
// A paint box for a hand-drawn plot: it keeps no picture of its own and calls its draw callback
// from every paint event with a canvas in plot pixels (256 x 240). Mouse buttons and positions
// are forwarded in plot pixels too.
#include <QWidget>
#include <functional>

#include "app/ChannelPlotMouse.h"
#include "response/Canvas.h"

namespace gc::ui {

using MouseButton = gc::app::MouseButton;

class PlotBox : public QWidget {
    Q_OBJECT
  public:
    using DrawFn = std::function<void(gc::response::Canvas&)>;
    using MouseFn = std::function<void(MouseButton button, int x, int y)>;
    using MoveFn = std::function<void(int x, int y)>;
    // Wheel steps (positive away from the user) and arrow keys (-1 left, +1 right).
    using StepFn = std::function<void(int steps)>;

    explicit PlotBox(QWidget* parent = nullptr);

    void setDrawFunction(DrawFn draw) { draw_ = std::move(draw); }
    void setMousePressFunction(MouseFn f) { press_ = std::move(f); }
    void setMouseMoveFunction(MoveFn f) { move_ = std::move(f); }
    void setMouseReleaseFunction(MouseFn f) { release_ = std::move(f); }
    void setWheelFunction(StepFn f) { wheel_ = std::move(f); }
    void setArrowFunction(StepFn f) { arrow_ = std::move(f); }

    // Widget position to the plot pixel that contains it; points left of or above the box give
    // negative values, points beyond it values from 256 (240) on.
    [[nodiscard]] QPoint toPlot(QPointF widgetPos) const;
    // Centre of plot pixel (x, y) in widget coordinates.
    [[nodiscard]] QPointF fromPlot(int x, int y) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    DrawFn draw_;
    MouseFn press_;
    MoveFn move_;
    MouseFn release_;
    StepFn wheel_;
    StepFn arrow_;
    int wheelRest_{0};  // eighths of a degree not yet turned into a step (fine wheels)
};

}  // namespace gc::ui
