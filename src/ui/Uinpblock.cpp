#include "ui/Uinpblock.h"

namespace gc::ui {

TInpBlock::TInpBlock(const gc::chip::RegisterImage& image,
                     const gc::model::ConfigurationModel& model, QWidget* parent)
    : ReadOnlyEditor(gc::app::inpBlockLayout(), image, model, parent) {}

}  // namespace gc::ui
