#include "ui/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

namespace gc::ui {
namespace {

constexpr const char* kLanguageKey = "interface/language";

QString codeOf(gc::model::Language language) {
    const std::string_view code = gc::model::languageCode(language);
    return QString::fromLatin1(code.data(), qsizetype(code.size()));
}

// A translator owned by the application, so that it lives as long as the texts it gives.
bool install(const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace

std::optional<QString> languageArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--lang"))
            return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (a.startsWith(QLatin1String("--lang="))) return a.mid(7);
    }
    return std::nullopt;
}

std::optional<gc::model::Language> rememberedLanguage() {
    const QString code = QSettings().value(QString::fromLatin1(kLanguageKey)).toString();
    return gc::model::languageFromCode(code.toStdString());
}

void rememberLanguage(gc::model::Language language) {
    QSettings settings;
    settings.setValue(QString::fromLatin1(kLanguageKey), codeOf(language));
    settings.sync();
}

QString translationsFolder() {
    const QDir installed(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" GC_TRANSLATIONS_FROM_BINDIR));
    if (QFileInfo::exists(installed.filePath(QStringLiteral("gc4016_en.qm"))))
        return installed.absolutePath();
    return QStringLiteral(GC_BUILD_TRANSLATIONS_DIR);
}

bool installLanguage(gc::model::Language language) {
    gc::model::setLanguage(language);
    const QString code = codeOf(language);
    bool found = true;
    if (language != gc::model::Language::Russian)
        found = install(QStringLiteral("gc4016_") + code, translationsFolder());
    // Qt's own texts (standard buttons, file dialogs) in the same language; English is Qt's
    // source language.
    if (language != gc::model::Language::English)
        found = install(QStringLiteral("qtbase_") + code,
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                found;
    return found;
}

}  // namespace gc::ui
