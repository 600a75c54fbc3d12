#include "ui/Uerrdecim.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace gc::ui {

TErrDecim::TErrDecim(QWidget* parent) : MessageWindow(parent) {
    setObjectName(QStringLiteral("ErrDecim"));
    auto* label1 = addReportLabel("Label1", tr("Минимальный коэффициент децимации CIC-фильтра"));
    auto* label3 = addReportLabel("Label3", tr("в этом режиме   равен"));
    // Label4 is set before each showing to the least decimation of the output mode.
    auto* label4 = addReportLabel("Label4", QStringLiteral(" 2"));
    auto* label2 = addReportLabel("Label2", tr("Файл не может быть записан!"));

    auto* valueRow = new QHBoxLayout;
    valueRow->setSpacing(fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    valueRow->addStretch(1);
    valueRow->addWidget(label3);
    valueRow->addWidget(label4);
    valueRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 16, 12, 24);
    layout->setSpacing(10);
    layout->addWidget(label1, 0, Qt::AlignHCenter);
    layout->addLayout(valueRow);
    layout->addWidget(label2, 0, Qt::AlignHCenter);
}

}  // namespace gc::ui
