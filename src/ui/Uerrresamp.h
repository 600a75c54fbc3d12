#pragma once
// TErrResamp: the resampler settings are inconsistent, the save is refused. Stays on top.
#include "ui/MessageWindow.h"

namespace gc::ui {

class TErrResamp : public MessageWindow {
    Q_OBJECT
  public:
    explicit TErrResamp(QWidget* parent = nullptr);
};

}  // namespace gc::ui
