#include "ui/Ufreq.h"

namespace gc::ui {

TFreq::TFreq(const gc::chip::RegisterImage& image, const gc::model::ConfigurationModel& model,
             QWidget* parent)
    : ReadOnlyEditor(gc::app::freqLayout(), image, model, parent) {}

}  // namespace gc::ui
