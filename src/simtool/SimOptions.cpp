#include "simtool/SimOptions.h"

#include "base/Localisation.h"
#include "demo/DemoModule.h"
#include "files/DirectoryFile.h"
#include "files/SafeFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace q540::simtool {

namespace {

using sim::FaultKind;

constexpr std::array<std::pair<const char*, FaultKind>, 5> kFaultNames{{
    {"no-reply", FaultKind::NoReply},
    {"wrong-byte", FaultKind::WrongByte},
    {"short-reply", FaultKind::ShortReply},
    {"bad-check-byte", FaultKind::BadCheckByte},
    {"data-not-acknowledged", FaultKind::DataNotAcknowledged},
}};

const char* const kDescription =
    "Serves the door module's emulator on a pseudo-terminal.\n"
    "\n"
    "Prints the path of the terminal (such as /dev/pts/3) as one line on standard\n"
    "output, then answers the module's protocol there at the pace of a 9600-baud\n"
    "line until it gets SIGINT (Ctrl+C), SIGTERM or SIGHUP. Open the path as a\n"
    "serial port, for instance with q540-cli --port PATH; programs may close and\n"
    "reopen it as often as they like, and the module's memory lasts as long as\n"
    "the simulator runs.\n"
    "\n"
    "Exit codes: 0 stopped by a signal, 1 the pseudo-terminal could not be had\n"
    "or failed, 2 bad usage.";

// Whole decimal numbers within bounds; QString::toInt also takes "+5" and " 5".
std::optional<int> boundedNumber(const QString& text, int lowest, int highest)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

QString badValue(const QString& option, const QString& value, const QString& expected)
{
    return QStringLiteral("bad --%1 \"%2\": %3").arg(option, value, expected);
}

} // namespace

std::optional<FaultOption> parseFaultOption(const QString& text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() > 3)
        return std::nullopt;
    FaultOption fault;
    for (const auto& [name, kind] : kFaultNames) {
        if (parts[0] == QLatin1StringView(name))
            fault.kind = kind;
    }
    if (fault.kind == FaultKind::None)
        return std::nullopt;
    if (parts.size() > 1) {
        const auto after = boundedNumber(parts[1], 0, 1'000'000'000);
        if (!after)
            return std::nullopt;
        fault.afterExchanges = *after;
    }
    if (parts.size() > 2) {
        const auto times = boundedNumber(parts[2], 1, 1'000'000'000);
        if (!times)
            return std::nullopt;
        fault.times = *times;
    }
    return fault;
}

SimCommandLine parseSimCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("The installer password stored in the module (default %1).")
            .arg(QLatin1String(protocol::kDefaultPassword)),
        QStringLiteral("NNNN"), QString::fromLatin1(protocol::kDefaultPassword));
    const QCommandLineOption deviceCode(
        QStringLiteral("device-code"),
        QStringLiteral("The code of the hello reply, 0..255 (default 70; 43 is the older "
                       "module, others are not supported)."),
        QStringLiteral("N"), QString::number(protocol::kDeviceCodeQ540));
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("The module's language code, 0..15 (default 1: 1 PL, 2 EN, 3 NO, 4 SV, "
                       "5 DE, 6 CS, 7 RU)."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption fault(
        QStringLiteral("fault"),
        QStringLiteral("Makes the module misbehave. KIND is no-reply, wrong-byte, short-reply, "
                       "bad-check-byte or data-not-acknowledged; the fault starts after AFTER "
                       "exchanges (command frames "
                       "with a good check byte, counted from the start; default 0) and covers "
                       "TIMES exchanges (default: all). May be given more than once; where "
                       "faults overlap the first one given applies."),
        QStringLiteral("KIND[:AFTER[:TIMES]]"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral("Starts with the directory, intro screens and display time of a directory "
                       "file in the module, written as the program writes them."),
        QStringLiteral("FILE"));
    const QCommandLineOption latency(
        QStringLiteral("latency-timer"),
        QStringLiteral("Holds the module's replies as the cable's chip does: a reply byte reaches "
                       "the host at the next tick of a timer of MS milliseconds, 1..255 (the "
                       "chip's default is 16), or at once when 62 bytes wait. Without it every "
                       "byte passes as soon as the wire has carried it."),
        QStringLiteral("MS"));
    const QCommandLineOption corrupt(
        QStringLiteral("corrupt-block"),
        QStringLiteral("Keeps block N (0..1023) wrongly: every write to it is acknowledged, but "
                       "its first byte is stored changed, as a failing memory would."),
        QStringLiteral("N"));
    parser.addOptions({password, deviceCode, language, fault, load, latency, corrupt});

    SimCommandLine result;
    if (!parser.parse(arguments)) {
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = SimCommandLine::Action::ShowHelp;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = SimCommandLine::Action::ShowVersion;
        result.text =
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.text = QStringLiteral("unexpected argument \"%1\"")
                          .arg(parser.positionalArguments().constFirst());
        return result;
    }

    SimSettings& settings = result.settings;
    settings.loadPath = parser.value(load);
    settings.password = parser.value(password);
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (!fourDigits.match(settings.password).hasMatch()) {
        result.text = badValue(password.names().constFirst(), settings.password,
                               QStringLiteral("four digits expected"));
        return result;
    }
    const auto code = boundedNumber(parser.value(deviceCode), 0, 255);
    if (!code) {
        result.text = badValue(deviceCode.names().constFirst(), parser.value(deviceCode),
                               QStringLiteral("a number 0..255 expected"));
        return result;
    }
    settings.deviceCode = *code;
    const auto languageCode = boundedNumber(parser.value(language), 0, protocol::kHighestNibble);
    if (!languageCode) {
        result.text = badValue(language.names().constFirst(), parser.value(language),
                               QStringLiteral("a number 0..15 expected"));
        return result;
    }
    settings.languageCode = *languageCode;
    if (parser.isSet(corrupt)) {
        const auto position = boundedNumber(parser.value(corrupt), 0, protocol::kBlockCount - 1);
        if (!position) {
            result.text = badValue(corrupt.names().constFirst(), parser.value(corrupt),
                                   QStringLiteral("a number 0..1023 expected"));
            return result;
        }
        settings.corruptBlock = *position;
    }
    if (parser.isSet(latency)) {
        const auto ms = boundedNumber(parser.value(latency), 1, 255);
        if (!ms) {
            result.text = badValue(latency.names().constFirst(), parser.value(latency),
                                   QStringLiteral("a number 1..255 expected"));
            return result;
        }
        settings.latencyTimerMs = *ms;
    }
    for (const QString& text : parser.values(fault)) {
        const auto parsed = parseFaultOption(text);
        if (!parsed) {
            result.text = badValue(fault.names().constFirst(), text,
                                   QStringLiteral("KIND[:AFTER[:TIMES]] expected, KIND one of "
                                                  "no-reply, wrong-byte, short-reply, "
                                                  "bad-check-byte, data-not-acknowledged"));
            return result;
        }
        settings.faults.push_back(*parsed);
    }
    result.action = SimCommandLine::Action::Serve;
    return result;
}

namespace {

bool load(const QString& path, sim::ModuleEmulator& module, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = path + QStringLiteral(": ") + why;
        return false;
    };
    const FileRead read = readWholeFile(path, kDirectoryFileMaxSize);
    if (!read.bytes)
        return fail(read.failure.reason);
    Localisation texts;
    texts.load();
    texts.setLanguage(1);
    const DirectoryFileParse parse = parseDirectoryFile(*read.bytes);
    if (!parse.document)
        return fail(texts.text(textKeyOf(parse.problem)).trimmed());
    const DirectoryDocument& d = *parse.document;
    if (!sim::preloadModule(module, d.grid, d.fields.intro, d.fields.timeIndex, texts))
        return fail(QStringLiteral("the directory does not fit the module"));
    return true;
}

} // namespace

bool applySettings(const SimSettings& settings, sim::ModuleEmulator& module, QString* error)
{
    module.setPasswordFirstHalf(settings.password.left(2).toInt());
    module.setPasswordSecondHalf(settings.password.mid(2).toInt());
    module.setLanguageCode(settings.languageCode);
    if (!settings.loadPath.isEmpty() && !load(settings.loadPath, module, error))
        return false;
    // Set after the load, whose writes need a module of this kind.
    module.setDeviceCode(static_cast<std::uint8_t>(settings.deviceCode));
    for (const FaultOption& fault : settings.faults)
        module.injectFault(fault.kind, fault.afterExchanges, fault.times);
    module.corruptStoredBlock(settings.corruptBlock);
    return true;
}

} // namespace q540::simtool
