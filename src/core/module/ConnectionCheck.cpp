#include "module/ConnectionCheck.h"

#include "base/FixedTexts.h"
#include "device/Link.h"
#include "device/SerialLink.h"
#include "device/SystemProbe.h"
#include "module/Identification.h"
#include "module/ModuleStatus.h"
#include "protocol/ConfigurationBlock.h"
#include "protocol/Protocol.h"

#include <algorithm>

namespace q540 {

namespace {

using Verdict = CheckStep::Verdict;

class Checker {
public:
    Checker(const CheckSubject& subject, int language) : s_(subject), language_(language) {}

    ConnectionReport run()
    {
        if (s_.system) {
            library();
            devices();
            kernelDriverHoldsTheCable();
            cablePort();
            holders();
        }
        module();
        latency();
        return std::move(report_);
    }

private:
    QString say(FixedText what) const { return fixedText(what, language_); }
    // An advice an earlier step gave already (the port's, when the module
    // step fails to open the same port) is not said twice.
    void add(Verdict verdict, FixedText title, const QString& finding, const QString& advice = {})
    {
        const bool given = std::any_of(report_.steps.begin(), report_.steps.end(),
                                       [&](const CheckStep& s) { return s.advice == advice; });
        report_.steps.push_back({verdict, say(title), finding, given ? QString() : advice});
    }

    const UsbSerialDevice* cable() const
    {
        for (const UsbSerialDevice& d : devices_)
            if (d.product == QLatin1String(protocol::kDeviceDescription))
                return &d;
        return nullptr;
    }

    void library()
    {
        libraryPath_ = s_.system->vendorLibrary();
        if (libraryPath_.isEmpty())
            add(Verdict::Note, FixedText::CheckLibraryTitle, say(FixedText::CheckLibraryMissing));
        else
            add(Verdict::Good, FixedText::CheckLibraryTitle,
                say(FixedText::CheckLibraryFound).arg(libraryPath_));
    }

    void devices()
    {
        devices_ = s_.system->ftdiDevices();
        // A port named by the user may be any serial port: without the
        // cable the check goes on there.
        const Verdict missing = s_.port.isEmpty() ? Verdict::Problem : Verdict::Note;
        if (devices_.empty()) {
            add(missing, FixedText::CheckDevicesTitle, say(FixedText::CheckDevicesNone),
                say(FixedText::CheckPlugTheCable));
            return;
        }
        for (const UsbSerialDevice& d : devices_) {
            const bool isCable = &d == cable();
            add(isCable ? Verdict::Good : Verdict::Note, FixedText::CheckDevicesTitle,
                say(FixedText::CheckDevice)
                    .arg(d.product, d.productId, d.busId,
                         d.driver.isEmpty() ? say(FixedText::CheckNoDriver) : d.driver,
                         d.tty.isEmpty() ? QStringLiteral("–") : QStringLiteral("/dev/") + d.tty));
        }
        if (!cable())
            add(missing, FixedText::CheckDevicesTitle, say(FixedText::CheckDevicesNoCable),
                say(FixedText::CheckPlugTheCable));
    }

    void kernelDriverHoldsTheCable()
    {
        const UsbSerialDevice* c = cable();
        if (libraryPath_.isEmpty() || !c || c->driver != QLatin1String("ftdi_sio"))
            return;
        add(Verdict::Note, FixedText::CheckDevicesTitle,
            say(FixedText::CheckHeldByKernelDriver).arg(QStringLiteral("/dev/") + c->tty),
            say(FixedText::CheckFreeFromKernelDriver).arg(c->interface));
    }

    void cablePort()
    {
        if (!s_.port.isEmpty())
            portPath_ = portPath(s_.port);
        else if (const UsbSerialDevice* c = cable(); c && !c->tty.isEmpty())
            portPath_ = QStringLiteral("/dev/") + c->tty;
        if (portPath_.isEmpty())
            return;
        port_ = s_.system->port(portPath_);
        if (port_.kind == PortKind::Missing) {
            add(Verdict::Problem, FixedText::CheckPortTitle,
                say(FixedText::CheckPortMissing).arg(portPath_),
                adviceFor(OpenProblem::NoSuchPort, portPath_));
            return;
        }
        if (port_.kind != PortKind::Terminal) {
            add(Verdict::Problem, FixedText::CheckPortTitle,
                say(FixedText::CheckPortNotSerial).arg(portPath_, say(kindText(port_.kind))),
                adviceFor(OpenProblem::NotATerminal, portPath_));
            return;
        }
        const QString facts =
            say(FixedText::CheckPortFacts)
                .arg(portPath_, port_.owner, port_.group, QString::number(port_.mode, 8));
        const QString me = s_.system->user().name;
        if (port_.userMayOpen)
            add(Verdict::Good, FixedText::CheckPortTitle,
                say(FixedText::CheckPortAllowed).arg(facts, me));
        else
            add(Verdict::Problem, FixedText::CheckPortTitle,
                say(FixedText::CheckPortDenied).arg(facts, me),
                adviceFor(OpenProblem::PermissionDenied, portPath_));
    }

    static FixedText kindText(PortKind kind)
    {
        switch (kind) {
        case PortKind::File:
            return FixedText::CheckKindFile;
        case PortKind::Fifo:
            return FixedText::CheckKindFifo;
        case PortKind::Folder:
            return FixedText::CheckKindFolder;
        case PortKind::Device:
            return FixedText::CheckKindDevice;
        case PortKind::Socket:
            return FixedText::CheckKindSocket;
        case PortKind::Missing:
        case PortKind::Terminal:
        case PortKind::Other:
            break;
        }
        return FixedText::CheckKindOther;
    }

    // One advice for each reason a port cannot be used, whichever step
    // finds it: the port's own step or the module's failed open.
    QString adviceFor(OpenProblem problem, const QString& port) const
    {
        switch (problem) {
        case OpenProblem::None:
        case OpenProblem::NoCable:
            break;
        case OpenProblem::NoSuchPort:
            return say(FixedText::CheckPlugTheCable) + u' ' + say(FixedText::CheckPortName);
        case OpenProblem::NotATerminal: {
            const QStringList ports = s_.system ? s_.system->serialPorts() : QStringList();
            return ports.isEmpty() ? say(FixedText::CheckChooseNoPort)
                                   : say(FixedText::CheckChoosePort).arg(ports.join(u", "));
        }
        case OpenProblem::PermissionDenied:
            return permissionAdvice();
        case OpenProblem::PortBusy:
            return programs_.empty() ? say(FixedText::CheckFreePort).arg(port)
                                     : adviceFor(programs_);
        }
        return say(FixedText::CheckPlugTheCable);
    }

    // The fix that works for this port: the package's rule where it covers
    // the port (it applies when the cable is plugged in), else the group the
    // device lets read and write, else the rule. Joining root is no fix: it
    // hands the user the whole system.
    QString permissionAdvice() const
    {
        const UserFacts me = s_.system ? s_.system->user() : UserFacts{};
        if (isCablePort())
            if (const QString rule = s_.system->udevRule(); !rule.isEmpty())
                return say(FixedText::CheckReconnectCable).arg(rule);
        const bool groupMayOpen =
            (port_.mode & 0060) == 0060 && port_.group != QLatin1String("root");
        if (groupMayOpen)
            return me.inGroupsFile.contains(port_.group)
                       ? say(FixedText::CheckLogInAgain).arg(port_.group)
                       : say(FixedText::CheckJoinGroup).arg(port_.group, me.name);
        return say(FixedText::CheckInstallRule).arg(QLatin1String(kUdevRuleName));
    }

    bool isCablePort() const
    {
        const UsbSerialDevice* c = cable();
        return c && !c->tty.isEmpty() && portPath_ == QStringLiteral("/dev/") + c->tty;
    }

    QString adviceFor(const QString& program) const
    {
        if (program == QLatin1String("ModemManager"))
            return say(FixedText::CheckStopModemManager);
        if (program == QLatin1String("brltty"))
            return say(FixedText::CheckRemoveBrltty);
        if (program.startsWith(QLatin1String("q540")))
            return say(FixedText::CheckCloseOtherProgram);
        return say(FixedText::CheckCloseProgram).arg(program);
    }

    static QString named(const std::vector<ProcessFacts>& processes)
    {
        QStringList names;
        for (const ProcessFacts& p : processes)
            names << QStringLiteral("%1 (pid %2)").arg(p.name).arg(p.pid);
        return names.join(QStringLiteral(", "));
    }

    QString adviceFor(const std::vector<ProcessFacts>& processes) const
    {
        QStringList advice;
        for (const ProcessFacts& p : processes)
            if (const QString a = adviceFor(p.name); !advice.contains(a))
                advice << a;
        return advice.join(u' ');
    }

    // Only a terminal can be held as the cable's port; a file or another
    // device is open in many programs that have nothing to do with it.
    void holders()
    {
        if (port_.kind != PortKind::Terminal)
            return;
        programs_ = s_.system->processesUsing(portPath_);
        if (!programs_.empty()) {
            add(Verdict::Problem, FixedText::CheckHoldersTitle,
                say(FixedText::CheckHeldBy).arg(named(programs_)), adviceFor(programs_));
            return;
        }
        // Another user's processes cannot be looked into; those known to
        // take serial ports are named when they run.
        programs_ = s_.system->processesNamed(
            {QStringLiteral("ModemManager"), QStringLiteral("brltty"), QStringLiteral("q540"),
             QStringLiteral("q540-demo"), QStringLiteral("q540-cli")});
        if (programs_.empty())
            add(Verdict::Good, FixedText::CheckHoldersTitle, say(FixedText::CheckHoldersNone));
        else
            add(Verdict::Note, FixedText::CheckHoldersTitle,
                say(FixedText::CheckSuspects).arg(named(programs_)), adviceFor(programs_));
    }

    void module()
    {
        using Result = IdentificationOutcome::Result;
        const IdentificationOutcome outcome = identifyModule(s_.link, s_.clock, true);
        latency_ = outcome.latencyTimerMs;
        switch (outcome.result) {
        case Result::NoCable: {
            const QString problem = openProblemText(outcome.openProblem, outcome.port, language_);
            add(Verdict::Problem, FixedText::Module,
                problem.isEmpty() ? say(FixedText::CheckNotOpened) : problem,
                adviceFor(outcome.openProblem, outcome.port));
            return;
        }
        case Result::NoAnswer:
            if (outcome.helloReply.isEmpty())
                add(Verdict::Problem, FixedText::Module, say(FixedText::CheckModuleSilent),
                    say(FixedText::CheckPowerAndSocket));
            else
                add(Verdict::Problem, FixedText::Module,
                    say(FixedText::CheckModuleGarbled)
                        .arg(QString::fromLatin1(outcome.helloReply.toHex(' '))),
                    say(FixedText::CheckWiring));
            return;
        case Result::Unsupported:
            report_.moduleAnswered = true;
            if (outcome.deviceCode == protocol::kDeviceCodeVersion43)
                add(Verdict::Problem, FixedText::Module,
                    say(FixedText::CheckModuleOlder).arg(outcome.deviceCode),
                    say(FixedText::CheckUseOlderProgram));
            else
                add(Verdict::Problem, FixedText::Module,
                    say(FixedText::CheckModuleOther).arg(outcome.deviceCode));
            return;
        case Result::ModuleKnown:
        case Result::ConfigurationMissing:
        case Result::ConfigurationRead:
            break;
        }
        report_.moduleAnswered = true;
        add(Verdict::Good, FixedText::Module,
            say(FixedText::CheckModuleAnswered).arg(outcome.deviceCode));
        if (!outcome.nibbles) {
            add(Verdict::Problem, FixedText::CheckConfigurationTitle,
                say(FixedText::CheckConfigurationMissing), say(FixedText::CheckTryAgain));
            return;
        }
        const protocol::ConfigurationFields fields =
            protocol::decodeConfiguration(*outcome.nibbles);
        const int entries = fields.countField + 1; // as the status counts them
        const QString language = QString::fromLatin1(protocol::languageName(fields.languageCode));
        add(Verdict::Good, FixedText::CheckConfigurationTitle,
            say(FixedText::CheckConfigurationRead)
                .arg(entries)
                .arg(language.isEmpty() ? QString::number(fields.languageCode) : language));
    }

    void latency()
    {
        std::optional<int> ms = latency_;
        if (!ms && s_.system && portPath_.startsWith(QLatin1String("/dev/")))
            ms = s_.system->latencyTimer(portPath_.mid(5));
        if (!ms) {
            if (s_.system && !portPath_.isEmpty())
                add(Verdict::Note, FixedText::CheckLatencyTitle,
                    say(FixedText::CheckLatencyUnknown));
            return;
        }
        if (*ms <= protocol::kLatencyTimerMs)
            add(Verdict::Good, FixedText::CheckLatencyTitle,
                say(FixedText::CheckLatencyInForce).arg(*ms));
        else
            add(Verdict::Note, FixedText::CheckLatencyTitle,
                say(FixedText::CheckLatencyHigh).arg(*ms).arg(protocol::kLatencyTimerMs));
    }

    const CheckSubject& s_;
    const int language_;
    ConnectionReport report_;
    QString libraryPath_;
    std::vector<UsbSerialDevice> devices_;
    QString portPath_;
    PortFacts port_;
    // The programs that hold the port, or else those that may take it.
    std::vector<ProcessFacts> programs_;
    std::optional<int> latency_;
};

} // namespace

ConnectionReport checkConnection(const CheckSubject& subject, int language)
{
    return Checker(subject, language).run();
}

QString reportText(const ConnectionReport& report, int language)
{
    QString text;
    for (const CheckStep& step : report.steps) {
        const char* mark = step.verdict == CheckStep::Verdict::Good   ? "[ok]"
                           : step.verdict == CheckStep::Verdict::Note ? "[--]"
                                                                      : "[!!]";
        text += QStringLiteral("%1 %2: %3\n").arg(QLatin1String(mark), step.title, step.finding);
        if (!step.advice.isEmpty())
            text += QStringLiteral("     %1: %2\n")
                        .arg(fixedText(FixedText::CheckAdviceLabel, language), step.advice);
    }
    return text;
}

} // namespace q540
