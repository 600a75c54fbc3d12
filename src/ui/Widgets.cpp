#include "ui/Widgets.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>

namespace gc::ui {

ValuePanel::ValuePanel(const QString& name, const QString& sample, QWidget* parent)
    : QLabel(parent), sample_(sample) {
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setColour(PanelColour::ButtonFace);
}

void ValuePanel::setColour(PanelColour colour) {
    colour_ = colour;
    QPalette p = palette();
    switch (colour) {
        case PanelColour::ButtonFace:
            p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
            p.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
            break;
        case PanelColour::White:
            p.setColor(QPalette::Window, QColor(255, 255, 255));
            p.setColor(QPalette::WindowText, QColor(0, 0, 0));
            break;
        case PanelColour::Red:
            p.setColor(QPalette::Window, QColor(255, 0, 0));
            p.setColor(QPalette::WindowText, QColor(0, 0, 0));
            break;
        case PanelColour::Green:
            p.setColor(QPalette::Window, QColor(0, 255, 0));
            p.setColor(QPalette::WindowText, QColor(0, 0, 0));
            break;
        case PanelColour::Met:
            p.setColor(QPalette::Window, QColor(212, 240, 212));
            p.setColor(QPalette::WindowText, QColor(0, 80, 0));
            break;
        case PanelColour::Failed:
            p.setColor(QPalette::Window, QColor(255, 222, 222));
            p.setColor(QPalette::WindowText, QColor(150, 0, 0));
            break;
    }
    setPalette(p);
}

QSize ValuePanel::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int textWidth = std::max(fm.horizontalAdvance(sample_), fm.horizontalAdvance(text()));
    const int frame = 2 * frameWidth();
    return {textWidth + frame + 2 * fm.averageCharWidth(), fm.height() + frame + 6};
}

QSize ValuePanel::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int frame = 2 * frameWidth();
    return {fm.horizontalAdvance(sample_) + frame + 4, fm.height() + frame + 6};
}

CompactButton::CompactButton(const QString& name, const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setObjectName(name);
    setAutoDefault(false);
}

QSize CompactButton::sizeHint() const {
    const QSize standard = QPushButton::sizeHint();
    const QFontMetrics fm = fontMetrics();
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) +
                       2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int width = fm.horizontalAdvance(text()) + margin + 2 * fm.averageCharWidth();
    return {std::min(standard.width(), std::max(width, standard.height())), standard.height()};
}

QSize CompactButton::minimumSizeHint() const { return sizeHint(); }

}  // namespace gc::ui
