#pragma once
// The menu of a response plot: "Сохранить изображение..." (PNG, or SVG by the name's
// extension), "Сохранить данные..." (the plot's arrays as CSV) and "Копировать" (the picture to
// the clipboard). The picture is the plot's frame with its axis labels.
#include <QImage>
#include <QMenu>
#include <functional>
#include <string>

namespace gc::ui {

class PlotMenu final : public QMenu {
    Q_OBJECT
  public:
    // Asks for the name of a file to write: caption, name filter; empty for cancel.
    using Chooser = std::function<QString(const QString& caption, const QString& filter)>;
    // The CSV text of the plot as it stands.
    using DataFn = std::function<std::string()>;

    // `picture`: the widget drawn into the file or the clipboard. Without `data` the menu has
    // no "Сохранить данные...".
    PlotMenu(QWidget* picture, DataFn data, QWidget* parent);

    // Replaces the file dialog (tests, scripted runs).
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // The picture as an image, at the widget's size.
    [[nodiscard]] QImage image() const;
    // Writes the picture: SVG when `path` ends in ".svg", PNG otherwise. False when the file
    // could not be written.
    [[nodiscard]] bool savePicture(const QString& path) const;
    // Writes the CSV text, replacing the file atomically. False when it could not be written.
    [[nodiscard]] bool saveData(const QString& path) const;
    void copyPicture() const;

  private:
    void askAndSavePicture();
    void askAndSaveData();
    QString choose(const QString& caption, const QString& filter) const;

    QWidget* picture_;
    DataFn data_;
    Chooser chooser_;
};

}  // namespace gc::ui
