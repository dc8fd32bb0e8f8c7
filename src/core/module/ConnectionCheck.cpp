#include "module/ConnectionCheck.h"

#include "base/FixedTexts.h"
#include "device/Link.h"
#include "device/SerialLink.h"
#include "device/SystemProbe.h"
#include "module/Identification.h"
#include "module/ModuleStatus.h"
#include "protocol/ConfigurationBlock.h"
#include "protocol/Protocol.h"

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
    void add(Verdict verdict, FixedText title, const QString& finding, const QString& advice = {})
    {
        report_.steps.push_back({verdict, say(title), finding, advice});
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
        const PortFacts port = s_.system->port(portPath_);
        if (!port.exists) {
            add(Verdict::Problem, FixedText::CheckPortTitle,
                say(FixedText::CheckPortMissing).arg(portPath_), say(FixedText::CheckPortName));
            return;
        }
        const UserFacts me = s_.system->user();
        const QString facts =
            say(FixedText::CheckPortFacts)
                .arg(portPath_, port.owner, port.group, QString::number(port.mode, 8));
        if (port.userMayOpen) {
            add(Verdict::Good, FixedText::CheckPortTitle,
                say(FixedText::CheckPortAllowed).arg(facts, me.name));
            return;
        }
        const QString advice = me.inGroupsFile.contains(port.group)
                                   ? say(FixedText::CheckLogInAgain).arg(port.group)
                                   : say(FixedText::CheckJoinGroup).arg(port.group, me.name);
        add(Verdict::Problem, FixedText::CheckPortTitle,
            say(FixedText::CheckPortDenied).arg(facts, me.name), advice);
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

    void holders()
    {
        if (portPath_.isEmpty())
            return;
        const std::vector<ProcessFacts> holding = s_.system->processesUsing(portPath_);
        if (!holding.empty()) {
            add(Verdict::Problem, FixedText::CheckHoldersTitle,
                say(FixedText::CheckHeldBy).arg(named(holding)), adviceFor(holding));
            return;
        }
        // Another user's processes cannot be looked into; those known to
        // take serial ports are named when they run.
        const std::vector<ProcessFacts> suspects = s_.system->processesNamed(
            {QStringLiteral("ModemManager"), QStringLiteral("brltty"), QStringLiteral("q540"),
             QStringLiteral("q540-demo"), QStringLiteral("q540-cli")});
        if (suspects.empty())
            add(Verdict::Good, FixedText::CheckHoldersTitle, say(FixedText::CheckHoldersNone));
        else
            add(Verdict::Note, FixedText::CheckHoldersTitle,
                say(FixedText::CheckSuspects).arg(named(suspects)), adviceFor(suspects));
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
                say(FixedText::CheckPlugTheCable));
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
