#include "ui/Uerrequaldecim.h"

#include <QVBoxLayout>

namespace gc::ui {

TErrEqualDecim::TErrEqualDecim(QWidget* parent) : MessageWindow(parent) {
    setObjectName(QStringLiteral("ErrEqualDecim"));
    auto* label1 = addReportLabel("Label1", tr("В синхронном режиме вывода"));
    auto* label3 = addReportLabel("Label3", tr("коэффициенты  децимации каналов"));
    auto* label4 = addReportLabel("Label4", tr(" должны быть одинаковыми!"));
    auto* label2 = addReportLabel("Label2", tr("Файл не может быть записан!"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 12, 16, 24);
    layout->setSpacing(8);
    layout->addWidget(label1, 0, Qt::AlignHCenter);
    layout->addWidget(label3, 0, Qt::AlignHCenter);
    layout->addWidget(label4, 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(label2, 0, Qt::AlignHCenter);
}

}  // namespace gc::ui
