#pragma once
// Qt's own texts (file dialogs, question boxes, the edit fields' context menu) in the interface
// language.
#include <QLocale>
#include <QString>

class QCoreApplication;

namespace gc::ui {

// The interface language; the program's own texts are written in Russian.
[[nodiscard]] QLocale interfaceLocale();

// Loads Qt's translation ("qtbase_<lang>.qm" from Qt's translations folder, or from `folder`
// when given) for `locale` and installs it in `app`. Returns whether a translation was
// installed; without one Qt speaks English and nothing else changes.
bool installQtTranslation(QCoreApplication& app, const QLocale& locale,
                          const QString& folder = QString());

}  // namespace gc::ui
