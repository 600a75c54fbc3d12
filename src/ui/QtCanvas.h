#pragma once
// The plot canvas on a QPainter. The drawing speaks the paint box's own 256 x 240 pixels; each
// plot pixel is mapped onto a band of the widget's device pixels, so the plot fills the widget
// at any size and its one-pixel lines stay sharp on high-density screens.
#include <QColor>
#include <QPointF>

#include "response/Canvas.h"

class QPainter;

namespace gc::ui {

inline constexpr int kPlotWidth = 256;   // paint box width in plot pixels
inline constexpr int kPlotHeight = 240;  // paint box height in plot pixels

class QtCanvas final : public gc::response::Canvas {
  public:
    // `painter` is active on a widget of `logicalWidth` x `logicalHeight` pixels whose device
    // pixel ratio is `pixelRatio`; `caption` is the colour of the cursor pen.
    QtCanvas(QPainter& painter, int logicalWidth, int logicalHeight, qreal pixelRatio,
             QColor caption);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    [[nodiscard]] int width() const override { return kPlotWidth; }
    [[nodiscard]] int height() const override { return kPlotHeight; }
    void fillRect(int x, int y, int w, int h, gc::response::Rgb colour) override;
    void setPen(gc::response::Rgb colour, int width, gc::response::PenStyle style) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    [[nodiscard]] gc::response::Rgb activeCaptionColour() const override;
    // In the application's font, made smaller where a legend row (12 plot pixels) is too low
    // for it, and elided to `maxWidth`.
    void drawText(int x, int y, int maxWidth, const std::string& text,
                  gc::response::Rgb colour) override;

    // Device-pixel edge before plot column (row) v; v = 256 (240) gives the far edge.
    [[nodiscard]] qreal edgeX(double v) const;
    [[nodiscard]] qreal edgeY(double v) const;

  private:
    [[nodiscard]] QPointF toDevice(double x, double y) const;

    QPainter& painter_;
    qreal deviceWidth_;
    qreal deviceHeight_;
    qreal pixelRatio_;
    QColor caption_;
    bool evenPen_{false};  // an even device width sits on pixel edges, an odd one on centres
    int penX_{0};          // current position, plot pixels
    int penY_{0};
};

// The colour of an active window's caption on this desktop.
[[nodiscard]] QColor activeCaptionColour();

}  // namespace gc::ui
