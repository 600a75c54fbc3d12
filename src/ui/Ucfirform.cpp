#include "ui/Ucfirform.h"

#include "ui/Application.h"

namespace gc::ui {

TCFIRForm::TCFIRForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Cfir, session, ui, parent) {}

namespace {

const bool kRegistered =
    registerStageForm(WindowOrder::CfirForm, [](gc::app::Session& session, gc::app::UiPort& ui) {
        return std::unique_ptr<StageForm>(std::make_unique<TCFIRForm>(session, ui));
    });

}  // namespace

}  // namespace gc::ui
