// gc4016: the configurator's desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <exception>

#include "ui/Application.h"
#include "ui/HomeFolder.h"
#include "ui/ProgramInfo.h"
#include "ui/Translations.h"

namespace {

// The default error handler: an exception that leaves an event handler is shown in a message
// box and the program goes on.
class GuardedApplication final : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(activeWindow(), gc::ui::programTitle(),
                                  QString::fromUtf8(e.what()));
        } catch (...) {
            QMessageBox::critical(
                activeWindow(), gc::ui::programTitle(),
                QCoreApplication::translate("gc4016", "Внутренняя ошибка программы"));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    GuardedApplication app(argc, argv);
    // QApplication takes the desktop's locale; the file formats and the screen always use "."
    // as the decimal point, so number conversions stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("gc4016"));
    // Window places and the interface language are kept in the user's settings,
    // ~/.config/gc4016/gc4016.conf.
    QApplication::setOrganizationName(QStringLiteral("gc4016"));
    // No display name: the platform would append it to every window caption.
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("gc4016")));

    // The language first: every text of the windows and of the help follows it.
    gc::model::Language language =
        gc::ui::rememberedLanguage().value_or(gc::model::Language::Russian);
    if (const std::optional<QString> code = gc::ui::languageArgument(QApplication::arguments())) {
        const auto chosen = gc::model::languageFromCode(code->toStdString());
        if (!chosen) {
            std::fprintf(stderr, "gc4016: unknown language \"%s\" (en or ru)\n", qPrintable(*code));
            return 2;
        }
        language = *chosen;
    }
    gc::ui::installLanguage(language);

    QCommandLineParser parser;
    parser.setApplicationDescription(gc::ui::programTitle());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption langOption(
        QStringLiteral("lang"),
        QCoreApplication::translate(
            "gc4016", "Язык интерфейса: en или ru; без него — выбранный в окне справки, иначе ru."),
        QStringLiteral("en|ru"));
    const QCommandLineOption homeOption(
        QStringLiteral("home-folder"),
        QCoreApplication::translate(
            "gc4016", "Работать в папке ~/gc4016 (создаётся при первом запуске) вместо текущей."));
    parser.addOption(langOption);
    parser.addOption(homeOption);
    parser.process(app);

    try {
        gc::appconfig::Workspace workspace = gc::appconfig::Workspace::atCurrentFolder();
        if (parser.isSet(homeOption)) {
            QStringList reports;
            workspace = gc::appconfig::Workspace(
                gc::ui::prepareHomeFolder(QDir::homePath(), reports).toStdString());
            if (!reports.isEmpty())
                QMessageBox::warning(nullptr, gc::ui::programTitle(),
                                     reports.join(QLatin1Char('\n')));
        }
        gc::ui::Application application(std::move(workspace));
        application.start();
        return QApplication::exec();
    } catch (const std::exception& e) {
        // An error while the windows are being created ends the program.
        QMessageBox::critical(nullptr, gc::ui::programTitle(), QString::fromUtf8(e.what()));
        return 1;
    }
}
