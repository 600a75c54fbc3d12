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
    label2_ = label2;
    label3_ = label3;
    // Not one of the report's three lines: setTexts never reaches it.
    list_ = new QLabel(this);
    list_->setObjectName(QStringLiteral("LabelList"));
    list_->setTextFormat(Qt::PlainText);
    list_->setFont(label1->font());
    list_->setPalette(label1->palette());
    list_->hide();
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
    layout->addWidget(list_);
}

void TErrFileCoeff::setReportList(const QStringList& lines) {
    auto* label1 = findChild<QLabel*>(QStringLiteral("Label1"));
    const bool listing = !lines.isEmpty();
    if (listing && !listing_) label1Text_ = label1->text();
    if (listing) {
        label1->setText(tr("Не удалось прочитать файлы:"));
        list_->setText(lines.join(QLatin1Char('\n')));
    } else if (listing_) {
        label1->setText(label1Text_);
    }
    listing_ = listing;
    label2_->setVisible(!listing);
    label3_->setVisible(!listing);
    list_->setVisible(listing);
}

}  // namespace gc::ui
