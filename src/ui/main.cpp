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

#include "app/WorkingFolder.h"
#include "ui/Application.h"
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

// Collects the reports of making the home folder, to show them in one message box.
class CollectingUi final : public gc::app::UiPort {
  public:
    void showError(const gc::app::ErrorReport& report) override {
        lines << QString::fromStdString(report.labels.empty() ? std::string() : report.labels[0]);
        for (std::size_t i = 1; i < report.labels.size(); ++i)
            lines.back() += QLatin1Char(' ') + QString::fromStdString(report.labels[i]);
    }
    void showConversionError(const std::string& message) override {
        lines << QString::fromStdString(message);
    }
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest&) override {
        return {};
    }
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest&) override {
        return {};
    }
    void showWindow(gc::app::Window) override {}
    void refreshWindow(gc::app::Window) override {}
    void repaintChannelPlot() override {}

    QStringList lines;
};

// The working folder of --home-folder: ~/gc4016, made as "gc4016-cli init" makes it when it does
// not exist yet. An existing folder is used as it is.
QString homeWorkingFolder() {
    const QString folder = QDir::home().filePath(QStringLiteral("gc4016"));
    if (QDir(folder).exists()) return folder;
    const std::string dir = folder.toStdString();
    CollectingUi reports;
    if (!gc::app::writeWorkingFolder(dir, gc::app::workingFolderFiles(dir), reports)) {
        QMessageBox::warning(nullptr, gc::ui::programTitle(),
                             reports.lines.join(QLatin1Char('\n')));
    }
    return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
    GuardedApplication app(argc, argv);
    // QApplication takes the desktop's locale; the file formats and the screen always use "."
    // as the decimal point, so number conversions stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("gc4016"));
    // The settings file: ~/.config/gc4016/gc4016.conf.
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
        gc::appconfig::Workspace workspace =
            parser.isSet(homeOption) ? gc::appconfig::Workspace(homeWorkingFolder().toStdString())
                                     : gc::appconfig::Workspace::atCurrentFolder();
        gc::ui::Application application(std::move(workspace));
        application.start();
        return QApplication::exec();
    } catch (const std::exception& e) {
        // An error while the windows are being created ends the program.
        QMessageBox::critical(nullptr, gc::ui::programTitle(), QString::fromUtf8(e.what()));
        return 1;
    }
}
