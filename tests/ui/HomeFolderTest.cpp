// The working folder of --home-folder: made on the first start like "gc4016-cli init" makes
// one, used as it is afterwards.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/HomeFolder.h"

class HomeFolderTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void isMadeOnceAndThenLeftAsItIs() {
        QTemporaryDir home;
        QStringList reports;
        const QString folder = gc::ui::prepareHomeFolder(home.path(), reports);
        QCOMPARE(folder, QDir(home.path()).filePath(QStringLiteral("gc4016")));
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(QLatin1Char('\n'))));
        const QDir dir(folder);
        QVERIFY(dir.exists(QStringLiteral("CONFIGS/std.trv")));
        QVERIFY(dir.exists(QStringLiteral("CONFIGS/sinc.cfg")));
        QVERIFY(dir.exists(QStringLiteral("FILTERS/cfir_68.taps")));
        QVERIFY(dir.exists(QStringLiteral("FILTERS/pfir_gsm.taps")));
        QVERIFY(dir.exists(QStringLiteral("FILTERS/res_8x64_60.taps")));

        // The user's own start-up configuration is never replaced.
        QFile std(dir.filePath(QStringLiteral("CONFIGS/std.trv")));
        QVERIFY(std.open(QIODevice::WriteOnly | QIODevice::Truncate));
        std.write("mine\n");
        std.close();
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("FILTERS/cfir_68.taps"))));
        QCOMPARE(gc::ui::prepareHomeFolder(home.path(), reports), folder);
        QVERIFY(std.open(QIODevice::ReadOnly));
        QCOMPARE(std.readAll(), QByteArray("mine\n"));
        QVERIFY(!dir.exists(QStringLiteral("FILTERS/cfir_68.taps")));
    }

    void aFolderThatCannotBeMadeIsReported() {
        QTemporaryDir home;
        // A file where the folder should be.
        QFile blocker(QDir(home.path()).filePath(QStringLiteral("gc4016")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QStringList reports;
        (void)gc::ui::prepareHomeFolder(home.path(), reports);
        QVERIFY(!reports.isEmpty());
        QVERIFY2(reports.front().contains(QStringLiteral("std.trv")), qPrintable(reports.front()));
    }
};

QTEST_MAIN(HomeFolderTest)
#include "HomeFolderTest.moc"
