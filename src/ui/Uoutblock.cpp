#include "ui/Uoutblock.h"

namespace gc::ui {

TOutBlock::TOutBlock(const gc::chip::RegisterImage& image,
                     const gc::model::ConfigurationModel& model, QWidget* parent)
    : ReadOnlyEditor(gc::app::outBlockLayout(), image, model, parent) {}

}  // namespace gc::ui
