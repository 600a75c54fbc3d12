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

    // Several reports in one window: a heading over one line per file ("Файл конфигурации
    // CONFIGS/std.trv отсутствует!"). An empty list brings back the single report of the
    // three lines.
    void setReportList(const QStringList& lines);

  private:
    QLabel* label2_{};
    QLabel* label3_{};
    QLabel* list_{};
    QString label1Text_;  // the single report's first line, kept while a list is shown
    bool listing_{false};
};

}  // namespace gc::ui
