#pragma once
// TErrFileCoeff: the one reusable report of a missing or damaged file. Every caller sets all
// three lines (what kind of file, its path, "отсутствует!" or "поврежден!") with setTexts and
// shows it modally.

#include "ui/MessageWindow.h"

namespace gc::ui {

class TErrFileCoeff : public MessageWindow {
    Q_OBJECT
  public:
    explicit TErrFileCoeff(QWidget* parent = nullptr);
};

}  // namespace gc::ui
