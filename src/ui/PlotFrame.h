#pragma once
// The plot of the design and simulation windows with its axis texts: levels left of rows
// 0, 40 .. 240, frequencies under columns 0, 64 .. 256, each kept on its grid line whatever
// size the plot takes; the level unit above the levels, the frequency title under the plot.
#include <QSize>
#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace gc::ui {

class PlotBox;

// The widest texts the axes are expected to show (they set the margins) and the sizes the
// frame asks for.
struct PlotFrameMetrics {
    QString widestLevel;
    QString widestFrequency;
    QSize minimum;
    QSize hint;
};

class PlotFrame final : public QWidget {
  public:
    // Takes the plot and the labels as its children; the arrays stay the window's, which
    // sets their texts.
    PlotFrame(PlotBox* box, std::array<QLabel*, 7>& levels, std::array<QLabel*, 5>& frequencies,
              QLabel* levelTitle, QLabel* frequencyTitle, PlotFrameMetrics metrics,
              QWidget* parent);

    [[nodiscard]] QSize sizeHint() const override { return metrics_.hint; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    PlotBox* box_;
    std::array<QLabel*, 7>& levels_;
    std::array<QLabel*, 5>& frequencies_;
    QLabel* levelTitle_;
    QLabel* frequencyTitle_;
    PlotFrameMetrics metrics_;
};

}  // namespace gc::ui
