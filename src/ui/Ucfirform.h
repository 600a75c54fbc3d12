#pragma once
// TCFIRForm, "CFIR Фильтр": the CFIR's response against its input rate, with the alias view of the
// decimation by two that follows it. It stays on top of the main window; closing it clears
// its open flag.
#include "ui/StageForm.h"

namespace gc::ui {

class TCFIRForm final : public StageForm {
    Q_OBJECT
  public:
    TCFIRForm(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent = nullptr);
};

}  // namespace gc::ui
