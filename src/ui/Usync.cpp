#include "ui/Usync.h"

namespace gc::ui {

TSync::TSync(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
             QWidget* parent)
    : ReadOnlyEditor(gc::app::syncLayout(), image, model, parent) {}

}  // namespace gc::ui
