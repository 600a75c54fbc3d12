#include "ui/MessageWindow.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

namespace gc::ui {

MessageWindow::MessageWindow(QWidget* parent, bool stayOnTop) : QDialog(parent) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (stayOnTop) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(QString());
}

QLabel* MessageWindow::addReportLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    labels_.push_back(label);
    return label;
}

QLabel* MessageWindow::addPlainLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    labels_.push_back(label);
    return label;
}

void MessageWindow::setTexts(const QStringList& texts) {
    const std::size_t n = std::min(labels_.size(), std::size_t(texts.size()));
    for (std::size_t i = 0; i < n; ++i) labels_[i]->setText(texts[qsizetype(i)]);
}

void MessageWindow::showEvent(QShowEvent* event) {
    if (layout()) layout()->activate();
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

}  // namespace gc::ui
