#include "ui/Ucic5form.h"

namespace gc::ui {

TCIC5Form::TCIC5Form(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Cic, session, ui, parent) {}

}  // namespace gc::ui
