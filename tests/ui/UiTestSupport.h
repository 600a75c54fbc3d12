#pragma once
// Helpers shared by the Qt Test files of the window layer.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <functional>

namespace gc::uitest {

// The tests never read or write the user's settings: window places are kept in a folder of
// their own for the run, removed when the test ends.
inline void useTemporarySettings() {
    static QTemporaryDir folder;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}
Q_COREAPP_STARTUP_FUNCTION(useTemporarySettings)

// The child named `name` of type W; fails the test when there is none.
template <class W>
W* child(const QWidget& window, const QString& name) {
    W* w = window.findChild<W*>(name);
    if (w == nullptr) {
        QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(name)), __FILE__, __LINE__);
    }
    return w;
}

// Runs `onModal` once a modal dialog is up (from inside its exec loop), then closes it unless
// the callback did.
inline void whenModalShown(std::function<void(QWidget*)> onModal) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, onModal] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        onModal(modal);
        if (!modal->isVisible()) return;  // the callback answered it
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected);
        } else {
            modal->close();
        }
    });
    timer->start();
}

// True when the label shows its whole text in one line at its current size.
inline bool showsWholeText(const QLabel* label) {
    const int needed =
        label->fontMetrics().horizontalAdvance(label->text()) + std::max(0, label->indent());
    return label->isVisible() && label->contentsRect().width() >= needed &&
           label->contentsRect().height() >= label->fontMetrics().height();
}

}  // namespace gc::uitest
