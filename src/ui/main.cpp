// gc4016: the configurator's desktop program.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <clocale>
#include <exception>

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
            QMessageBox::critical(activeWindow(), gc::ui::programTitle(),
                                  QStringLiteral("Внутренняя ошибка программы"));
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
    // Window places are kept in the user's settings, "gc4016/gc4016.conf".
    QApplication::setOrganizationName(QStringLiteral("gc4016"));
    // Qt's own texts (file dialogs, questions, context menus) in the interface language.
    gc::ui::installQtTranslation(app, gc::ui::interfaceLocale());
    // No display name: the platform would append it to every window caption.
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("gc4016")));

    try {
        gc::ui::Application application;
        application.start();
        return QApplication::exec();
    } catch (const std::exception& e) {
        // An error while the windows are being created ends the program.
        QMessageBox::critical(nullptr, gc::ui::programTitle(), QString::fromUtf8(e.what()));
        return 1;
    }
}
