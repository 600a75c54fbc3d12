#pragma once
// TInfo: the about box. Non-modal; "ОК" closes it.
#include "ui/MessageWindow.h"

namespace gc::ui {

class TInfo : public MessageWindow {
    Q_OBJECT
  public:
    explicit TInfo(QWidget* parent = nullptr);
};

}  // namespace gc::ui
