#include "ui/RegisterEditorForm.h"

#include <QCloseEvent>

#include "ui/WindowPlacement.h"

namespace gc::ui {

RegisterEditorForm::RegisterEditorForm(const QString& caption, bool staysOnTop, QWidget* parent)
    : QWidget(parent) {
    // "Stays on top" means above the main window: a tool window of the main window stays above
    // it and is hidden while it is minimised, but never covers other programs or the
    // program's own dialogs and message windows. Without a main window it is a window of its
    // own.
    (void)staysOnTop;
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setWindowTitle(caption);
}

void RegisterEditorForm::closeEvent(QCloseEvent* event) {
    if (closeHandler_) closeHandler_();
    event->accept();
}

void RegisterEditorForm::showNonModal() { bringUp(this); }

}  // namespace gc::ui
