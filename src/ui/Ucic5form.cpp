#include "ui/Ucic5form.h"

#include "ui/Application.h"

namespace gc::ui {

TCIC5Form::TCIC5Form(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Cic, session, ui, parent) {}

namespace {

const bool kRegistered =
    registerStageForm(WindowOrder::Cic5Form, [](gc::app::Session& session, gc::app::UiPort& ui) {
        return std::unique_ptr<StageForm>(std::make_unique<TCIC5Form>(session, ui));
    });

}  // namespace

}  // namespace gc::ui
