#pragma once
// TCIC5Form, "CIC Фильтр": the CIC5 decimator's response against the clock, with the alias view
// that overlays the D segments folding onto the output band. An ordinary window: it does not stay
// on top, and once opened it stays flagged open (its open flag) after it is closed.
#include "ui/StageForm.h"

namespace gc::ui {

class TCIC5Form final : public StageForm {
    Q_OBJECT
  public:
    TCIC5Form(gc::app::Session& session, gc::app::UiPort& ui, QWidget* parent = nullptr);
};

}  // namespace gc::ui
