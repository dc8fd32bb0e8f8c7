// The connection check's diagnoses, each on a made-up system: a folder shaped
// like sysfs, /proc, /dev and the user and group files, and the emulated
// module behind the cable.

#include "device/SerialLink.h"
#include "device/SystemProbe.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/ConnectionCheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace q540;
using Verdict = CheckStep::Verdict;

namespace {

// A pseudo-terminal whose tty side nobody holds: a port of this system that
// no module answers on.
class Pty {
public:
    Pty()
    {
        char name[128] = {};
        int slave = -1;
        if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0)
            return;
        ::close(slave);
        name_ = QString::fromLocal8Bit(name);
    }
    ~Pty() { ::close(master_); }
    QString name() const { return name_; }

private:
    int master_ = -1;
    QString name_;
};

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
        const QByteArray name = QFile::encodeName(tty_.name());
        QCOMPARE(::chown(name.constData(), ::getuid(), ::getgid()), 0);
        QCOMPARE(::chmod(name.constData(), mode_t(mode)), 0);
        link("/dev/ttyUSB0", tty_.name());
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
    Pty tty_;
};

QString problems(const ConnectionReport& report)
{
    QStringList found;
    for (const CheckStep& step : report.steps)
        if (step.verdict == Verdict::Problem)
            found << step.finding + QStringLiteral(" => ") + step.advice;
    return found.join(u'\n');
}

// The check of a port of this system in each program language, the problems
// of each, run in a child process: one that has become "nobody" when asked,
// and never this process, whose own hold on a port the check is to find.
QStringList doctorOnThisSystem(const QString& port, bool asNobody)
{
    int pipe[2] = {-1, -1};
    if (::pipe(pipe) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody
            && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        QByteArray said;
        for (int language = 0; language < 3; ++language) {
            const LinuxSystemProbe probe;
            SerialLink link(port);
            sim::VirtualClock clock;
            said +=
                problems(checkConnection({&probe, link, clock, port}, language)).toUtf8() + '\f';
        }
        ::_exit(::write(pipe[1], said.constData(), std::size_t(said.size())) == said.size() ? 0
                                                                                            : 1);
    }
    ::close(pipe[1]);
    QFile said;
    said.open(pipe[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    // A child that failed has said nothing, not three reports.
    const QStringList reports = QString::fromUtf8(said.readAll()).split(u'\f', Qt::SkipEmptyParts);
    ::waitpid(child, nullptr, 0);
    return reports;
}

} // namespace

class ConnectionCheckTest : public QObject {
    Q_OBJECT

private slots:
    void diagnoses_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QStringList>("problems"); // what the problems say, in order; "" none
        QTest::addColumn<QString>("alsoSaid");     // a finding or advice among all the steps

        QTest::newRow("nothing plugged")
            << "unplugged" << false
            << QStringList{"none is plugged in => Plug the KOR-USB cable in",
                           "the cable could not be opened"}
            << "not installed; the serial port of the kernel's driver is used";
        QTest::newRow("permission denied")
            << "denied" << true
            << QStringList{"/dev/ttyUSB0: owner root, group dialout, mode 660; user anna may not "
                           "open it => sudo usermod -aG dialout anna, then log out and in again."}
            << "\u201cVELKOR\u201d (0403:6001) at 1-2, driver: ftdi_sio, port: /dev/ttyUSB0";
        QTest::newRow("added to the group, not logged in again")
            << "denied-new-member" << true
            << QStringList{"may not open it => You have been added to the group dialout: log out "
                           "and in again."}
            << "";
        QTest::newRow("port busy")
            << "busy" << false
            << QStringList{"held by: ModemManager (pid 612) => Stop ModemManager: sudo systemctl "
                           "stop ModemManager",
                           "no answer to the greeting"}
            << "";
        QTest::newRow("brltty running") << "brltty" << true << QStringList()
                                        << "running: brltty (pid 733); it may take serial ports";
        QTest::newRow("kernel driver holds the cable, library installed")
            << "library" << true << QStringList()
            << "echo -n 1-2:1.0 | sudo tee /sys/bus/usb/drivers/ftdi_sio/unbind";
        QTest::newRow("module silent")
            << "silent" << false
            << QStringList{"no answer to the greeting => Check that the module has power"} << "";
        QTest::newRow("bad check bytes")
            << "garbled" << false
            << QStringList{"answers with bad check bytes (1f 46 65) => Check the wiring"} << "";
        QTest::newRow("another converter, no cable")
            << "other-converter" << true
            << QStringList{"no KOR-USB cable (product \u201cVELKOR\u201d) among them"}
            << "\u201cFT232R USB UART\u201d";
        QTest::newRow("denied, the package's rule installed")
            << "denied-rule" << true
            << QStringList{"may not open it => The udev rule "
                           "/usr/lib/udev/rules.d/70-q540-cable.rules gives the user at the "
                           "computer the cable's port: unplug the KOR-USB cable and plug it in"}
            << "";
        QTest::newRow("denied, the rule there, another converter's port named")
            << "denied-rule-other-converter" << true
            << QStringList{"may not open it => sudo usermod -aG dialout anna"} << "";
        QTest::newRow("a file named, serial ports there")
            << "file-named" << true
            << QStringList{"/dev/notes.txt: a regular file, not a serial port => Choose the "
                           "cable's serial port instead; there are: /dev/ttyUSB0."}
            << "";
        QTest::newRow("all well") << "well" << true << QStringList()
                                  << "read: 12 entries, language PL";
    }

    void diagnoses()
    {
        QFETCH(QString, setup);
        QFETCH(bool, answered);
        // The port named on the command line; none: the cable's.
        const QString port = setup == u"file-named"             ? QStringLiteral("/dev/notes.txt")
                             : setup.startsWith(u"denied-rule") ? QStringLiteral("/dev/ttyUSB0")
                                                                : QString();
        QFETCH(QStringList, problems);
        QFETCH(QString, alsoSaid);
        FakeSystem system;
        sim::ModuleEmulator module;
        module.setEntryCount(12);
        module.setLanguageCode(1);
        module.setPlugged(setup != u"unplugged");
        if (setup != u"unplugged")
            system.plugInCable(
                setup.endsWith(u"other-converter") ? QStringLiteral("FT232R USB UART")
                                                   : QStringLiteral("VELKOR"),
                QStringLiteral("ftdi_sio"), setup.startsWith(u"denied") ? 0660 : 0666);
        if (setup == u"denied-new-member")
            system.groupMembers(QStringLiteral("anna"));
        if (setup.startsWith(u"denied-rule"))
            system.write("/usr/lib/udev/rules.d/70-q540-cable.rules", "SUBSYSTEM==\"tty\"\n");
        if (setup == u"file-named")
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

    // The doctor on this very system, as the CLI runs it on a port named on
    // the command line: its first problem in English, what no problem may
    // say, and in each language an advice of its own. %P stands for the port,
    // %S for this program.
    void doctor_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("group"); // the pty's group, owned by root, for "nobody"
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("never");

        const int ttyGroup = ::getgrnam("tty") ? int(::getgrnam("tty")->gr_gid) : 0;
        const QString plugIn = QStringLiteral("Plug the KOR-USB cable in;");
        const QString choose = QStringLiteral(", not a serial port => Choose the cable's serial "
                                              "port instead");
        QTest::newRow("missing") << "missing" << 0 << 0
                                 << "%P does not exist => " + plugIn + " try another USB socket."
                                 << "held by";
        QTest::newRow("regular file")
            << "file" << 0 << 0 << "%P: a regular file" + choose << plugIn;
        QTest::newRow("FIFO") << "fifo" << 0 << 0 << "%P: a FIFO (named pipe)" + choose << plugIn;
        QTest::newRow("folder") << "folder" << 0 << 0 << "%P: a folder" + choose << plugIn;
        QTest::newRow("/dev/null")
            << "null" << 0 << 0 << "%P: a device of another kind" + choose << "held by";
        QTest::newRow("no permission, only root")
            << "nobody" << ttyGroup << 0600
            << "%P: owner root, group tty, mode 600; user nobody may not open it => Install the "
               "program's package: its udev rule"
            << "usermod";
        QTest::newRow("no permission, root's group")
            << "nobody" << 0 << 0660 << "mode 660; user nobody may not open it => Install"
            << "usermod";
        QTest::newRow("no permission, the tty group")
            << "nobody" << ttyGroup << 0660
            << "group tty, mode 660; user nobody may not open it => sudo usermod -aG tty nobody, "
               "then log out and in again."
            << plugIn;
        QTest::newRow("busy") << "held" << 0 << 0
                              << QStringLiteral("held by: %S (pid %1) => Close %S.").arg(::getpid())
                              << plugIn;
        QTest::newRow("module silent")
            << "pty" << 0 << 0 << "no answer to the greeting => Check that the module has power"
            << "held by";
    }

    void doctor()
    {
        QFETCH(QString, setup);
        QFETCH(int, group);
        QFETCH(int, mode);
        QFETCH(QString, problem);
        QFETCH(QString, never);
        const bool asNobody = setup == u"nobody";
        if (asNobody && ::geteuid() != 0)
            QSKIP("giving the port to root and becoming nobody takes root");
        // A program that holds /dev/null and nothing of the port: never named.
        QProcess bystander;
        bystander.setStandardInputFile(QProcess::nullDevice());
        bystander.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(bystander.waitForStarted());
        QTemporaryDir dir;
        const Pty pty;
        QString port = setup == u"null" ? QStringLiteral("/dev/null") : pty.name();
        if (QStringList{"missing", "file", "fifo", "folder"}.contains(setup))
            port = dir.filePath(setup);
        const QByteArray path = QFile::encodeName(port);
        QVERIFY(setup != u"file" || QFile(port).open(QIODevice::WriteOnly));
        QVERIFY(setup != u"fifo" || ::mkfifo(path.constData(), 0600) == 0);
        QVERIFY(setup != u"folder" || QDir().mkdir(port));
        QVERIFY(!asNobody
                || (::chown(path.constData(), 0, gid_t(group)) == 0
                    && ::chmod(path.constData(), mode_t(mode)) == 0));
        SerialLink holder(port);
        QVERIFY(setup != u"held" || holder.open());

        const QStringList reports = doctorOnThisSystem(port, asNobody);
        QCOMPARE(reports.size(), 3);
        const QString english = reports[1];
        const QString self = QCoreApplication::applicationName().left(15); // as the kernel keeps it
        QVERIFY2(english.section(u'\n', 0, 0)
                     .contains(QString(problem).replace("%P", port).replace("%S", self)),
                 qPrintable(english));
        QVERIFY2(!english.contains(never), qPrintable(english));
        // The module step, failing on the same port, does not say it again.
        QCOMPARE(english.count(english.section(u'\n', 0, 0).section(QStringLiteral(" => "), 1)), 1);
        QVERIFY2(!english.contains(QStringLiteral("pid %1").arg(bystander.processId())),
                 qPrintable(english));
        QSet<QString> advices;
        for (const QString& report : reports)
            advices << report.section(u'\n', 0, 0).section(QStringLiteral(" => "), 1);
        QVERIFY2(advices.size() == 3 && !advices.contains(QString()),
                 qPrintable(reports.join(u'\n')));
        bystander.kill();
        bystander.waitForFinished();
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
