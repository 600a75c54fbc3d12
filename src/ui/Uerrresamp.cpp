#include "ui/Uerrresamp.h"

#include <QVBoxLayout>

namespace gc::ui {

TErrResamp::TErrResamp(QWidget* parent) : MessageWindow(parent, /*stayOnTop=*/true) {
    setObjectName(QStringLiteral("ErrResamp"));
    auto* label1 = addReportLabel("Label1", tr("Установки  Resampler-фильтра"));
    auto* label3 = addReportLabel("Label3", tr("не корректны !"));
    auto* label2 = addReportLabel("Label2", tr("Файл не может быть записан!"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(24, 16, 24, 24);
    layout->setSpacing(6);
    layout->addWidget(label1, 0, Qt::AlignHCenter);
    layout->addWidget(label3, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(label2, 0, Qt::AlignHCenter);
}

}  // namespace gc::ui
