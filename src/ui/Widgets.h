#pragma once
// Small controls of the main window: a read-only value panel with the three background colours
// the program uses, and a push button sized to its caption.
#include <QLabel>
#include <QPushButton>

namespace gc::ui {

enum class PanelColour { ButtonFace, White, Red, Green, Met, Failed };

// A sunken panel showing one value. Its background is the button face, white (an active file
// name), red (an invalid value), green, or the light tints of a limit met or failed, under
// dark text of the same hue so that the figure stays readable.
class ValuePanel : public QLabel {
    Q_OBJECT
  public:
    // `sample` is the widest text the panel is expected to show; it sets the width it asks for.
    ValuePanel(const QString& name, const QString& sample, QWidget* parent = nullptr);

    void setColour(PanelColour colour);
    [[nodiscard]] PanelColour colour() const { return colour_; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

  private:
    PanelColour colour_{PanelColour::ButtonFace};
    QString sample_;
};

// A push button as wide as its caption needs (the style's usual minimum width is meant for
// dialog buttons and would make "+1" or "*2" as wide as "Cancel").
class CompactButton : public QPushButton {
    Q_OBJECT
  public:
    CompactButton(const QString& name, const QString& text, QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
};

}  // namespace gc::ui
