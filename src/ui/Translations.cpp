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

QLocale interfaceLocale() {
    return gc::model::language() == gc::model::Language::English
               ? QLocale(QLocale::English, QLocale::UnitedKingdom)
               : QLocale(QLocale::Russian, QLocale::Russia);
}

bool installQtTranslation(QCoreApplication& app, const QLocale& locale, const QString& folder) {
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // Owned by the application, which uses it until it ends.
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), from)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool installLanguage(gc::model::Language language) {
    gc::model::setLanguage(language);
    QCoreApplication& app = *QCoreApplication::instance();
    bool found = true;
    if (language != gc::model::Language::Russian) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("gc4016_") + codeOf(language), translationsFolder())) {
            QCoreApplication::installTranslator(translator);
        } else {
            delete translator;
            found = false;
        }
    }
    if (language != gc::model::Language::English)
        found = installQtTranslation(app, interfaceLocale()) && found;
    return found;
}

}  // namespace gc::ui
