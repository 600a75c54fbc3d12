#include "ui/Uerrresamp.h"

#include <QVBoxLayout>

namespace gc::ui {

// Above the main window as its dialog, not above other programs: the report belongs to this
// program's windows.
TErrResamp::TErrResamp(QWidget* parent) : MessageWindow(parent) {
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
