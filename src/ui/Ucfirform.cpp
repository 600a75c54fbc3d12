#include "ui/Ucfirform.h"

namespace gc::ui {

TCFIRForm::TCFIRForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Cfir, session, ui, parent) {}

}  // namespace gc::ui
