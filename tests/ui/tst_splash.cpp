// The splash at start: its timer steps 300, 600, 900 ms, then the main
// window. The steps are driven here tick by tick, so a busy machine cannot
// make the test late; what the program relies on is the timer's intervals.
#include "Preloader.h"
#include "VersionText.h"

#include "tavek_version.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheMainWindowAfterThreeTicksOf1800MsInAll() {
        int opened = 0;
        QPointer<Preloader> splash = new Preloader([&] { ++opened; });
        splash->show();
        QTimer& timer = *splash->timer();
        auto* loading = splash->findChild<QLabel*>("Label1");
        QCOMPARE(loading->text(), QStringLiteral("Loading ..."));
        QCOMPARE(splash->findChild<QLabel*>("Label2")->text(),
                 versionText(tavek::version::major, tavek::version::minor));
        QCOMPARE(versionText(2, 10), QStringLiteral("2.10"));
        // Running from the splash's creation, and never early.
        QVERIFY(timer.isActive());
        QCOMPARE(timer.timerType(), Qt::PreciseTimer);

        QList<int> intervals{timer.interval()};
        for (int tick = 0; tick < 2; ++tick) {
            splash->tick();
            intervals << timer.interval();
            QCOMPARE(loading->text(), QStringLiteral("Loading..."));
            QVERIFY(timer.isActive());
            QCOMPARE(opened, 0);
        }
        splash->tick();
        QCOMPARE(intervals, (QList<int>{300, 600, 900}));
        QCOMPARE(opened, 1);
        QTRY_VERIFY(splash.isNull()); // gone at the same moment
    }

    // The step is told by the timer's interval alone, not by counting ticks.
    void goesByTheIntervalAlone() {
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
