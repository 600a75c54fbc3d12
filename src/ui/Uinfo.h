#pragma once
// TInfo: the about box. Non-modal; "ОК" closes it. Below the program's lines it offers the
// interface language (LanguageBox), which takes effect at the next start.
#include <functional>

#include "model/Language.h"
#include "ui/MessageWindow.h"

namespace gc::ui {

class TInfo : public MessageWindow {
    Q_OBJECT
  public:
    explicit TInfo(QWidget* parent = nullptr);

    // Called with the language the user picks in LanguageBox.
    void setLanguageHandler(std::function<void(gc::model::Language)> handler);

  private:
    std::function<void(gc::model::Language)> languageHandler_;
};

}  // namespace gc::ui
