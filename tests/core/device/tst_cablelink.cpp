// The cable through whichever driver opens it: the vendor library first,
// the serial port when the library cannot (the kernel's driver holds it).

#include "device/CableLink.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"

#include <QTest>

using namespace q540;

class CableLinkTest : public QObject {
    Q_OBJECT

private slots:
    void driverThatOpens_data()
    {
        QTest::addColumn<bool>("vendorInstalled");
        QTest::addColumn<bool>("vendorOpens");
        QTest::addColumn<bool>("serialOpens");
        QTest::addColumn<QString>("used"); // "vendor", "serial" or ""
        QTest::newRow("library opens the cable") << true << true << true << "vendor";
        QTest::newRow("kernel driver holds the cable") << true << false << true << "serial";
        QTest::newRow("no library") << false << false << true << "serial";
        QTest::newRow("nothing opens") << true << false << false << "";
    }

    void driverThatOpens()
    {
        QFETCH(bool, vendorInstalled);
        QFETCH(bool, vendorOpens);
        QFETCH(bool, serialOpens);
        QFETCH(QString, used);
        sim::ModuleEmulator vendorModule;
        sim::ModuleEmulator serialModule;
        vendorModule.setPlugged(vendorOpens);
        serialModule.setPlugged(serialOpens);
        sim::VirtualClock clock;
        CableLink cable(vendorInstalled ? std::make_unique<sim::EmulatedLink>(vendorModule, clock)
                                        : nullptr,
                        std::make_unique<sim::EmulatedLink>(serialModule, clock));
        QCOMPARE(cable.open(), !used.isEmpty());
        QCOMPARE(cable.throughVendorLibrary(), used == u"vendor");
        QCOMPARE(cable.openProblem(), used.isEmpty() ? OpenProblem::NoCable : OpenProblem::None);
        cable.write(std::array<std::uint8_t, 1>{0x11});
        QCOMPARE(vendorModule.sentBytes().size(), used == u"vendor" ? 1 : 0);
        QCOMPARE(serialModule.sentBytes().size(), used == u"serial" ? 1 : 0);
        cable.close();
        QVERIFY(!cable.isOpen());
        QVERIFY(!vendorModule.isOpen() && !serialModule.isOpen());
    }
};

QTEST_GUILESS_MAIN(CableLinkTest)
#include "tst_cablelink.moc"
