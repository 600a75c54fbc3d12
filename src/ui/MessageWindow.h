#pragma once
// What the fixed report windows and the about box share: a dialog without title text whose
// only border icon is the system menu with its close box, sized by its layout to the texts it
// holds, and centred on the desktop each time it is shown.
#include <QDialog>
#include <QLabel>
#include <vector>

namespace gc::ui {

class MessageWindow : public QDialog {
    Q_OBJECT
  public:
    // `stayOnTop` keeps the window above the others.
    explicit MessageWindow(QWidget* parent, bool stayOnTop = false);

    // The label texts from top to bottom (left to right within a line), as the callers give
    // them; texts beyond the window's labels are ignored, missing ones leave a label as it is.
    void setTexts(const QStringList& texts);

  protected:
    // A report label: bold, red, named `name`, with its design-time text. Labels are added in
    // reading order.
    QLabel* addReportLabel(const char* name, const QString& text);
    // A plain label in the window font and window-text colour.
    QLabel* addPlainLabel(const char* name, const QString& text);

    void showEvent(QShowEvent* event) override;

  private:
    std::vector<QLabel*> labels_;  // in reading order
};

}  // namespace gc::ui
