#pragma once
// Panel5: the lowered frame around the channel plot. It holds the paint box CICPBox and the
// axis labels, and keeps each label on the grid line it names whatever size the plot takes:
// the level labels at rows 0, 40 .. 240 on the left, the fractions of the input rate at
// columns 64 .. 256 on top, and the frequencies in MHz at columns 0, 64 .. 256 below.
#include <QFrame>
#include <array>
#include <functional>

#include "ui/PlotBox.h"

class QLabel;

class QMenu;

namespace gc::ui {

// Control names of the frame and its labels; the defaults are those of the main window's plot.
// The stage response windows lay out the same frame under their own names (Panel2 ...).
struct PlotPanelNames {
    const char* frame{"Panel5"};
    const char* dbTitle{"Label10"};
    std::array<const char*, 7> levels{"Label9",  "Label11", "Label12", "Label13",
                                      "Label17", "Label18", "Label19"};  // rows 0, 40 .. 240
    const char* axisTitle{"Label38"};
    std::array<const char*, 4> numerators{"Label21", "Label22", "Label23", "Label24"};
    std::array<const char*, 4> denominators{"Label25", "Label43", "Label44", "Label45"};
    std::array<const char*, 5> frequencies{"Label20", "Label34", "Label35", "Label36",
                                           "Label37"};  // columns 0, 64 .. 256
    const char* mhzTitle{"Label33"};
};

class PlotPanel : public QFrame {
    Q_OBJECT
  public:
    using ReleaseFn = std::function<void(MouseButton button)>;

    explicit PlotPanel(QWidget* parent = nullptr);
    explicit PlotPanel(const PlotPanelNames& names, QWidget* parent = nullptr);

    [[nodiscard]] PlotBox* plotBox() const { return box_; }
    // Mouse button released on the frame outside the paint box.
    void setMouseReleaseFunction(ReleaseFn f) { release_ = std::move(f); }
    // The plot's own menu, opened by a right-button release on the frame (after the release
    // has done its work), at a global position. Also `showPlotMenu`.
    void setMenu(QMenu* menu) { menu_ = menu; }
    [[nodiscard]] QMenu* menu() const { return menu_; }

    // Axis texts as the plot drawing produces them (rows 40..240, top denominators of columns
    // 64..256, MHz of columns 64..256, axis title).
    void setLevelTexts(const std::array<QString, 6>& texts);
    void setDenominatorTexts(const std::array<QString, 4>& texts);
    void setFrequencyTexts(const std::array<QString, 4>& texts);
    void setAxisTitle(const QString& text);
    // The unit of the bottom axis (Label33: "MHz", "kHz", "Hz").
    void setFrequencyUnit(const QString& text);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Margins {
        int left;
        int top;
        int right;
        int bottom;
    };
    [[nodiscard]] Margins plotMargins() const;
    void placeLabels();
    QLabel* makeLabel(const char* name, const QString& text, Qt::Alignment alignment);

    PlotBox* box_;
    QLabel* dbTitle_;                        // Label10 "dB"
    std::array<QLabel*, 7> levels_{};        // Label9, Label11, 12, 13, 17, 18, 19: rows 0..240
    QLabel* axisTitle_;                      // Label38
    std::array<QLabel*, 4> numerators_{};    // Label21..Label24
    std::array<QLabel*, 4> denominators_{};  // Label25, Label43, Label44, Label45
    std::array<QLabel*, 5> frequencies_{};   // Label20, Label34..Label37: columns 0..256
    QLabel* mhzTitle_;                       // Label33 "MHz"
    ReleaseFn release_;
    QMenu* menu_{nullptr};
};

}  // namespace gc::ui
