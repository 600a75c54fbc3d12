#include "ui/Uinfo.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace gc::ui {

TInfo::TInfo(QWidget* parent) : MessageWindow(parent) {
    setObjectName(QStringLiteral("Info"));
    auto* label3 =
        addPlainLabel("Label3", QStringLiteral("Программа для конфигурирования  микросхемы "));
    auto* label4 = addPlainLabel("Label4", QStringLiteral("  GC4016 фирмы \"Texas Instruments\""));
    auto* label1 = addPlainLabel("Label1", QStringLiteral("Конфигуратор GC4016 v2.0, 2026"));
    auto* label2 =
        addPlainLabel("Label2", QStringLiteral("Свободная программа: лицензия MIT, файл LICENSE"));
    auto* label5 =
        addPlainLabel("Label5", QStringLiteral("Об ошибках сообщайте в трекер задач проекта"));
    auto* button1 = new QPushButton(QStringLiteral("ОК"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setDefault(true);
    connect(button1, &QPushButton::clicked, this, &TInfo::close);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(8);
    layout->addWidget(label3, 0, Qt::AlignHCenter);
    layout->addWidget(label4, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(label1, 0, Qt::AlignHCenter);
    layout->addWidget(label2, 0, Qt::AlignHCenter);
    layout->addWidget(label5, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(button1, 0, Qt::AlignHCenter);
}

}  // namespace gc::ui
