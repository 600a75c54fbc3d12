#pragma once
// TSync "Синхронизация": a read-only register window; every control is disabled. It has no
// open flag: it is filled when shown, not refreshed while open.
#include "app/SyncPresenter.h"
#include "ui/RegisterEditorForm.h"

namespace gc::ui {

class TSync : public ReadOnlyEditor<gc::app::SyncState> {
    Q_OBJECT
  public:
    TSync(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
          QWidget* parent = nullptr);
};

}  // namespace gc::ui
