#pragma once
// TErrDecim: the save is refused because a CIC decimation is below the output mode's minimum.
#include "ui/MessageWindow.h"

namespace gc::ui {

class TErrDecim : public MessageWindow {
    Q_OBJECT
  public:
    explicit TErrDecim(QWidget* parent = nullptr);
};

}  // namespace gc::ui
