#pragma once
// TErrEqualDecim: in synchronous output the channels' decimations must be equal; the save is
// refused.
#include "ui/MessageWindow.h"

namespace gc::ui {

class TErrEqualDecim : public MessageWindow {
    Q_OBJECT
  public:
    explicit TErrEqualDecim(QWidget* parent = nullptr);
};

}  // namespace gc::ui
