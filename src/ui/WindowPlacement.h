#pragma once
// The size and place of the program's windows, kept between runs in the user's settings
// (QSettings, group "windows/<objectName>") and brought back inside the visible screen. A
// window without a kept place comes up beside the main window.
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace gc::ui {

// Screen rectangle on which `window` is to be kept (the available geometry of the screen under
// its centre, else the primary one).
[[nodiscard]] QRect visibleArea(const QWidget* window);

// Watches one window: on its first show it takes its kept geometry (or a place beside `main`,
// `slot` stepping windows opened one after another), and every hide or move/resize while
// shown stores the geometry. `main` null: the window is the main window and, without a kept
// place, is centred on the screen.
class WindowPlacement final : public QObject {
    Q_OBJECT
  public:
    WindowPlacement(QWidget* window, QWidget* main, int slot);

    // Stores the window's geometry now.
    void save() const;
    // The key under which the window's geometry is kept.
    [[nodiscard]] QString key() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    QWidget* window_;
    QPointer<QWidget> main_;
    int slot_;
    bool placed_{false};
};

// Un-minimises `window`, shows it, raises it and gives it the focus: what the action that opens
// a window does when the window is open, hidden or minimised.
void bringUp(QWidget* window);

}  // namespace gc::ui
