#pragma once
// TOutBlock "Выходной блок": a read-only register window; every control is disabled.
#include "app/OutBlockPresenter.h"
#include "ui/RegisterEditorForm.h"

namespace gc::ui {

class TOutBlock : public ReadOnlyEditor<gc::app::OutBlockState> {
    Q_OBJECT
  public:
    TOutBlock(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
              QWidget* parent = nullptr);
};

}  // namespace gc::ui
