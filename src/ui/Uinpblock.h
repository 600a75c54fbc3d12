#pragma once
// TInpBlock "Входной блок": a read-only register window; every control is disabled.
#include "app/InpBlockPresenter.h"
#include "ui/RegisterEditorForm.h"

namespace gc::ui {

class TInpBlock : public ReadOnlyEditor<gc::app::InpBlockState> {
    Q_OBJECT
  public:
    TInpBlock(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
              QWidget* parent = nullptr);
};

}  // namespace gc::ui
