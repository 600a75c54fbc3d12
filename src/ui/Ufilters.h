#pragma once
// TFilters "Filters": the editable register window. A tick or a pick is handed to the presenter,
// which writes that control's bits into the register image and refills; the window then shows
// the state again with signals blocked.
#include "app/FiltersPresenter.h"
#include "ui/RegisterEditorForm.h"

namespace gc::ui {

class TFilters : public RegisterEditorForm {
    Q_OBJECT
  public:
    TFilters(gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
             QWidget* parent = nullptr);

    // Fills every control from the register image, then shows the window.
    void showWindow();
    // The same filling, for the main window while the window's open flag is set.
    void refresh();

    [[nodiscard]] const gc::app::FiltersState& state() const { return presenter_.state(); }

  private:
    gc::app::FiltersPresenter presenter_;
    EditorWidgets<gc::app::FiltersState> widgets_;
};

}  // namespace gc::ui
