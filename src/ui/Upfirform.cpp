#include "ui/Upfirform.h"

#include "ui/Application.h"

namespace gc::ui {

TPFIRForm::TPFIRForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Pfir, session, ui, parent) {}

namespace {

const bool kRegistered =
    registerStageForm(WindowOrder::PfirForm, [](gc::app::Session& session, gc::app::UiPort& ui) {
        return std::unique_ptr<StageForm>(std::make_unique<TPFIRForm>(session, ui));
    });

}  // namespace

}  // namespace gc::ui
