#include "ui/QtCanvas.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace gc::ui {
namespace {

QColor toQColor(gc::response::Rgb c) { return QColor(c.r, c.g, c.b); }

// Clips the segment (x0, y0)-(x1, y1) to the rectangle [lo, hi] (Liang-Barsky). The plot may
// ask for lines to rows far outside the box (a zero magnitude has no finite level), which are
// cut here before they reach the rasteriser. False when nothing of the segment is inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double xLo, double yLo, double xHi,
                 double yHi) {
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - xLo, xHi - x0, y0 - yLo, yHi - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double nx0 = x0 + t0 * dx;
    const double ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    return true;
}

}  // namespace

QColor activeCaptionColour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QtCanvas::QtCanvas(QPainter& painter, int logicalWidth, int logicalHeight, qreal pixelRatio,
                   QColor caption)
    : painter_(painter),
      deviceWidth_(std::round(logicalWidth * pixelRatio)),
      deviceHeight_(std::round(logicalHeight * pixelRatio)),
      pixelRatio_(pixelRatio > 0.0 ? pixelRatio : 1.0),
      caption_(caption) {
    painter_.save();
    // Work in device pixels so that every line can be put on a pixel centre.
    painter_.scale(1.0 / pixelRatio_, 1.0 / pixelRatio_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setClipRect(QRectF(0.0, 0.0, deviceWidth_, deviceHeight_));
    setPen(gc::response::kBlack, 1, gc::response::PenStyle::Solid);
}

QtCanvas::~QtCanvas() { painter_.restore(); }

qreal QtCanvas::edgeX(double v) const { return std::floor(v * deviceWidth_ / kPlotWidth); }
qreal QtCanvas::edgeY(double v) const { return std::floor(v * deviceHeight_ / kPlotHeight); }

QPointF QtCanvas::toDevice(double x, double y) const {
    // A plot pixel covers the device band [edge(v), edge(v + 1)); the line runs through the
    // middle device pixel of that band, on its centre for odd pen widths.
    const double offset = evenPen_ ? 0.0 : 0.5;
    const double cx = std::floor((x + 0.5) * deviceWidth_ / kPlotWidth) + offset;
    const double cy = std::floor((y + 0.5) * deviceHeight_ / kPlotHeight) + offset;
    return {cx, cy};
}

void QtCanvas::drawText(int x, int y, int maxWidth, const std::string& text,
                        gc::response::Rgb colour) {
    QFont font = QApplication::font();
    const int rowHeight = int(edgeY(y + 6.0) - edgeY(y - 6.0));
    const int fontPixels = int(std::round(QFontInfo(font).pixelSize() * pixelRatio_));
    font.setPixelSize(std::max(6, std::min(fontPixels, rowHeight - 2)));
    const QFontMetricsF metrics(font);
    const qreal left = edgeX(x);
    const qreal width = edgeX(double(x) + maxWidth) - left;
    const QString shown = metrics.elidedText(QString::fromStdString(text), Qt::ElideMiddle, width);
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(toQColor(colour));
    const qreal middle = (edgeY(y) + edgeY(y + 1.0)) / 2.0;
    painter_.drawText(QPointF(left, middle + (metrics.ascent() - metrics.descent()) / 2.0), shown);
    painter_.restore();
}

void QtCanvas::fillRect(int x, int y, int w, int h, gc::response::Rgb colour) {
    const QRectF r(QPointF(edgeX(x), edgeY(y)),
                   QPointF(edgeX(double(x) + w), edgeY(double(y) + h)));
    painter_.fillRect(r, toQColor(colour));
}

void QtCanvas::setPen(gc::response::Rgb colour, int width, gc::response::PenStyle style) {
    const int deviceWidth = std::max(1, int(std::lround(std::max(width, 1) * pixelRatio_)));
    evenPen_ = deviceWidth % 2 == 0;
    QPen pen(toQColor(colour));
    pen.setCosmetic(true);
    pen.setWidth(deviceWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setStyle(style == gc::response::PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    painter_.setPen(pen);
}

void QtCanvas::moveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void QtCanvas::lineTo(int x, int y) {
    double x0 = penX_;
    double y0 = penY_;
    double x1 = x;
    double y1 = y;
    penX_ = x;
    penY_ = y;
    // A line wholly outside the plot's pixels (the cursor line of "no cursor" at column -1, a
    // marker beyond the last column) is not drawn at all: the screen would clip it, but an
    // exported picture would show it beside the plot.
    const auto outside = [](double a, double b, int size) {
        return (a < 0.0 && b < 0.0) || (a >= size && b >= size);
    };
    if (outside(x0, x1, kPlotWidth) || outside(y0, y1, kPlotHeight)) return;
    // One plot pixel of margin keeps the ends of lines that touch the border.
    if (!clipSegment(x0, y0, x1, y1, -1.0, -1.0, kPlotWidth, kPlotHeight)) return;
    QPen pen = painter_.pen();
    if (y0 == y1 || x0 == x1) {
        // A row or column line covers the whole device band of every plot pixel it passes and
        // lies on the middle device line of its own band.
        pen.setCapStyle(Qt::FlatCap);
        painter_.setPen(pen);
        if (y0 == y1) {
            const double y = toDevice(0.0, y0).y();
            painter_.drawLine(QPointF(edgeX(std::min(x0, x1)), y),
                              QPointF(edgeX(std::floor(std::max(x0, x1)) + 1.0), y));
        } else {
            const double x = toDevice(x0, 0.0).x();
            painter_.drawLine(QPointF(x, edgeY(std::min(y0, y1))),
                              QPointF(x, edgeY(std::floor(std::max(y0, y1)) + 1.0)));
        }
        return;
    }
    // Square caps make a slanted segment reach its end pixels whole.
    pen.setCapStyle(Qt::SquareCap);
    painter_.setPen(pen);
    painter_.drawLine(toDevice(x0, y0), toDevice(x1, y1));
}

gc::response::Rgb QtCanvas::activeCaptionColour() const {
    return {std::uint8_t(caption_.red()), std::uint8_t(caption_.green()),
            std::uint8_t(caption_.blue())};
}

}  // namespace gc::ui
