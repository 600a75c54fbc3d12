#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "app/WindowGeometry.h"

namespace gc::ui {
namespace {

using gc::app::ScreenRect;

ScreenRect toScreen(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

QRect visibleArea(const QWidget* window) {
    const QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (screen == nullptr) screen = window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

WindowPlacement::WindowPlacement(QWidget* window, QWidget* main, int slot)
    : QObject(window), window_(window), main_(main), slot_(slot) {
    window->installEventFilter(this);
}

QString WindowPlacement::key() const {
    return QStringLiteral("windows/%1/geometry").arg(window_->objectName());
}

void WindowPlacement::save() const {
    QSettings settings;
    settings.setValue(key(), window_->saveGeometry());
}

void WindowPlacement::place() {
    QSettings settings;
    const QByteArray kept = settings.value(key()).toByteArray();
    if (!kept.isEmpty() && window_->restoreGeometry(kept)) {
        // A screen that has gone or shrunk since: bring the window back into view.
        const ScreenRect inside =
            gc::app::keepInside(toScreen(window_->geometry()), toScreen(visibleArea(window_)));
        window_->setGeometry(inside.x, inside.y, inside.width, inside.height);
        return;
    }
    const QSize size = window_->size().expandedTo(window_->sizeHint());
    if (main_ == nullptr) {
        const QRect area = visibleArea(window_);
        const QSize bounded = size.boundedTo(area.size());
        QRect r(QPoint(), bounded);
        r.moveCenter(area.center());
        window_->setGeometry(r);
        return;
    }
    // Placement works on frames (title bar and borders included), taken to be those of the main
    // window, so that no frame overlaps another.
    const QRect mainFrame = main_->frameGeometry();
    const QRect mainClient = main_->geometry();
    const QPoint offset = mainClient.topLeft() - mainFrame.topLeft();
    const QSize margins = mainFrame.size() - mainClient.size();
    gc::app::PlacementScene scene;
    scene.screen = toScreen(visibleArea(main_));
    scene.main = toScreen(mainFrame);
    if (const auto* plot = main_->findChild<QWidget*>(QStringLiteral("Panel5")))
        scene.plot = toScreen(QRect(plot->mapToGlobal(QPoint(0, 0)), plot->size()));
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window_ || other == main_ || !other->isVisible()) continue;
        if (other->findChild<WindowPlacement*>(QString(), Qt::FindDirectChildrenOnly) == nullptr)
            continue;
        scene.open.push_back(toScreen(other->frameGeometry()));
    }
    const QSize least = window_->minimumSize().expandedTo(window_->minimumSizeHint());
    const ScreenRect r = gc::app::placeToolWindow(
        scene, size.width() + margins.width(), size.height() + margins.height(), slot_,
        least.width() + margins.width(), least.height() + margins.height());
    window_->setGeometry(r.x + offset.x(), r.y + offset.y(), r.width - margins.width(),
                         r.height - margins.height());
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::Show:
                if (!placed_) {
                    placed_ = true;
                    place();
                }
                break;
            case QEvent::Hide:
            case QEvent::Close:
                if (placed_) save();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void bringUp(QWidget* window) {
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace gc::ui
