#include "ui/RegisterEditorForm.h"

#include <QCloseEvent>

namespace gc::ui {

RegisterEditorForm::RegisterEditorForm(const QString& caption, bool staysOnTop, QWidget* parent)
    : QWidget(parent) {
    Qt::WindowFlags flags = Qt::Window;
    if (staysOnTop) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(caption);
}

void RegisterEditorForm::closeEvent(QCloseEvent* event) {
    if (closeHandler_) closeHandler_();
    event->accept();
}

void RegisterEditorForm::showNonModal() {
    show();
    raise();
    activateWindow();
}

}  // namespace gc::ui
