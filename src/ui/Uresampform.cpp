#include "ui/Uresampform.h"

#include "ui/Application.h"

namespace gc::ui {

TResampForm::TResampForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent)
    : StageForm(gc::response::StageKind::Resamp, session, ui, parent) {}

namespace {

const bool kRegistered =
    registerStageForm(WindowOrder::ResampForm, [](gc::app::Session& session, gc::app::UiPort& ui) {
        return std::unique_ptr<StageForm>(std::make_unique<TResampForm>(session, ui));
    });

}  // namespace

}  // namespace gc::ui
