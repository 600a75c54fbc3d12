#include "ui/FormLabels.h"

namespace gc::ui {

QLabel* namedLabel(const char* name, QWidget* parent, Qt::Alignment align) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

void setLimitColour(QLabel* label, gc::app::LimitColour colour) {
    switch (colour) {
        case gc::app::LimitColour::Green:
            label->setStyleSheet(QStringLiteral("color: #007000; font-weight: bold;"));
            break;
        case gc::app::LimitColour::Red:
            label->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
            break;
        case gc::app::LimitColour::Neutral:
            label->setStyleSheet(QString());
            break;
    }
}

}  // namespace gc::ui
