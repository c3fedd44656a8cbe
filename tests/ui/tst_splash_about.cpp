// The splash at start and the About window.
#include "AboutWindow.h"
#include "Preloader.h"
#include "VersionText.h"

#include "tavek_version.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

class SplashAboutTest : public QObject {
    Q_OBJECT

private slots:
    void shouldWriteTheVersionAsMajorDotMinor() {
        QCOMPARE(versionText(1, 1), QStringLiteral("1.1"));
        QCOMPARE(versionText(2, 10), QStringLiteral("2.10"));
        QCOMPARE(versionText(10, 0), QStringLiteral("10.0"));
    }

    void splashShouldOpenTheMainWindowAtOnePointEightSeconds() {
        QElapsedTimer clock;
        clock.start();
        qint64 shownAt = -1;
        QPointer<Preloader> splash = new Preloader([&] { shownAt = clock.elapsed(); });
        splash->show();
        auto* loading = splash->findChild<QLabel*>("Label1");
        QCOMPARE(loading->text(), QStringLiteral("Loading ..."));
        QCOMPARE(splash->findChild<QLabel*>("Label2")->text(),
                 versionText(tavek::version::major, tavek::version::minor));
        QCOMPARE(splash->findChild<QLabel*>("Label3")->text(),
                 QString::fromUtf8(tavek::version::description));

        QTRY_COMPARE(splash->timer()->interval(), 600);
        QCOMPARE(loading->text(), QStringLiteral("Loading..."));
        QVERIFY(clock.elapsed() >= 300);
        QTRY_COMPARE(splash->timer()->interval(), 900);
        QCOMPARE(loading->text(), QStringLiteral("Loading..."));
        QTRY_VERIFY_WITH_TIMEOUT(shownAt >= 0, 3000);
        // A precise timer never fires early; late by a wide margin still passes.
        QVERIFY2(shownAt >= 1800 && shownAt < 2800, qPrintable(QString::number(shownAt)));
        QTRY_VERIFY(splash.isNull());
    }

    void splashTickShouldGoByTheIntervalAlone() {
        int opened = 0;
        QPointer<Preloader> splash = new Preloader([&] { ++opened; });
        splash->timer()->stop();
        splash->timer()->setInterval(450);
        splash->tick();
        splash->tick();
        QCOMPARE(splash->findChild<QLabel*>("Label1")->text(), QStringLiteral("Loading ..."));
        QCOMPARE(splash->timer()->interval(), 450);
        splash->timer()->setInterval(900);
        splash->tick();
        QCOMPARE(opened, 1);
        QTRY_VERIFY(splash.isNull());
    }

    void aboutShouldShowVersionAndOpenLinksQuietly() {
        QWidget owner;
        owner.resize(976, 594);
        owner.show();
        for (int round = 0; round < 2; ++round) {
            QList<QUrl> opened;
            QPointer<AboutWindow> about = new AboutWindow(&owner);
            about->openLink = [&](const QUrl& url) { opened << url; };
            about->show();
            QVERIFY(QTest::qWaitForWindowExposed(about));
            QCOMPARE(about->windowTitle(), QStringLiteral("About Tavek..."));
            QCOMPARE(about->size(), QSize(572, 372));
            QCOMPARE(about->findChild<QLabel*>("Label11")->text(), QStringLiteral("1.1"));
            QCOMPARE(about->findChild<QLabel*>("Label7")->text(),
                     QStringLiteral("Configuration program for GSM Modems Mod. KVZ"));

            QTest::mouseClick(about->findChild<QLabel*>("URLlbl"), Qt::LeftButton);
            QTest::mouseClick(about->findChild<QLabel*>("MAILlbl"), Qt::LeftButton);
            QCOMPARE(opened, (QList<QUrl>{QUrl("https://www.example.com/"),
                                          QUrl("mailto:support@example.org")}));
            QVERIFY(about->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);

            if (round == 0)
                QTest::mouseClick(about->findChild<QToolButton*>("btnclose"), Qt::LeftButton);
            else
                QTest::keyClick(about, Qt::Key_X, Qt::AltModifier);
            QTRY_VERIFY(about.isNull());
        }
    }
};

QTEST_MAIN(SplashAboutTest)
#include "tst_splash_about.moc"
