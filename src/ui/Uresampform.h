#pragma once
// TResampForm, "RESAMPLER Фильтр": the resampler's prototype filter against its input rate, without
// an alias view. It stays on top of the main window; closing it clears
// its open flag.
#include "ui/StageForm.h"

namespace gc::ui {

class TResampForm final : public StageForm {
    Q_OBJECT
  public:
    TResampForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent = nullptr);
};

}  // namespace gc::ui
