// Cancel in the window: the button beside the progress, or Esc, stops a
// read at once, and a write after its block in flight once the user agrees,
// on a cable that takes real time.

#include "base/FixedTexts.h"
#include "base/TransferPhase.h"
#include "emulator/EmulatedLink.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QKeyEvent>
#include <QProgressBar>
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
        QTest::addColumn<bool>("agree");           // the answer to "Stop writing?"
        QTest::addColumn<QStringList>("messages"); // each the start of one
        const QString question = fixedText(FixedText::CancelWriteQuestion, 1);
        const QString readCancelled =
            QStringLiteral("Reading was cancelled; nothing that was read has been kept.");
        QTest::newRow("read, Cancel button")
            << false << false << true << QStringList{readCancelled};
        QTest::newRow("read, Esc") << false << true << true << QStringList{readCancelled};
        QTest::newRow("write, Esc, agreed")
            << true << true << true
            << QStringList{question, QStringLiteral("Writing was cancelled. Entries 1 to ")};
        QTest::newRow("write, Cancel button, not agreed: it goes on")
            << true << false << false
            << QStringList{question, QStringLiteral("Data has been written to the module!")};
    }

    void cancelMidTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, escape);
        QFETCH(bool, agree);
        QFETCH(QStringList, messages);
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
            w.window->moduleActions().Buttonz9Click();
        }

        // Pressed once a few blocks of the write itself have gone, not while
        // the module's directory is read to keep it first.
        auto* bar = w.window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        const QString writing = phaseText(TransferPhase::Writing, 1);
        QTimer press;
        connect(&press, &QTimer::timeout, [&] {
            auto* cancel = w.window->findChild<QPushButton*>(QStringLiteral("CancelTransfer"));
            if (!cancel->isVisible() || bar->value() < 3
                || (write && !bar->format().contains(writing)))
                return;
            press.stop();
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
        press.start(20);
        test::ModalDriver driver;
        driver.answerYes = agree;
        if (write) {
            w.window->moduleActions().Button0Click();
        } else {
            const qint64 before = w.module.exchangeCount();
            w.window->moduleActions().Buttonz9Click();
            // Stopped well before the end.
            QVERIFY(w.module.exchangeCount() - before < 50);
        }
        QCOMPARE(driver.messages.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(driver.messages[i].startsWith(messages[i]), qPrintable(driver.messages[i]));
        if (write)
            QCOMPARE(w.module.entryCount(), 60);
        QVERIFY(!w.module.isOpen());
        QVERIFY(!w.window->findChild<QPushButton*>(QStringLiteral("CancelTransfer"))->isVisible());
        QCOMPARE(w.window->directory().list().count(), write ? 60 : 0);
        QVERIFY(w.poll());
    }
};

QTEST_MAIN(CancelTransferTest)
#include "tst_canceltransfer.moc"
