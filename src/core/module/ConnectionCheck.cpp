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

// In the order of kTexts.
enum class Say {
    LibraryTitle,
    LibraryFound,
    LibraryMissing,
    DevicesTitle,
    DevicesNone,
    DevicesNoCable,
    PlugTheCable,
    Device,
    NoDriver,
    HeldByKernelDriver,
    FreeFromKernelDriver,
    PortTitle,
    PortMissing,
    CheckPortName,
    PortFacts,
    PortAllowed,
    PortDenied,
    LogInAgain,
    JoinGroup,
    HoldersTitle,
    HoldersNone,
    HeldBy,
    Suspects,
    StopModemManager,
    RemoveBrltty,
    CloseOtherProgram,
    CloseProgram,
    LatencyTitle,
    LatencyInForce,
    LatencyHigh,
    LatencyUnknown,
    ModuleTitle,
    ModuleAnswered,
    ModuleSilent,
    CheckPowerAndSocket,
    ModuleGarbled,
    CheckWiring,
    ModuleOlder,
    UseOlderProgram,
    ModuleOther,
    NotOpened,
    ConfigurationTitle,
    ConfigurationRead,
    ConfigurationMissing,
    TryAgain,
    AdviceLabel,
};

constexpr LanguageRow kTexts[] = {
    {u"Biblioteka producenta (D2XX)", u"Vendor library (D2XX)", u"Herstellerbibliothek (D2XX)"},
    {u"zainstalowana: %1", u"installed: %1", u"installiert: %1"},
    {u"nie zainstalowana; używany jest port szeregowy sterownika jądra",
     u"not installed; the serial port of the kernel's driver is used",
     u"nicht installiert; die serielle Schnittstelle des Kerneltreibers wird benutzt"},
    {u"Urządzenia USB FTDI (0403)", u"FTDI USB devices (0403)", u"FTDI-USB-Geräte (0403)"},
    {u"żadne nie jest podłączone", u"none is plugged in", u"keines ist angeschlossen"},
    {u"brak kabla KOR-USB (produkt „VELKOR”) wśród nich",
     u"no KOR-USB cable (product \u201cVELKOR\u201d) among them",
     u"kein KOR-USB-Kabel (Produkt \u201eVELKOR\u201c) darunter"},
    {u"Podłącz kabel KOR-USB; spróbuj innego gniazda USB.",
     u"Plug the KOR-USB cable in; try another USB socket.",
     u"Das KOR-USB-Kabel anschließen; eine andere USB-Buchse versuchen."},
    {u"„%1” (0403:%2) na %3, sterownik: %4, port: %5",
     u"\u201c%1\u201d (0403:%2) at %3, driver: %4, port: %5",
     u"\u201e%1\u201c (0403:%2) an %3, Treiber: %4, Anschluss: %5"},
    {u"brak", u"none", u"keiner"},
    {u"Biblioteka producenta nie otworzy kabla, dopóki trzyma go sterownik jądra ftdi_sio; "
     u"używany jest port %1.",
     u"The vendor library cannot open the cable while the kernel's ftdi_sio driver holds it; "
     u"the port %1 is used instead.",
     u"Die Herstellerbibliothek kann das Kabel nicht öffnen, solange der Kerneltreiber ftdi_sio "
     u"es hält; stattdessen wird %1 benutzt."},
    {u"Aby używać biblioteki, zwolnij kabel: echo -n %1 | sudo tee "
     u"/sys/bus/usb/drivers/ftdi_sio/unbind",
     u"To use the library, free the cable: echo -n %1 | sudo tee "
     u"/sys/bus/usb/drivers/ftdi_sio/unbind",
     u"Um die Bibliothek zu benutzen, das Kabel freigeben: echo -n %1 | sudo tee "
     u"/sys/bus/usb/drivers/ftdi_sio/unbind"},
    {u"Port kabla", u"Cable port", u"Anschluss des Kabels"},
    {u"%1 nie istnieje", u"%1 does not exist", u"%1 existiert nicht"},
    {u"Sprawdź nazwę portu (ls /dev/ttyUSB*).", u"Check the port's name (ls /dev/ttyUSB*).",
     u"Den Namen des Anschlusses prüfen (ls /dev/ttyUSB*)."},
    {u"%1: właściciel %2, grupa %3, prawa %4", u"%1: owner %2, group %3, mode %4",
     u"%1: Besitzer %2, Gruppe %3, Rechte %4"},
    {u"%1; użytkownik %2 może go otworzyć", u"%1; user %2 may open it",
     u"%1; Benutzer %2 darf ihn öffnen"},
    {u"%1; użytkownik %2 nie może go otworzyć", u"%1; user %2 may not open it",
     u"%1; Benutzer %2 darf ihn nicht öffnen"},
    {u"Dodano cię do grupy %1: wyloguj się i zaloguj ponownie.",
     u"You have been added to the group %1: log out and in again.",
     u"Sie wurden der Gruppe %1 hinzugefügt: ab- und wieder anmelden."},
    {u"sudo usermod -aG %1 %2, potem zaloguj się ponownie; albo zainstaluj pakiet programu, "
     u"którego reguła udev daje dostęp do kabla użytkownikowi przy komputerze.",
     u"sudo usermod -aG %1 %2, then log in again; or install the program's package, whose "
     u"udev rule gives the user at the computer access to the cable.",
     u"sudo usermod -aG %1 %2, dann neu anmelden; oder das Paket des Programms installieren, "
     u"dessen udev-Regel dem Benutzer am Rechner Zugriff auf das Kabel gibt."},
    {u"Inne programy na porcie", u"Other programs on the port", u"Andere Programme am Anschluss"},
    {u"żaden", u"none", u"keines"},
    {u"port trzyma: %1", u"held by: %1", u"gehalten von: %1"},
    {u"działa: %1; może zajmować porty szeregowe", u"running: %1; it may take serial ports",
     u"läuft: %1; es kann serielle Anschlüsse belegen"},
    {u"Zatrzymaj ModemManager: sudo systemctl stop ModemManager (reguła udev pakietu trzyma go "
     u"z dala od kabla).",
     u"Stop ModemManager: sudo systemctl stop ModemManager (the package's udev rule keeps it "
     u"away from the cable).",
     u"ModemManager anhalten: sudo systemctl stop ModemManager (die udev-Regel des Pakets hält "
     u"ihn vom Kabel fern)."},
    {u"Usuń brltty, który zajmuje porty USB: sudo apt remove brltty",
     u"Remove brltty, which takes USB serial ports: sudo apt remove brltty",
     u"brltty entfernen, das USB-Anschlüsse belegt: sudo apt remove brltty"},
    {u"Zamknij drugi program Q540.", u"Close the other Q540 program.",
     u"Das andere Q540-Programm schließen."},
    {u"Zamknij %1.", u"Close %1.", u"%1 schließen."},
    {u"Zegar opóźnienia układu", u"Chip's latency timer", u"Latenz-Timer des Chips"},
    {u"%1 ms", u"%1 ms", u"%1 ms"},
    {u"%1 ms; program prosi o %2 ms przy otwarciu portu",
     u"%1 ms; the program asks for %2 ms when it opens the port",
     u"%1 ms; das Programm verlangt %2 ms beim Öffnen des Anschlusses"},
    {u"nie da się go tu odczytać", u"cannot be read here", u"kann hier nicht gelesen werden"},
    {u"Moduł", u"Module", u"Modul"},
    {u"odpowiedział: Q540 (kod urządzenia %1)", u"answered: Q540 (device code %1)",
     u"hat geantwortet: Q540 (Gerätecode %1)"},
    {u"brak odpowiedzi na powitanie", u"no answer to the greeting",
     u"keine Antwort auf die Begrüßung"},
    {u"Sprawdź, czy moduł jest zasilany i czy kabel jest w gnieździe modułu.",
     u"Check that the module has power and that the cable is in the module's socket.",
     u"Prüfen, ob das Modul Strom hat und das Kabel in der Buchse des Moduls steckt."},
    {u"odpowiada z błędną sumą kontrolną (%1)", u"answers with bad check bytes (%1)",
     u"antwortet mit falschen Prüfbytes (%1)"},
    {u"Sprawdź przewody i złącze; poprowadź kabel z dala od przewodów sieciowych (zakłócenia).",
     u"Check the wiring and the connector; keep the cable away from mains cables (noise).",
     u"Verdrahtung und Stecker prüfen; das Kabel von Netzleitungen fernhalten (Störungen)."},
    {u"starszy moduł, wersja 4.3 (kod urządzenia %1)",
     u"an older module, version 4.3 (device code %1)",
     u"ein älteres Modul, Version 4.3 (Gerätecode %1)"},
    {u"Do tego modułu użyj starszej wersji programu.",
     u"Use the older version of the program for this module.",
     u"Für dieses Modul die ältere Version des Programms benutzen."},
    {u"odpowiedziało urządzenie innego rodzaju (kod %1)",
     u"a device of another kind answered (code %1)",
     u"ein Gerät anderer Art hat geantwortet (Code %1)"},
    {u"nie udało się otworzyć kabla", u"the cable could not be opened",
     u"das Kabel konnte nicht geöffnet werden"},
    {u"Konfiguracja modułu", u"Module configuration", u"Modulkonfiguration"},
    {u"odczytana: wpisów %1, język %2", u"read: %1 entries, language %2",
     u"gelesen: %1 Einträge, Sprache %2"},
    {u"nie nadeszła", u"did not arrive", u"ist nicht angekommen"},
    {u"Spróbuj ponownie; jeśli się powtarza, sprawdź przewody.",
     u"Try again; if it happens again, check the wiring.",
     u"Erneut versuchen; wenn es wieder geschieht, die Verdrahtung prüfen."},
    {u"Co zrobić", u"What to do", u"Was tun"},
};

static_assert(std::size(kTexts) == static_cast<std::size_t>(Say::AdviceLabel) + 1);

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
    QString say(Say what) const
    {
        return textIn(kTexts[static_cast<std::size_t>(what)], language_);
    }
    void add(Verdict verdict, Say title, const QString& finding, const QString& advice = {})
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
            add(Verdict::Note, Say::LibraryTitle, say(Say::LibraryMissing));
        else
            add(Verdict::Good, Say::LibraryTitle, say(Say::LibraryFound).arg(libraryPath_));
    }

    void devices()
    {
        devices_ = s_.system->ftdiDevices();
        // A port named by the user may be any serial port: without the
        // cable the check goes on there.
        const Verdict missing = s_.port.isEmpty() ? Verdict::Problem : Verdict::Note;
        if (devices_.empty()) {
            add(missing, Say::DevicesTitle, say(Say::DevicesNone), say(Say::PlugTheCable));
            return;
        }
        for (const UsbSerialDevice& d : devices_) {
            const bool isCable = &d == cable();
            add(isCable ? Verdict::Good : Verdict::Note, Say::DevicesTitle,
                say(Say::Device)
                    .arg(d.product, d.productId, d.busId,
                         d.driver.isEmpty() ? say(Say::NoDriver) : d.driver,
                         d.tty.isEmpty() ? QStringLiteral("–") : QStringLiteral("/dev/") + d.tty));
        }
        if (!cable())
            add(missing, Say::DevicesTitle, say(Say::DevicesNoCable), say(Say::PlugTheCable));
    }

    void kernelDriverHoldsTheCable()
    {
        const UsbSerialDevice* c = cable();
        if (libraryPath_.isEmpty() || !c || c->driver != QLatin1String("ftdi_sio"))
            return;
        add(Verdict::Note, Say::DevicesTitle,
            say(Say::HeldByKernelDriver).arg(QStringLiteral("/dev/") + c->tty),
            say(Say::FreeFromKernelDriver).arg(c->interface));
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
            add(Verdict::Problem, Say::PortTitle, say(Say::PortMissing).arg(portPath_),
                say(Say::CheckPortName));
            return;
        }
        const UserFacts me = s_.system->user();
        const QString facts =
            say(Say::PortFacts)
                .arg(portPath_, port.owner, port.group, QString::number(port.mode, 8));
        if (port.userMayOpen) {
            add(Verdict::Good, Say::PortTitle, say(Say::PortAllowed).arg(facts, me.name));
            return;
        }
        const QString advice = me.inGroupsFile.contains(port.group)
                                   ? say(Say::LogInAgain).arg(port.group)
                                   : say(Say::JoinGroup).arg(port.group, me.name);
        add(Verdict::Problem, Say::PortTitle, say(Say::PortDenied).arg(facts, me.name), advice);
    }

    QString adviceFor(const QString& program) const
    {
        if (program == QLatin1String("ModemManager"))
            return say(Say::StopModemManager);
        if (program == QLatin1String("brltty"))
            return say(Say::RemoveBrltty);
        if (program.startsWith(QLatin1String("q540")))
            return say(Say::CloseOtherProgram);
        return say(Say::CloseProgram).arg(program);
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
            add(Verdict::Problem, Say::HoldersTitle, say(Say::HeldBy).arg(named(holding)),
                adviceFor(holding));
            return;
        }
        // Another user's processes cannot be looked into; those known to
        // take serial ports are named when they run.
        const std::vector<ProcessFacts> suspects = s_.system->processesNamed(
            {QStringLiteral("ModemManager"), QStringLiteral("brltty"), QStringLiteral("q540"),
             QStringLiteral("q540-demo"), QStringLiteral("q540-cli")});
        if (suspects.empty())
            add(Verdict::Good, Say::HoldersTitle, say(Say::HoldersNone));
        else
            add(Verdict::Note, Say::HoldersTitle, say(Say::Suspects).arg(named(suspects)),
                adviceFor(suspects));
    }

    void module()
    {
        using Result = IdentificationOutcome::Result;
        const IdentificationOutcome outcome = identifyModule(s_.link, s_.clock, true);
        latency_ = outcome.latencyTimerMs;
        switch (outcome.result) {
        case Result::NoCable: {
            const QString problem = openProblemText(outcome.openProblem, outcome.port, language_);
            add(Verdict::Problem, Say::ModuleTitle,
                problem.isEmpty() ? say(Say::NotOpened) : problem, say(Say::PlugTheCable));
            return;
        }
        case Result::NoAnswer:
            if (outcome.helloReply.isEmpty())
                add(Verdict::Problem, Say::ModuleTitle, say(Say::ModuleSilent),
                    say(Say::CheckPowerAndSocket));
            else
                add(Verdict::Problem, Say::ModuleTitle,
                    say(Say::ModuleGarbled).arg(QString::fromLatin1(outcome.helloReply.toHex(' '))),
                    say(Say::CheckWiring));
            return;
        case Result::Unsupported:
            report_.moduleAnswered = true;
            if (outcome.deviceCode == protocol::kDeviceCodeVersion43)
                add(Verdict::Problem, Say::ModuleTitle,
                    say(Say::ModuleOlder).arg(outcome.deviceCode), say(Say::UseOlderProgram));
            else
                add(Verdict::Problem, Say::ModuleTitle,
                    say(Say::ModuleOther).arg(outcome.deviceCode));
            return;
        case Result::ModuleKnown:
        case Result::ConfigurationMissing:
        case Result::ConfigurationRead:
            break;
        }
        report_.moduleAnswered = true;
        add(Verdict::Good, Say::ModuleTitle, say(Say::ModuleAnswered).arg(outcome.deviceCode));
        if (!outcome.nibbles) {
            add(Verdict::Problem, Say::ConfigurationTitle, say(Say::ConfigurationMissing),
                say(Say::TryAgain));
            return;
        }
        const protocol::ConfigurationFields fields =
            protocol::decodeConfiguration(*outcome.nibbles);
        const int entries = fields.countField + 1; // as the status counts them
        const QString language = QString::fromLatin1(protocol::languageName(fields.languageCode));
        add(Verdict::Good, Say::ConfigurationTitle,
            say(Say::ConfigurationRead)
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
                add(Verdict::Note, Say::LatencyTitle, say(Say::LatencyUnknown));
            return;
        }
        if (*ms <= protocol::kLatencyTimerMs)
            add(Verdict::Good, Say::LatencyTitle, say(Say::LatencyInForce).arg(*ms));
        else
            add(Verdict::Note, Say::LatencyTitle,
                say(Say::LatencyHigh).arg(*ms).arg(protocol::kLatencyTimerMs));
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
                        .arg(textIn(kTexts[static_cast<std::size_t>(Say::AdviceLabel)], language),
                             step.advice);
    }
    return text;
}

} // namespace q540
