// The QPainter canvas, the paint box and the plot frame Panel5: plot pixels onto device
// pixels at any size, sharp lines, clipping, mouse positions and axis labels on their lines.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <climits>

#include "UiTestSupport.h"
#include "ui/PlotBox.h"
#include "ui/PlotPanel.h"
#include "ui/QtCanvas.h"

using gc::response::kBlack;
using gc::response::kRed;
using gc::response::kWhite;
using gc::response::PenStyle;
using gc::ui::MouseButton;

namespace {

QImage whiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Draws with a canvas onto an image of w x h device pixels at the given pixel ratio.
template <class Draw>
QImage render(int w, int h, qreal ratio, Draw draw) {
    QImage image = whiteImage(w, h);
    {
        QPainter painter(&image);
        // The painter works in logical pixels; the canvas undoes the ratio itself.
        painter.scale(ratio, ratio);
        gc::ui::QtCanvas canvas(painter, int(w / ratio), int(h / ratio), ratio, QColor(0, 0, 255));
        draw(canvas);
    }
    return image;
}

int darkPixelsInRow(const QImage& image, int y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

int darkPixelsInColumn(const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

}  // namespace

class PlotCanvasTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void linesLandOnWholeDevicePixels() {
        // At the paint box's own size, at twice its size and on a double-density screen, a
        // one-pixel grid line covers exactly the device rows of its plot row, fully dark.
        struct Case {
            int w, h;
            qreal ratio;
            int row;        // device row of plot row 40
            int thickness;  // device rows of a width-1 pen
        };
        for (const Case c :
             {Case{256, 240, 1.0, 40, 1}, Case{512, 480, 1.0, 81, 1}, Case{512, 480, 2.0, 80, 2}}) {
            const QImage image = render(c.w, c.h, c.ratio, [](gc::ui::QtCanvas& canvas) {
                QCOMPARE(canvas.width(), 256);
                QCOMPARE(canvas.height(), 240);
                canvas.fillRect(0, 0, canvas.width(), canvas.height(), kWhite);
                canvas.setPen(kBlack, 1, PenStyle::Solid);
                canvas.moveTo(0, 40);
                canvas.lineTo(canvas.width(), 40);
            });
            // The white fill reaches every edge.
            QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(c.w - 1, c.h - 1), qRgb(255, 255, 255));
            for (int t = 0; t < c.thickness; ++t) {
                QCOMPARE(darkPixelsInRow(image, c.row + t), c.w);
                QCOMPARE(image.pixel(c.w / 2, c.row + t), qRgb(0, 0, 0));
            }
            QCOMPARE(darkPixelsInRow(image, c.row - 1), 0);
            QCOMPARE(darkPixelsInRow(image, c.row + c.thickness), 0);
        }
    }

    void dottedPenLeavesGapsAndColoursAreKept() {
        const QImage image = render(256, 240, 1.0, [](gc::ui::QtCanvas& canvas) {
            canvas.fillRect(0, 0, 256, 240, kWhite);
            canvas.setPen(kBlack, 1, PenStyle::Dotted);
            canvas.moveTo(0, 80);
            canvas.lineTo(256, 80);
            canvas.setPen(kRed, 1, PenStyle::Solid);
            canvas.moveTo(100, 0);
            canvas.lineTo(100, 240);
            canvas.setPen(canvas.activeCaptionColour(), 1, PenStyle::Solid);
            canvas.moveTo(200, 0);
            canvas.lineTo(200, 240);
        });
        const int dots = darkPixelsInRow(image, 80);
        QVERIFY(dots > 40);
        QVERIFY(dots < 200);
        QCOMPARE(image.pixel(100, 120), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(200, 120), qRgb(0, 0, 255));
    }

    void farAwayPointsAreClippedToTheBox() {
        // A zero magnitude has no finite level: its row saturates. The line still runs to the
        // bottom edge, and a cursor at column -1 stays outside the box.
        const QImage image = render(256, 240, 1.0, [](gc::ui::QtCanvas& canvas) {
            canvas.fillRect(0, 0, 256, 240, kWhite);
            canvas.setPen(kBlack, 1, PenStyle::Solid);
            canvas.moveTo(10, 0);
            canvas.lineTo(10, INT_MAX);
            canvas.lineTo(INT_MIN, INT_MIN);
            canvas.moveTo(-1, 0);
            canvas.lineTo(-1, 240);
            canvas.moveTo(256, 0);
            canvas.lineTo(256, 240);
        });
        QCOMPARE(image.pixel(10, 239), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(10, 0), qRgb(0, 0, 0));
        QCOMPARE(darkPixelsInColumn(image, 0), 0);
        QCOMPARE(darkPixelsInColumn(image, 255), 0);
    }

    void paintBoxDrawsAndForwardsTheMouseInPlotPixels() {
        gc::ui::PlotBox box;
        QCOMPARE(box.objectName(), QStringLiteral("CICPBox"));
        box.resize(512, 480);
        int draws = 0;
        box.setDrawFunction([&](gc::response::Canvas& canvas) {
            ++draws;
            canvas.fillRect(0, 0, canvas.width(), canvas.height(), kRed);
        });
        QStringList events;
        box.setMousePressFunction([&](MouseButton b, int x, int y) {
            events << QStringLiteral("down %1 %2 %3")
                          .arg(b == MouseButton::Right ? "R" : "L")
                          .arg(x)
                          .arg(y);
        });
        box.setMouseMoveFunction(
            [&](int x, int y) { events << QStringLiteral("move %1 %2").arg(x).arg(y); });
        box.setMouseReleaseFunction([&](MouseButton b, int x, int y) {
            events << QStringLiteral("up %1 %2 %3")
                          .arg(b == MouseButton::Right ? "R" : "L")
                          .arg(x)
                          .arg(y);
        });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        const QImage shot = box.grab().toImage();
        QVERIFY(draws > 0);
        QCOMPARE(shot.pixelColor(shot.width() - 1, shot.height() - 1), QColor(255, 0, 0));

        QTest::mousePress(&box, Qt::RightButton, {}, QPoint(256, 100));
        QTest::mouseMove(&box, QPoint(300, 479));
        QTest::mouseRelease(&box, Qt::RightButton, {}, QPoint(300, 479));
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(events.value(0), QStringLiteral("down R 128 50"));
        QVERIFY(events.contains(QStringLiteral("move 150 239")));
        QVERIFY(events.contains(QStringLiteral("up R 150 239")));
        QVERIFY(events.contains(QStringLiteral("down L 0 0")));
        QCOMPARE(box.toPlot(QPointF(-3.0, 500.0)), QPoint(-2, 250));
    }

    void axisLabelsStayOnTheirGridLines() {
        gc::ui::PlotPanel panel;
        panel.setFrequencyTexts({QStringLiteral("12.500"), QStringLiteral("25.000"),
                                 QStringLiteral("37.500"), QStringLiteral("50.000")});
        panel.setLevelTexts({QStringLiteral("-20.0"), QStringLiteral("-40.0"),
                             QStringLiteral("-60.0"), QStringLiteral("-80.0"),
                             QStringLiteral("-100.0"), QStringLiteral("-120.0")});
        panel.setAxisTitle(QStringLiteral("F/Fsinp"));
        QStringList releases;
        panel.setMouseReleaseFunction([&](MouseButton b) {
            releases << (b == MouseButton::Right ? QStringLiteral("R") : QStringLiteral("L"));
        });

        for (const QSize size : {panel.minimumSizeHint(), QSize(900, 700)}) {
            panel.resize(size);
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
            const gc::ui::PlotBox* box = panel.plotBox();
            const QRect plot = box->geometry();
            QVERIFY(plot.width() >= 256);
            QVERIFY(plot.height() >= 240);
            QVERIFY(panel.contentsRect().contains(plot));

            const auto label = [&](const char* name) {
                return gc::uitest::child<QLabel>(panel, QString::fromLatin1(name));
            };
            // Level labels centred on rows 0, 40 .. 240, left of the plot.
            const char* levels[] = {"Label9",  "Label11", "Label12", "Label13",
                                    "Label17", "Label18", "Label19"};
            for (int i = 0; i < 7; ++i) {
                const QRect g = label(levels[i])->geometry();
                const int row = plot.top() + i * 40 * plot.height() / 240;
                QVERIFY(qAbs(g.center().y() - row) <= 1);
                QVERIFY(g.right() < plot.left());
                QVERIFY(gc::uitest::showsWholeText(label(levels[i])));
            }
            // MHz labels centred under columns 0, 64 .. 256.
            const char* mhz[] = {"Label20", "Label34", "Label35", "Label36", "Label37"};
            for (int k = 0; k < 5; ++k) {
                const QRect g = label(mhz[k])->geometry();
                const int column = plot.left() + k * 64 * plot.width() / 256;
                QVERIFY(qAbs(g.center().x() - column) <= 1);
                QVERIFY(g.top() > plot.bottom());
                QVERIFY(panel.rect().contains(g));
            }
            // Fractions above columns 64 .. 256, numerator then denominator.
            const char* nums[] = {"Label21", "Label22", "Label23", "Label24"};
            const char* dens[] = {"Label25", "Label43", "Label44", "Label45"};
            for (int j = 0; j < 4; ++j) {
                const QRect n = label(nums[j])->geometry();
                const QRect d = label(dens[j])->geometry();
                const int column = plot.left() + (j + 1) * 64 * plot.width() / 256;
                QVERIFY(n.left() < column && d.right() > column - 1);
                QCOMPARE(n.right() + 1, d.left());
                QVERIFY(d.bottom() < plot.top());
                QVERIFY(panel.rect().contains(d));
            }
            // No two labels overlap.
            const auto labels = panel.findChildren<QLabel*>();
            for (const QLabel* a : labels) {
                for (const QLabel* b : labels) {
                    if (a == b) continue;
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
                }
            }
        }

        // A release on the frame (a label counts as the frame) reaches the handler; one on the
        // paint box does not.
        const QLabel* level = gc::uitest::child<QLabel>(panel, QStringLiteral("Label12"));
        QTest::mouseClick(&panel, Qt::RightButton, {}, level->geometry().center());
        QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseClick(panel.plotBox(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(releases, (QStringList{QStringLiteral("R"), QStringLiteral("L")}));
    }
};

QTEST_MAIN(PlotCanvasTest)
#include "PlotCanvasTest.moc"
