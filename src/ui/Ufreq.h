#pragma once
// TFreq "Ресемплер": a read-only register window; every control is disabled.
#include "app/FreqPresenter.h"
#include "ui/RegisterEditorForm.h"

namespace gc::ui {

class TFreq : public ReadOnlyEditor<gc::app::FreqState> {
    Q_OBJECT
  public:
    TFreq(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
          QWidget* parent = nullptr);
};

}  // namespace gc::ui
