// The connection check from the Options menu: the window shows each finding
// in the program's language, checks again on request, and the poll goes on
// afterwards.

#include "device/SystemProbe.h"
#include "gui/main/MainWindow.h"
#include "gui/support/ConnectionCheckWindow.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

using namespace q540;

class ConnectionCheckWindowTest : public QObject {
    Q_OBJECT

private slots:
    void checkFromTheMenu_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<QString>("menuText");
        QTest::addColumn<QString>("shown");
        QTest::newRow("module, pl") << 0 << true << "Sprawdzenie połączenia"
                                    << "odpowiedział: Q540 (kod urządzenia 70)";
        QTest::newRow("module, en") << 1 << true << "Connection check"
                                    << "answered: Q540 (device code 70)";
        QTest::newRow("nothing plugged, de") << 2 << false << "Verbindungsprüfung"
                                             << "das Kabel konnte nicht geöffnet werden";
    }

    void checkFromTheMenu()
    {
        QFETCH(int, language);
        QFETCH(bool, plugged);
        QFETCH(QString, menuText);
        QFETCH(QString, shown);
        test::EmulatedWindow w(language);
        // The demo's way: only the module is looked at.
        w.window->reportActions().setSystemProbe(nullptr);
        w.module.setPlugged(plugged);
        QAction* action = w.window->findChild<QAction*>(QStringLiteral("Sprawdzenie_polaczenia"));
        QVERIFY(action);
        QCOMPARE(action->text().remove(u'&'), menuText);

        QString text;
        bool answered = !plugged;
        int exchanges = -1;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* check = qobject_cast<ConnectionCheckWindow*>(modal);
            if (!check)
                return;
            text = check->findChild<QTextBrowser*>()->toPlainText();
            answered = check->report().moduleAnswered;
            const int before = w.module.exchangeCount();
            check->findChild<QPushButton*>(QStringLiteral("CheckAgain"))->click();
            exchanges = w.module.exchangeCount() - before;
            check->reject();
        });
        action->trigger();
        QVERIFY2(text.contains(shown), qPrintable(text));
        QCOMPARE(answered, plugged);
        // Checking again greets the module again: hello and configuration.
        QCOMPARE(exchanges, plugged ? 2 : 0);
        // The poll was held only while the check ran.
        QVERIFY(w.poll());
    }
};

QTEST_MAIN(ConnectionCheckWindowTest)
#include "tst_connectioncheckwindow.moc"
