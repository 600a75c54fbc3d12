#pragma once
// The interface language of the window program. Chosen once at start-up, before any window is
// made: "--lang en|ru" on the command line, else the choice remembered in the settings (made in
// the about box), else Russian. The program's catalogue (gc4016_<code>.qm) and Qt's own texts
// (file dialogs, question boxes, the edit fields' context menu: qtbase_<code>.qm) are installed,
// and the core's texts follow the same language.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "model/Language.h"

class QCoreApplication;

namespace gc::ui {

// The value of "--lang CODE" or "--lang=CODE" among the arguments (empty when "--lang" ends
// them); nothing when the option is absent.
[[nodiscard]] std::optional<QString> languageArgument(const QStringList& arguments);

// The language remembered in the settings; nothing when none or an unknown one is stored.
[[nodiscard]] std::optional<gc::model::Language> rememberedLanguage();
// Remembers `language` for the next start.
void rememberLanguage(gc::model::Language language);

// Where the program's .qm files are: share/gc4016/translations beside the installed program,
// else the build tree's translations folder (a program run where it was built).
[[nodiscard]] QString translationsFolder();

// The interface language in use as a locale (the program's own texts are written in Russian).
[[nodiscard]] QLocale interfaceLocale();

// Loads Qt's translation ("qtbase_<lang>.qm" from Qt's translations folder, or from `folder`
// when given) for `locale` and installs it in `app`. Returns whether a translation was
// installed; without one Qt speaks English and nothing else changes.
bool installQtTranslation(QCoreApplication& app, const QLocale& locale,
                          const QString& folder = QString());

// Sets the core's language and installs the translators of `language` into the application:
// the program's catalogue (Russian, the source language, needs none) and Qt's own (English,
// Qt's source language, needs none). False when a catalogue the language needs is not found
// (those texts then stay in their source language).
bool installLanguage(gc::model::Language language);

}  // namespace gc::ui
