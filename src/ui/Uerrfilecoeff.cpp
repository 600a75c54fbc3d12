#include "ui/Uerrfilecoeff.h"

#include <QVBoxLayout>

namespace gc::ui {

TErrFileCoeff::TErrFileCoeff(QWidget* parent) : MessageWindow(parent) {
    setObjectName(QStringLiteral("ErrFileCoeff"));
    setModal(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    setAutoFillBackground(true);

    auto* label1 = addReportLabel("Label1", tr("Файл коэфициентов CFIR"));
    auto* label2 = addReportLabel("Label2", QStringLiteral("cfir_68.taps"));
    auto* label3 = addReportLabel("Label3", tr("отсутствует!"));
    // The file name and the verdict stand indented under the kind of file.
    const int indent = fontMetrics().horizontalAdvance(tr("Файл ")) + 8;
    label2->setIndent(indent);
    label3->setIndent(indent);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(24, 24, 32, 40);
    layout->setSpacing(8);
    layout->addWidget(label1);
    layout->addWidget(label2);
    layout->addWidget(label3);
}

}  // namespace gc::ui
