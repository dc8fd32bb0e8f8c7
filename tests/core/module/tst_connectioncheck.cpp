// The connection check's diagnoses, each on a made-up system: a folder shaped
// like sysfs, /proc, /dev and the user and group files, and the emulated
// module behind the cable.

#include "device/SystemProbe.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/ConnectionCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace q540;
using Verdict = CheckStep::Verdict;

namespace {

// The made-up system: the user "anna" (uid 1000) at the computer, the
// cable's tty owned by the test's own user, shown as root:dialout.
class FakeSystem {
public:
    FakeSystem()
    {
        write("/etc/passwd", QStringLiteral("root:x:%1:0::/root:/bin/sh\n"
                                            "anna:x:1000:1000::/home/anna:/bin/bash\n")
                                 .arg(::getuid()));
        groupMembers(QString());
        write("/proc/self/status", "Name:\tq540\nUid:\t1000\t1000\t1000\t1000\nGroups:\t1000\n");
        write("/etc/hostname", "site\n");
    }
    ~FakeSystem()
    {
        for (const int fd : {master_, slave_})
            if (fd >= 0)
                ::close(fd);
    }
    QString root() const { return dir_.path(); }

    void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(root() + path).path());
        QFile file(root() + path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void write(const char* path, const QString& text)
    {
        write(QString::fromLatin1(path), text.toUtf8());
    }
    void write(const char* path, const char* text)
    {
        write(QString::fromLatin1(path), QByteArray(text));
    }
    void link(const QString& path, const QString& target)
    {
        QDir().mkpath(QFileInfo(root() + path).path());
        QVERIFY(QFile::link(target, root() + path));
    }
    // The dialout group is the test user's own group, so that the tty's group shows as it.
    void groupMembers(const QString& members)
    {
        write("/etc/group",
              QStringLiteral("dialout:x:%1:%2\nanna:x:1000:\n").arg(::getgid()).arg(members));
    }
    void plugInCable(const QString& product, const QString& driver, int mode)
    {
        const QString device = QStringLiteral("/sys/bus/usb/devices/1-2");
        write(device + "/idVendor", QByteArray("0403\n"));
        write(device + "/idProduct", QByteArray("6001\n"));
        write(device + "/product", product.toUtf8() + '\n');
        const QString interface = device + "/1-2:1.0";
        QDir().mkpath(root() + interface);
        if (!driver.isEmpty()) {
            link(interface + "/driver", "../../../../bus/usb/drivers/" + driver);
            QDir().mkpath(root() + interface + "/ttyUSB0");
            write("/sys/class/tty/ttyUSB0/device/latency_timer", "16\n");
            makeTty(mode);
        }
    }
    // The tty is a real pseudo-terminal, owned by the test's user and group,
    // so that it is a terminal and its holders are found by device number.
    void makeTty(int mode)
    {
        char name[128] = {};
        QCOMPARE(::openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        QCOMPARE(::fchown(slave_, ::getuid(), ::getgid()), 0);
        QCOMPARE(::fchmod(slave_, mode_t(mode)), 0);
        link("/dev/ttyUSB0", QString::fromLocal8Bit(name));
    }
    void installRule(const QString& folder)
    {
        write(folder + "/70-q540-cable.rules", QByteArray("SUBSYSTEM==\"tty\"\n"));
    }
    void installLibrary() { write("/usr/lib/x86_64-linux-gnu/libftd2xx.so.1.4.27", ""); }
    void run(int pid, const QString& name, bool holdingThePort)
    {
        write(QStringLiteral("/proc/%1/comm").arg(pid), name.toUtf8() + '\n');
        QDir().mkpath(root() + QStringLiteral("/proc/%1/fd").arg(pid));
        if (holdingThePort)
            link(QStringLiteral("/proc/%1/fd/7").arg(pid), root() + "/dev/ttyUSB0");
    }

private:
    QTemporaryDir dir_;
    int master_ = -1;
    int slave_ = -1;
};

QString problems(const ConnectionReport& report)
{
    QStringList found;
    for (const CheckStep& step : report.steps)
        if (step.verdict == Verdict::Problem)
            found << step.finding + QStringLiteral(" => ") + step.advice;
    return found.join(u'\n');
}

} // namespace

class ConnectionCheckTest : public QObject {
    Q_OBJECT

private slots:
    void diagnoses_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("port"); // named on the command line; "" the cable's
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QStringList>("problems"); // what the problems say, in order; "" none
        QTest::addColumn<QString>("alsoSaid");     // a finding or advice among all the steps

        QTest::newRow("nothing plugged")
            << "unplugged" << QString() << false
            << QStringList{"none is plugged in => Plug the KOR-USB cable in",
                           "the cable could not be opened"}
            << "not installed; the serial port of the kernel's driver is used";
        QTest::newRow("permission denied")
            << "denied" << QString() << true
            << QStringList{"/dev/ttyUSB0: owner root, group dialout, mode 660; user anna may not "
                           "open it => sudo usermod -aG dialout anna, then log out and in again."}
            << "\u201cVELKOR\u201d (0403:6001) at 1-2, driver: ftdi_sio, port: /dev/ttyUSB0";
        QTest::newRow("added to the group, not logged in again")
            << "denied-new-member" << QString() << true
            << QStringList{"may not open it => You have been added to the group dialout: log out "
                           "and in again."}
            << "";
        QTest::newRow("port busy")
            << "busy" << QString() << false
            << QStringList{"held by: ModemManager (pid 612) => Stop ModemManager: sudo systemctl "
                           "stop ModemManager",
                           "no answer to the greeting"}
            << "";
        QTest::newRow("brltty running") << "brltty" << QString() << true << QStringList()
                                        << "running: brltty (pid 733); it may take serial ports";
        QTest::newRow("kernel driver holds the cable, library installed")
            << "library" << QString() << true << QStringList()
            << "echo -n 1-2:1.0 | sudo tee /sys/bus/usb/drivers/ftdi_sio/unbind";
        QTest::newRow("module silent")
            << "silent" << QString() << false
            << QStringList{"no answer to the greeting => Check that the module has power"} << "";
        QTest::newRow("bad check bytes")
            << "garbled" << QString() << false
            << QStringList{"answers with bad check bytes (1f 46 65) => Check the wiring"} << "";
        QTest::newRow("another converter, no cable")
            << "other-converter" << QString() << true
            << QStringList{"no KOR-USB cable (product \u201cVELKOR\u201d) among them"}
            << "\u201cFT232R USB UART\u201d";
        QTest::newRow("denied, the package's rule installed")
            << "denied-rule" << QString() << true
            << QStringList{"may not open it => The udev rule "
                           "/usr/lib/udev/rules.d/70-q540-cable.rules gives the user at the "
                           "computer the cable's port: unplug the KOR-USB cable and plug it in"}
            << "";
        QTest::newRow("denied, the rule switched off in /etc")
            << "denied-rule-masked" << QString() << true
            << QStringList{"may not open it => sudo usermod -aG dialout anna"} << "";
        QTest::newRow("denied, the rule there, another converter's port named")
            << "denied-rule-other-converter"
            << "/dev/ttyUSB0" << true
            << QStringList{"may not open it => sudo usermod -aG dialout anna"} << "";
        QTest::newRow("denied, only the owner may open it")
            << "denied-owner-only" << QString() << true
            << QStringList{"mode 600; user anna may not open it => Install the program's package"}
            << "";
        QTest::newRow("a file named, serial ports there")
            << "well"
            << "/dev/notes.txt" << true
            << QStringList{"/dev/notes.txt: a regular file, not a serial port => Choose the "
                           "cable's serial port instead; there are: /dev/ttyUSB0."}
            << "";
        QTest::newRow("all well") << "well" << QString() << true << QStringList()
                                  << "read: 12 entries, language PL";
    }

    void diagnoses()
    {
        QFETCH(QString, setup);
        QFETCH(QString, port);
        QFETCH(bool, answered);
        QFETCH(QStringList, problems);
        QFETCH(QString, alsoSaid);
        FakeSystem system;
        sim::ModuleEmulator module;
        module.setEntryCount(12);
        module.setLanguageCode(1);
        module.setPlugged(setup != u"unplugged");
        if (setup != u"unplugged")
            system.plugInCable(setup.endsWith(u"other-converter")
                                   ? QStringLiteral("FT232R USB UART")
                                   : QStringLiteral("VELKOR"),
                               QStringLiteral("ftdi_sio"),
                               setup == u"denied-owner-only" ? 0600
                               : setup.startsWith(u"denied") ? 0660
                                                             : 0666);
        if (setup == u"denied-new-member")
            system.groupMembers(QStringLiteral("anna"));
        if (setup.startsWith(u"denied-rule"))
            system.installRule(QStringLiteral("/usr/lib/udev/rules.d"));
        if (setup == u"denied-rule-masked")
            system.link(QStringLiteral("/etc/udev/rules.d/70-q540-cable.rules"),
                        QStringLiteral("/dev/null"));
        if (!port.isEmpty() && port != u"/dev/ttyUSB0")
            system.write(port, QByteArray("notes\n"));
        if (setup == u"busy") {
            system.run(612, QStringLiteral("ModemManager"), true);
            module.injectFault(sim::FaultKind::NoReply);
        }
        if (setup == u"brltty")
            system.run(733, QStringLiteral("brltty"), false);
        if (setup == u"library")
            system.installLibrary();
        if (setup == u"silent")
            module.injectFault(sim::FaultKind::NoReply);
        if (setup == u"garbled")
            module.injectFault(sim::FaultKind::BadCheckByte);
        system.run(1, QStringLiteral("systemd"), false);

        const LinuxSystemProbe probe(system.root());
        sim::VirtualClock clock;
        sim::EmulatedLink link(module, clock);
        const ConnectionReport report = checkConnection({&probe, link, clock, port}, 1);

        const QString said = reportText(report, 1);
        QCOMPARE(report.moduleAnswered, answered);
        const QString found = ::problems(report);
        const QStringList lines = found.isEmpty() ? QStringList() : found.split(u'\n');
        QCOMPARE(lines.size(), problems.size());
        for (qsizetype i = 0; i < problems.size(); ++i)
            QVERIFY2(lines[i].contains(problems[i]), qPrintable(said));
        QVERIFY2(said.contains(alsoSaid), qPrintable(said));
        QVERIFY(!link.isOpen());
    }

    // The same report in each program language: no step is left untranslated.
    void languages_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("module");
        QTest::newRow("pl") << 0 << "Moduł: odpowiedział: Q540 (kod urządzenia 70)";
        QTest::newRow("en") << 1 << "Module: answered: Q540 (device code 70)";
        QTest::newRow("de") << 2 << "Modul: hat geantwortet: Q540 (Gerätecode 70)";
    }

    void languages()
    {
        QFETCH(int, language);
        QFETCH(QString, module);
        FakeSystem system;
        system.plugInCable(QStringLiteral("VELKOR"), QStringLiteral("ftdi_sio"), 0660);
        sim::ModuleEmulator emulated;
        sim::VirtualClock clock;
        sim::EmulatedLink link(emulated, clock);
        const LinuxSystemProbe probe(system.root());
        const ConnectionReport report = checkConnection({&probe, link, clock, {}}, language);
        const QString text = reportText(report, language);
        QVERIFY2(text.contains(module), qPrintable(text));
        QStringList others = {QStringLiteral("What to do"), QStringLiteral("Was tun"),
                              QStringLiteral("Co zrobić")};
        others.removeAt(language == 0 ? 2 : language == 1 ? 0 : 1);
        for (const QString& other : others)
            QVERIFY2(!text.contains(other), qPrintable(text));
    }

    // The demo's module: no system to look at, only the module.
    void withoutASystem()
    {
        sim::ModuleEmulator module;
        module.setEntryCount(5);
        module.setLanguageCode(2);
        sim::VirtualClock clock;
        sim::EmulatedLink link(module, clock);
        link.modelCable({});
        const ConnectionReport report = checkConnection({nullptr, link, clock, {}}, 1);
        QVERIFY(report.moduleAnswered);
        QCOMPARE(reportText(report, 1),
                 QStringLiteral("[ok] Module: answered: Q540 (device code 70)\n"
                                "[ok] Module configuration: read: 5 entries, language EN\n"
                                "[ok] Chip's latency timer: 1 ms\n"));
    }
};

QTEST_GUILESS_MAIN(ConnectionCheckTest)
#include "tst_connectioncheck.moc"
