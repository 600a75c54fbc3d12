// The English interface: with English chosen, every window of the set, every report of the
// start-up, the save-time reports, the conversion message and the about box show no Russian
// text; the language picked in the about box is remembered for the next start.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "UiTestSupport.h"
#include "model/Language.h"
#include "ui/Application.h"
#include "ui/Translations.h"
#include "ui/Ugform.h"

using gc::ui::WindowOrder;

namespace {

bool russian(const QString& text) { return gc::model::containsCyrillic(text.toStdString()); }

QString describe(const QWidget* w) {
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()),
                                       w->objectName());
}

// Every text a widget shows or offers: caption, tips, label or button text, list items, the
// cells and headers of item views, text boxes, tab titles and its actions.
QStringList textsOf(const QWidget* w) {
    QStringList texts{w->windowTitle(), w->toolTip(), w->statusTip(), w->whatsThis()};
    if (const auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        texts << button->text() << button->toolTip();
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        texts << edit->text() << edit->placeholderText();
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
    if (const auto* tabs = qobject_cast<const QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(w)) texts << text->toPlainText();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(w)) texts << text->toPlainText();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(w); view && view->model()) {
        const QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            texts << m->headerData(r, Qt::Vertical).toString();
            for (int c = 0; c < m->columnCount(); ++c) {
                texts << m->data(m->index(r, c)).toString()
                      << m->data(m->index(r, c), Qt::ToolTipRole).toString();
            }
        }
        for (int c = 0; c < m->columnCount(); ++c)
            texts << m->headerData(c, Qt::Horizontal).toString();
    }
    for (const QAction* action : w->actions()) texts << action->text() << action->toolTip();
    return texts;
}

// The Russian texts left in every widget of the application, "class name: text" each.
QStringList russianTexts() {
    QStringList found;
    for (const QWidget* w : QApplication::allWidgets()) {
        for (const QString& text : textsOf(w)) {
            if (russian(text)) found << describe(w) + QStringLiteral(": ") + text;
        }
    }
    found.removeDuplicates();
    return found;
}

// Answers every modal window that comes up until stopped, keeping the texts it showed.
class ModalCollector {
  public:
    ModalCollector() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            QStringList texts;
            for (const QWidget* w : modal->findChildren<QWidget*>()) texts << textsOf(w);
            texts << modal->windowTitle();
            if (const auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->text();
            texts.removeAll(QString());
            shown << texts.join(QLatin1Char('|'));
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
        });
        timer_.start(10);
    }
    QStringList shown;  // one entry per modal window

  private:
    QTimer timer_;
};

}  // namespace

class EnglishInterfaceTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        // The settings of this test live in a folder of its own.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        QVERIFY(gc::ui::installLanguage(gc::model::Language::English));
    }

    void everyWindowAndMessageIsInEnglish() {
        QTemporaryDir work;  // no CONFIGS, no FILTERS: the start-up reports every file
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        app.session().model.Work.ServiceMode = true;
        {
            ModalCollector reports;
            app.start();
            QTRY_VERIFY(!reports.shown.isEmpty());
            // The offer to make the folder a working folder (declined), then the reports, all
            // in one window, one line each.
            QVERIFY2(reports.shown.join(QLatin1Char('\n'))
                         .contains(QStringLiteral("These files could not be read:")),
                     qPrintable(reports.shown.join(QLatin1Char('\n'))));
            QVERIFY2(
                reports.shown.join(QLatin1Char('\n'))
                    .contains(QStringLiteral("Configuration file CONFIGS/std.trv is missing!")),
                qPrintable(reports.shown.join(QLatin1Char('\n'))));
            for (const QString& report : reports.shown)
                QVERIFY2(!russian(report), qPrintable(report));
        }
        QWidget& form = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY2(form.windowTitle().endsWith(QStringLiteral(" - GC4016 Configurator v2.0")),
                 qPrintable(form.windowTitle()));
        QCOMPARE(gc::uitest::child<QAbstractButton>(form, QStringLiteral("Button5"))->text(),
                 QStringLiteral("Read"));
        QCOMPARE(gc::uitest::child<QComboBox>(form, QStringLiteral("ComboBox7"))->itemText(0),
                 QStringLiteral("Channel 0"));

        // Every window of the set shown (the list grows with the program: every place that has
        // a window), the requirement window through its button.
        for (int order = int(WindowOrder::GForm); order < 64; ++order) {
            QWidget* w = app.window(WindowOrder(order));
            if (w != nullptr && !w->isModal()) w->show();
        }
        if (auto* requirement =
                form.findChild<QAbstractButton*>(QStringLiteral("ButtonRequirement")))
            QTest::mouseClick(requirement, Qt::LeftButton);
        // The save-time reports, as "Записать" shows them.
        auto& model = app.session().model;
        model.Channels[0].Decimation = 2;
        QVERIFY(!app.mainPresenter().runSaveChecks());
        model.Channels[0].Decimation = 64;
        model.Channels[1].Decimation = 128;
        model.Chip.AsyncMode = 0;
        QVERIFY(!app.mainPresenter().runSaveChecks());
        QVERIFY(app.window(WindowOrder::ErrDecim)->isVisible());
        QVERIFY(app.window(WindowOrder::ErrEqualDecim)->isVisible());
        // The message of a text that is not a number.
        {
            ModalCollector message;
            auto* edit1 = gc::uitest::child<QLineEdit>(form, QStringLiteral("Edit1"));
            edit1->setText(QStringLiteral("abc"));
            QTest::keyClick(edit1, Qt::Key_Return);
            QTRY_COMPARE(message.shown.size(), qsizetype(1));
            QVERIFY2(message.shown.front().contains(QStringLiteral("\"abc\" is not an integer")),
                     qPrintable(message.shown.front()));
            QVERIFY2(!russian(message.shown.front()), qPrintable(message.shown.front()));
        }

        const QStringList left = russianTexts();
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    }

    void theAboutBoxRemembersTheLanguageForTheNextStart() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        QWidget* info = app.window(WindowOrder::Info);
        auto* box = gc::uitest::child<QComboBox>(*info, QStringLiteral("LanguageBox"));
        QCOMPARE(box->currentIndex(), 1);  // English is in use
        QCOMPARE(box->itemText(0), QStringLiteral("Russian"));
        box->setCurrentIndex(0);
        emit box->activated(0);
        QCOMPARE(gc::ui::rememberedLanguage(), gc::model::Language::Russian);
        box->setCurrentIndex(1);
        emit box->activated(1);
        QCOMPARE(gc::ui::rememberedLanguage(), gc::model::Language::English);
        // The texts in use do not change before the next start.
        QCOMPARE(gc::model::language(), gc::model::Language::English);
    }

    void theLanguageArgument() {
        using gc::ui::languageArgument;
        const auto args = [](std::initializer_list<const char*> list) {
            QStringList a{QStringLiteral("gc4016")};
            for (const char* s : list) a << QString::fromLatin1(s);
            return a;
        };
        QCOMPARE(languageArgument(args({"--lang", "en"})),
                 std::optional<QString>(QStringLiteral("en")));
        QCOMPARE(languageArgument(args({"--home-folder", "--lang=ru"})),
                 std::optional<QString>(QStringLiteral("ru")));
        QCOMPARE(languageArgument(args({"--lang"})), std::optional<QString>(QString()));
        QVERIFY(!languageArgument(args({"--home-folder"})));
    }

  private:
    QTemporaryDir config_;
};

QTEST_MAIN(EnglishInterfaceTest)
#include "EnglishInterfaceTest.moc"
