#include "ui/PlotMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>

#include "model/TextFile.h"
#include "ui/ProgramInfo.h"

namespace gc::ui {

PlotMenu::PlotMenu(QWidget* picture, DataFn data, QWidget* parent)
    : QMenu(parent), picture_(picture), data_(std::move(data)) {
    setObjectName(QStringLiteral("PlotMenu"));
    QAction* savePicture = addAction(tr("Сохранить изображение..."));
    savePicture->setObjectName(QStringLiteral("SavePicture"));
    connect(savePicture, &QAction::triggered, this, &PlotMenu::askAndSavePicture);
    if (data_) {
        QAction* saveData = addAction(tr("Сохранить данные..."));
        saveData->setObjectName(QStringLiteral("SaveData"));
        connect(saveData, &QAction::triggered, this, &PlotMenu::askAndSaveData);
    }
    QAction* copy = addAction(tr("Копировать"));
    copy->setObjectName(QStringLiteral("CopyPicture"));
    connect(copy, &QAction::triggered, this, &PlotMenu::copyPicture);
}

QImage PlotMenu::image() const {
    QImage image(picture_->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(picture_->palette().color(QPalette::Window));
    QPainter painter(&image);
    picture_->render(&painter);
    return image;
}

bool PlotMenu::savePicture(const QString& path) const {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(picture_->size());
        svg.setViewBox(QRect(QPoint(), picture_->size()));
        svg.setTitle(windowTitle());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        picture_->render(&painter);
        return painter.end();
    }
    return image().save(path, "PNG");
}

bool PlotMenu::saveData(const QString& path) const {
    if (!data_) return false;
    return static_cast<bool>(gc::model::writeFileAtomically(path.toStdString(), data_()));
}

void PlotMenu::copyPicture() const { QApplication::clipboard()->setImage(image()); }

QString PlotMenu::choose(const QString& caption, const QString& filter) const {
    if (chooser_) return chooser_(caption, filter);
    return QFileDialog::getSaveFileName(parentWidget(), caption, QString(), filter);
}

void PlotMenu::askAndSavePicture() {
    QString path =
        choose(tr("Сохранить изображение"), tr("Изображение PNG (*.png);;Изображение SVG (*.svg)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!savePicture(path))
        QMessageBox::warning(parentWidget(), programTitle(),
                             tr("Файл %1 не может быть записан!").arg(path));
}

void PlotMenu::askAndSaveData() {
    QString path = choose(tr("Сохранить данные"), tr("Таблица CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
    if (!saveData(path))
        QMessageBox::warning(parentWidget(), programTitle(),
                             tr("Файл %1 не может быть записан!").arg(path));
}

}  // namespace gc::ui
