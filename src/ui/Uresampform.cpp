#include "ui/Uresampform.h"

namespace gc::ui {

TResampForm::TResampForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Resamp, session, ui, parent) {}

}  // namespace gc::ui
