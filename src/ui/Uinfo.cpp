#include "ui/Uinfo.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace gc::ui {

TInfo::TInfo(QWidget* parent) : MessageWindow(parent) {
    setObjectName(QStringLiteral("Info"));
    auto* label3 = addPlainLabel("Label3", tr("Программа для конфигурирования  микросхемы "));
    auto* label4 = addPlainLabel("Label4", tr("  GC4016 фирмы \"Texas Instruments\""));
    auto* label1 = addPlainLabel("Label1", tr("Конфигуратор GC4016 v2.0, 2026"));
    auto* label2 = addPlainLabel("Label2", tr("Свободная программа: лицензия MIT, файл LICENSE"));
    auto* label5 = addPlainLabel("Label5", tr("Об ошибках сообщайте в трекер задач проекта"));
    auto* button1 = new QPushButton(tr("ОК"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setDefault(true);
    connect(button1, &QPushButton::clicked, this, &TInfo::close);

    // The interface language: Russian (item 0) or English (item 1), for the next start.
    auto* label6 = new QLabel(tr("Язык интерфейса (со следующего запуска):"), this);
    label6->setObjectName(QStringLiteral("Label6"));
    auto* languageBox = new QComboBox(this);
    languageBox->setObjectName(QStringLiteral("LanguageBox"));
    languageBox->addItems({tr("Русский"), QStringLiteral("English")});
    languageBox->setCurrentIndex(gc::model::language() == gc::model::Language::English ? 1 : 0);
    connect(languageBox, &QComboBox::activated, this, [this](int index) {
        if (languageHandler_)
            languageHandler_(index == 1 ? gc::model::Language::English
                                        : gc::model::Language::Russian);
    });
    auto* language = new QHBoxLayout;
    language->addWidget(label6);
    language->addWidget(languageBox);

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
    layout->addLayout(language);
    layout->addSpacing(6);
    layout->addWidget(button1, 0, Qt::AlignHCenter);
}

void TInfo::setLanguageHandler(std::function<void(gc::model::Language)> handler) {
    languageHandler_ = std::move(handler);
}

}  // namespace gc::ui
