#pragma once
// The plot of the design and simulation windows with its axis texts: levels left of rows
// 0, 40 .. 240, frequencies under columns 0, 64 .. 256, each kept on its grid line whatever
// size the plot takes; the level unit above the levels, the frequency title under the plot.
#include <QSize>
#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

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
    // Takes the plot and the titles as its children; makes the axis labels "LabelLevel0" ..
    // "LabelLevel6" and "LabelFrequency0" .. "LabelFrequency4".
    PlotFrame(PlotBox* box, QLabel* levelTitle, QLabel* frequencyTitle, PlotFrameMetrics metrics,
              QWidget* parent);

    // The axis texts, top to bottom and left to right; labels without a text are left empty.
    void setAxisTexts(const std::vector<std::string>& levels,
                      const std::vector<std::string>& frequencies);

    [[nodiscard]] QSize sizeHint() const override { return metrics_.hint; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    PlotBox* box_;
    std::array<QLabel*, 7> levels_{};
    std::array<QLabel*, 5> frequencies_{};
    QLabel* levelTitle_;
    QLabel* frequencyTitle_;
    PlotFrameMetrics metrics_;
};

}  // namespace gc::ui
