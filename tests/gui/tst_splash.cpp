#include "emulator/VirtualClock.h"
#include "gui/startup/SplashWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace q540;

namespace {

const QStringList kImages{"Image1", "Image2", "Image3"};

} // namespace

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void pictureOfLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Polish") << 0 << "Image1";
        QTest::newRow("English") << 1 << "Image2";
        QTest::newRow("German") << 2 << "Image3";
        QTest::newRow("not a language") << 5 << "Image2";
    }
    void pictureOfLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, shown);
        sim::VirtualClock clock;
        SplashWindow splash(language, clock);
        splash.show();
        for (const QString& name : kImages) {
            auto* image = splash.findChild<QLabel*>(name);
            QVERIFY2(image, qPrintable(name));
            QCOMPARE(image->isVisible(), name == shown);
        }
    }

    // One frame, three different pictures stacked in it, the window centred on the screen.
    void picturesInOnePlace()
    {
        sim::VirtualClock clock;
        SplashWindow splash(1, clock);
        splash.show();
        auto* shape = splash.findChild<QWidget*>("Shape1");
        QVERIFY(shape);
        QList<QImage> drawn;
        for (const QString& name : kImages) {
            auto* image = splash.findChild<QLabel*>(name);
            QCOMPARE(image->parentWidget(), shape);
            QCOMPARE(image->geometry(), splash.findChild<QLabel*>(kImages[0])->geometry());
            QVERIFY(shape->rect().contains(image->geometry()));
            QCOMPARE(image->pixmap().size(), image->size());
            QVERIFY(!drawn.contains(image->pixmap().toImage()));
            drawn << image->pixmap().toImage();
        }
        QCOMPARE(splash.geometry().center(),
                 QGuiApplication::primaryScreen()->availableGeometry().center());
        QVERIFY(splash.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    }

    void fadesOutAndGoes()
    {
        sim::VirtualClock clock;
        QPointer<SplashWindow> splash = new SplashWindow(0, clock);
        auto* timer = splash->findChild<QTimer*>("Timer_Splash");
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
        splash->show();
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 2000);

        QList<int> opacities, windowOpacities, times;
        connect(splash, &SplashWindow::opacityChanged, this, [&](int opacity) {
            opacities << opacity;
            windowOpacities << qRound(splash->windowOpacity() * 255);
            times << int(clock.nowMs());
        });
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));

        const QList<int> expected{255, 247, 238, 229, 221, 213, 204, 195, 187, 179, 170,
                                  161, 153, 145, 136, 127, 119, 111, 102, 93,  85,  77,
                                  68,  59,  51,  43,  34,  25,  17,  9,   0,   0};
        QCOMPARE(opacities, expected);
        QCOMPARE(windowOpacities, expected);
        QList<int> expectedTimes;
        for (int step = 0; step <= 31; ++step)
            expectedTimes << step * 20;
        QCOMPARE(times, expectedTimes);
        QCOMPARE(clock.nowMs(), 31 * 20);
        QVERIFY(splash);
        QVERIFY(!splash->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!splash);
    }
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
