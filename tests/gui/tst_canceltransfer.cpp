// Cancel in the window: the button beside the progress, or Esc, stops a
// transfer after its block in flight, on a cable that takes real time.

#include "emulator/EmulatedLink.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace q540;

class CancelTransferTest : public QObject {
    Q_OBJECT

private slots:
    void cancelMidTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QString>("message");
        QTest::newRow("read, Cancel button")
            << false << false << "Reading was cancelled; nothing that was read has been kept.";
        QTest::newRow("read, Esc")
            << false << true << "Reading was cancelled; nothing that was read has been kept.";
        QTest::newRow("write, Esc") << true << true << "Writing was cancelled. Entries 1 to ";
    }

    void cancelMidTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, escape);
        QFETCH(QString, message);
        test::EmulatedWindow w(1);
        // 60 entries at about 40 ms each over the modelled cable, in real time.
        for (int p = 0; p < 60; ++p) {
            std::array<std::uint8_t, protocol::kBlockSize> block{};
            block.fill('A');
            block[protocol::kApartmentByte] = std::uint8_t(p + 1);
            block[protocol::kZoneByte] = 0;
            w.module.setBlock(p, block);
        }
        // The blocks' zone bytes carry the configuration: set it again.
        w.module.setEntryCount(60);
        w.module.setPasswordFirstHalf(82);
        w.module.setPasswordSecondHalf(64);
        SystemClock clock;
        sim::EmulatedLink cable(w.module, clock);
        cable.modelCable({});
        w.window->attachModule(cable, clock);
        QVERIFY(w.poll());
        if (write) { // a directory of its own to write: read it first
            test::ModalDriver reading;
            w.window->Buttonz9Click();
        }

        QTimer press;
        press.setSingleShot(true);
        connect(&press, &QTimer::timeout, [&] {
            auto* cancel = w.window->findChild<QPushButton*>(QStringLiteral("CancelTransfer"));
            QVERIFY(cancel && cancel->isVisible());
            // The menus' shortcuts wait too: Ctrl+Z would undo the read
            // that the write is sending.
            w.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
            QTest::keySequence(w.window.get(), QKeySequence::Undo);
            if (escape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(w.window.get(), &key);
            } else {
                QTest::mouseClick(cancel, Qt::LeftButton);
            }
        });
        press.start(1000);
        test::ModalDriver driver;
        const qint64 before = w.module.exchangeCount();
        if (write)
            w.window->Button0Click();
        else
            w.window->Buttonz9Click();
        QCOMPARE(driver.messages.size(), 1);
        QVERIFY2(driver.messages[0].startsWith(message), qPrintable(driver.messages[0]));
        // Stopped well before the end, and the device closed.
        QVERIFY(w.module.exchangeCount() - before < 50);
        QVERIFY(!w.module.isOpen());
        QVERIFY(!w.window->findChild<QPushButton*>(QStringLiteral("CancelTransfer"))->isVisible());
        QCOMPARE(w.window->directory().list().count(), write ? 60 : 0);
        QVERIFY(w.poll());
    }
};

QTEST_MAIN(CancelTransferTest)
#include "tst_canceltransfer.moc"
