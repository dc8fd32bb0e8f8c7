#include "device/Link.h"
#include "emulator/VirtualClock.h"
#include "gui/startup/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace q540;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void withoutDriverTheProgramSaysSoAndEnds();
};

void StartupTest::withoutDriverTheProgramSaysSoAndEnds()
{
    sim::VirtualClock clock;
    int loads = 0;
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    const int code = runProgram(
        *qApp,
        [&loads]() -> std::unique_ptr<Link> {
            ++loads;
            return nullptr;
        },
        clock);
    QCOMPARE(code, 1);
    QCOMPARE(loads, 1);
    QCOMPARE(shown, QStringLiteral("Zainstaluj sterownik USB!"));
    // No window is left behind: the program ended before making one.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
