#include "ui/Upfirform.h"

namespace gc::ui {

TPFIRForm::TPFIRForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Pfir, session, ui, parent) {}

}  // namespace gc::ui
