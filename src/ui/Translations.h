#pragma once
// The interface language of the window program. Chosen once at start-up, before any window is
// made: "--lang en|ru" on the command line, else the choice remembered in the settings (made in
// the about box), else Russian. The program's catalogue (gc4016_<code>.qm) and Qt's own
// (qtbase_<code>.qm) are installed, and the core's texts follow the same language.
#include <QString>
#include <QStringList>
#include <optional>

#include "model/Language.h"

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

// Installs the translators of `language` into the application and sets the core's language.
// Russian, the source language, needs no catalogue of the program's own. False when a catalogue
// the language needs is not found (the texts then stay Russian where it is missing).
bool installLanguage(gc::model::Language language);

}  // namespace gc::ui
