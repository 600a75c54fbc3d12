#pragma once
// The program's name as its windows and message boxes show it.
#include <QCoreApplication>
#include <QString>

namespace gc::ui {

// The main window's caption; also the title of the program's message boxes.
inline QString programTitle() {
    return QCoreApplication::translate("gc4016", "Конфигуратор GC4016 v2.0");
}

}  // namespace gc::ui
