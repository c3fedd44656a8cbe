// The splash at start: its timer steps 300, 600, 900 ms, then the main window.
#include "Preloader.h"
#include "VersionText.h"

#include "tavek_version.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void shouldOpenTheMainWindowAtOnePointEightSeconds() {
        QElapsedTimer clock;
        clock.start();
        qint64 shownAt = -1;
        QPointer<Preloader> splash = new Preloader([&] { shownAt = clock.elapsed(); });
        splash->show();
        auto* loading = splash->findChild<QLabel*>("Label1");
        QCOMPARE(loading->text(), QStringLiteral("Loading ..."));
        QCOMPARE(splash->findChild<QLabel*>("Label2")->text(),
                 versionText(tavek::version::major, tavek::version::minor));
        QCOMPARE(versionText(2, 10), QStringLiteral("2.10"));
        QTRY_COMPARE(splash->timer()->interval(), 600);
        QCOMPARE(loading->text(), QStringLiteral("Loading..."));
        QVERIFY(clock.elapsed() >= 300);
        QTRY_VERIFY_WITH_TIMEOUT(shownAt >= 0, 3000);
        // A precise timer never fires early; late by a wide margin still passes.
        QVERIFY2(shownAt >= 1800 && shownAt < 2800, qPrintable(QString::number(shownAt)));
        QTRY_VERIFY(splash.isNull());
    }

    // The step is told by the timer's interval alone, not by counting ticks.
    void shouldGoByTheIntervalAlone() {
        int opened = 0;
        QPointer<Preloader> splash = new Preloader([&] { ++opened; });
        splash->timer()->stop();
        splash->timer()->setInterval(450);
        splash->tick();
        splash->tick();
        QCOMPARE(splash->findChild<QLabel*>("Label1")->text(), QStringLiteral("Loading ..."));
        splash->timer()->setInterval(900);
        splash->tick();
        QCOMPARE(opened, 1);
        QTRY_VERIFY(splash.isNull());
    }
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
