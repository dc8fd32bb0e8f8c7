#include "cli/Cli.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "cli/ConsoleSink.h"
#include "commands/FileCommands.h"
#include "commands/FileDialogs.h"
#include "commands/ModuleWorkflows.h"
#include "device/CableLink.h"
#include "device/Clock.h"
#include "device/SerialLink.h"
#include "device/SystemProbe.h"
#include "device/TracingLink.h"
#include "directory/DirectoryEditor.h"
#include "directory/ModuleOrder.h"
#include "directory/NameList.h"
#include "files/DirectoryFile.h"
#include "files/DirectoryStore.h"
#include "files/FileNotices.h"
#include "files/History.h"
#include "files/ResidentTable.h"
#include "files/SafeFile.h"
#include "module/ConnectionCheck.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryVerify.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"
#include "module/ModuleCompare.h"
#include "module/ModuleMonitor.h"
#include "module/ModuleOperation.h"
#include "module/ModuleSettings.h"
#include "module/ModuleStatus.h"
#include "print/DirectoryPrint.h"
#include "print/PaintingApplication.h"
#include "protocol/ModuleCharset.h"
#include "protocol/Protocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <functional>
#include <map>
#include <memory>

namespace q540::cli {

namespace {

// What every command gets: its parsed command line and the streams.
struct Invocation {
    QCommandLineParser& parser;
    QTextStream& out;
    QTextStream& err;
    Localisation& texts;
    QStringList positional;
};

using Handler = std::function<int(Invocation&)>;

struct Command {
    const char* name;
    const char* arguments; // positional arguments, for the help text
    const char* summary;
    bool module; // talks to the module: takes the link options
    std::function<void(QCommandLineParser&)> options;
    Handler handler;
    int positionalCount;
    int output = -1;            // the positional argument that names a file the command writes
    bool outputGetsCsv = false; // ".csv" is added to that name, as Save as adds it
};

// ---- files ------------------------------------------------------------------

std::optional<DirectoryDocument> loadDirectory(Invocation& in, const QString& path)
{
    DirectoryFileLoad parse = loadDirectoryFile(path);
    if (parse.failure) {
        in.err << path << ": " << parse.failure->reason << Qt::endl;
        return std::nullopt;
    }
    if (!parse.document) {
        in.err << path << ": " << in.texts.text(textKeyOf(parse.problem)).trimmed() << Qt::endl;
        return std::nullopt;
    }
    if (const QString notice = readNotice(parse.notes, in.texts.Nr_Jezyka()); !notice.isEmpty())
        in.err << path << ": " << notice << Qt::endl;
    return std::move(*parse.document);
}

// The file as the safe save leaves it: written whole, or the old one unchanged.
bool saveDirectory(Invocation& in, const QString& path, const DirectoryDocument& document)
{
    if (const std::optional<FileFailure> failure = saveDirectoryFile(path, document).failure) {
        in.err << path << ": " << failure->reason << Qt::endl;
        return false;
    }
    return true;
}

// The name a command's output is written under.
QString outputPath(const Command& command, const QStringList& positional)
{
    const QString& given = positional[command.output];
    return command.outputGetsCsv ? FileCommands::directoryFileName(given) : given;
}

// Refuses, before anything is read or transferred, an output that exists
// (unless --force), that is not a regular file, or that cannot be created.
bool outputAllowed(const QCommandLineParser& parser, const QString& path, QTextStream& err)
{
    if (QFileInfo::exists(path) && QFileInfo(path).isFile()
        && !parser.isSet(QStringLiteral("force"))) {
        err << path << ": the file exists; give --force to replace it" << Qt::endl;
        return false;
    }
    if (const std::optional<FileFailure> failure = checkCanSave(path)) {
        err << path << ": " << failure->reason << Qt::endl;
        return false;
    }
    return true;
}

// A trace goes after what the file holds; a pipe or a device is not taken.
bool traceAllowed(const QCommandLineParser& parser, QTextStream& err)
{
    const QString path = parser.value(QStringLiteral("trace"));
    if (path.isEmpty() || !QFileInfo::exists(path) || QFileInfo(path).isFile())
        return true;
    err << path << ": not a regular file" << Qt::endl;
    return false;
}

// A new document as the window starts with: the address placeholder, no intro.
DirectoryDocument emptyDocument(const Localisation& texts)
{
    DirectoryDocument document;
    document.fields.address = texts.text(textkey::kAddress);
    return document;
}

// ---- the module -------------------------------------------------------------

// The device by --port or as the window finds it, with --trace around it.
class ModuleLink {
public:
    bool open(Invocation& in, Clock& clock)
    {
        const QString port = in.parser.value(QStringLiteral("port"));
        device_ = port.isEmpty() ? loadCableLink() : std::make_unique<SerialLink>(port);
        if (!device_) {
            in.err << in.texts.text(textkey::kInstallDriver) << Qt::endl;
            return false;
        }
        const QString tracePath = in.parser.value(QStringLiteral("trace"));
        if (!tracePath.isEmpty()) {
            QString error;
            trace_ = TracingLink::toFile(*device_, tracePath, clock, &error);
            if (!trace_) {
                in.err << tracePath << ": " << error << Qt::endl;
                return false;
            }
        }
        return true;
    }
    Link& link() { return trace_ ? static_cast<Link&>(*trace_) : *device_; }

private:
    std::unique_ptr<Link> device_;
    std::unique_ptr<TracingLink> trace_;
};

// The headless tool's answers to a workflow's questions: a module directory
// the history may not hold is read and kept first (the command was asked to
// keep it: --backup), and differences are written again once.
class CliQuestions final : public WorkflowQuestions {
public:
    CliQuestions(QTextStream& err, int language) : err_(err), language_(language) {}
    KeepChoice keepFirst(int entries, int /*readSeconds*/) override
    {
        err_ << "backup: reading the module's " << entries << " entries first" << Qt::endl;
        return KeepChoice::ReadAndKeep;
    }
    // What is written again is named first; what still differs afterwards
    // is named by the ending.
    bool writeAgain(const VerifyResult& found, int /*entries*/, int attempt) override
    {
        if (attempt > 1)
            return false;
        for (const QString& line : differenceLines(found, language_))
            err_ << line << Qt::endl;
        return true;
    }

private:
    QTextStream& err_;
    int language_;
};

// One module command: the link, the sink, the history and the workflow.
struct Session {
    SystemClock clock;
    ModuleLink cable;
    ConsoleSink sink;
    NoPoll poll;
    ModuleStatus status;
    QString password;
    History history{History::defaultFolder()};
    std::optional<TransferContext> context;
    CliQuestions questions;

    Session(Invocation& in, bool answerYes)
        : sink(in.err, answerYes, in.texts.Nr_Jezyka()), questions(in.err, in.texts.Nr_Jezyka())
    {
        password = in.parser.isSet(QStringLiteral("password"))
                       ? in.parser.value(QStringLiteral("password"))
                       : QString::fromLatin1(protocol::kDefaultPassword);
    }
    bool open(Invocation& in)
    {
        if (!cable.open(in, clock))
            return false;
        context.emplace(TransferContext{cable.link(), clock, sink, poll, in.texts});
        return true;
    }
    ModuleWorkflow workflow() const { return {*context, password, history}; }
    // The identification as the poll makes it before a command of the window.
    void identify(const Localisation& texts)
    {
        Odczytaj_dane(status, cable.link(), clock, password, texts, sink);
    }
    // A transfer that did not go through: where the port itself was the
    // trouble, says which, after the operation's own message.
    int failed(Invocation& in) const
    {
        if (status.state == ModuleState::NoCable)
            if (const QString problem =
                    openProblemText(status.openProblem, status.port, in.texts.Nr_Jezyka());
                !problem.isEmpty())
                in.err << problem << Qt::endl;
        return kModuleFailed;
    }
};

// "on" or "off" as a switch; anything else is told, naming where it was given.
std::optional<bool> onOffValue(Invocation& in, const QString& where, const QString& value)
{
    if (value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("off"))
        return false;
    in.err << where << ": on or off, not " << value << Qt::endl;
    return std::nullopt;
}

std::optional<bool> onOff(Invocation& in, const QString& name, bool& bad)
{
    if (!in.parser.isSet(name))
        return std::nullopt;
    const std::optional<bool> on =
        onOffValue(in, QStringLiteral("--") + name, in.parser.value(name));
    bad |= !on;
    return on;
}

// --collation: the module's alphabetical order, by default the system's.
std::optional<int> collationOption(Invocation& in)
{
    if (!in.parser.isSet(QStringLiteral("collation")))
        return kModuleOrderSystem;
    const QString value = in.parser.value(QStringLiteral("collation"));
    const std::optional<int> choice = moduleOrderOfLocaleName(value);
    if (!choice)
        in.err << "--collation: system, pl, en, de, nb, sv, cs or ru, not " << value << Qt::endl;
    return choice;
}

// The name list of a document in the order --collation names.
std::optional<NameList> nameListOf(Invocation& in, const DirectoryDocument& document,
                                   UserSink& sink, bool sorted = true)
{
    const std::optional<int> order = collationOption(in);
    if (!order)
        return std::nullopt;
    std::optional<NameList> list(std::in_place, document.grid, moduleOrderLocale(*order));
    list->setSorted(sorted);
    list->ZrobListe(0, sink, in.texts);
    return list;
}

// ---- commands ---------------------------------------------------------------

int listCommand(Invocation& in)
{
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    ConsoleSink sink(in.err);
    const std::optional<NameList> list =
        nameListOf(in, *document, sink, !in.parser.isSet(QStringLiteral("unsorted")));
    if (!list)
        return kBadUsage;
    for (const NameRow& row : list->rows())
        in.out << '|' << row.text << "| " << row.apartment << ' ' << row.zone << '\n';
    in.out << in.texts.text(textkey::kEntryCount).trimmed() << ": " << list->count() << Qt::endl;
    // More entries than the module holds: the warning has been shown.
    return list->count() <= kEntryCapacity ? kDone : kModuleFailed;
}

// Reports each character of text that the module cannot show, and warns of
// each it would show as another; true if the module cannot show one.
bool reportCharacters(Invocation& in, const QString& where, const QString& text)
{
    bool unshowable = false;
    for (const CharacterFinding& f : findCharacterProblems(text)) {
        const QString code = QStringLiteral("U+")
                             + QString::number(f.codePoint, 16).toUpper().rightJustified(4, u'0');
        in.out << where << ", position " << f.position + 1 << ": ";
        switch (f.kind) {
        case CharacterFinding::Kind::Unsupported:
            in.out << '"' << f.character << "\" " << code << '\n';
            break;
        case CharacterFinding::Kind::Control:
            // Never printed as it is: a terminal would act on it.
            in.out << code << ", a control character\n";
            break;
        case CharacterFinding::Kind::LookAlike:
            in.out << "warning: \"" << f.character << "\" " << code << " shows as \"" << f.shownAs
                   << "\"\n";
            continue;
        }
        unshowable = true;
    }
    return unshowable;
}

int checkCommand(Invocation& in)
{
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    bool found = false;
    int entries = 0;
    for (int row = 1; row <= kGridRows; ++row) {
        if (document->grid.isEntryEmpty(row))
            continue;
        ++entries;
        const EntryPlace place = placeOfRow(row);
        const QString entry =
            place.zone == kAdditionalNumberZone
                ? QStringLiteral("additional number %1").arg(place.number)
                : QStringLiteral("zone %1, apartment %2").arg(place.zone).arg(place.number);
        const QString text = document->grid.entryText(row);
        found |= reportCharacters(in, entry + QStringLiteral(", line 1"), text.left(kLine1Length));
        found |= reportCharacters(in, entry + QStringLiteral(", line 2"), text.mid(kLine1Length));
    }
    for (int i = 0; i < kIntroLineCount; ++i)
        found |= reportCharacters(in, QStringLiteral("intro line %1").arg(i + 1),
                                  document->fields.intro[std::size_t(i)].left(kIntroLineLength));
    if (entries > kEntryCapacity) {
        in.out << in.texts.text(textkey::kReduceEntries).trimmed() << ' '
               << entries - kEntryCapacity << '\n';
        found = true;
    }
    in.out << Qt::flush;
    return found ? kModuleFailed : kDone;
}

// --separator: ";" (default), "," or "tab".
std::optional<TableSeparator> separatorOption(Invocation& in)
{
    const QString value = in.parser.value(QStringLiteral("separator"));
    if (value.isEmpty() || value == u";")
        return TableSeparator::Semicolon;
    if (value == u",")
        return TableSeparator::Comma;
    if (value == u"tab" || value == u"\t")
        return TableSeparator::Tab;
    in.err << "--separator: ';', ',' or tab, not " << value << Qt::endl;
    return std::nullopt;
}

int exportTableCommand(Invocation& in)
{
    const std::optional<TableSeparator> separator = separatorOption(in);
    if (!separator)
        return kBadUsage;
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    const QString out = in.positional[1];
    if (const std::optional<FileFailure> failure =
            saveFileSafely(out, tableBytes(document->grid, *separator))) {
        in.err << out << ": " << failure->reason << Qt::endl;
        return kModuleFailed;
    }
    return kDone;
}

// Prints the report; 0 when every row was taken as it stood, 1 when some were
// cut, changed or left out, 2 for a file that is no table.
int importTableCommand(Invocation& in)
{
    const QString path = in.positional[0];
    const FileRead file = readWholeFile(path, kTableMaxSize);
    if (!file.bytes) {
        in.err << path << ": " << file.failure.reason << Qt::endl;
        return kBadUsage;
    }
    const TableRead table = parseTable(*file.bytes);
    in.err << tableReportText(table, in.texts.Nr_Jezyka()) << Qt::endl;
    if (table.refusal)
        return kBadUsage;
    DirectoryDocument document = emptyDocument(in.texts);
    const QString into = in.parser.value(QStringLiteral("into"));
    if (!into.isEmpty()) {
        std::optional<DirectoryDocument> loaded = loadDirectory(in, into);
        if (!loaded)
            return kBadUsage;
        document = std::move(*loaded);
    }
    document.grid = applyTable(document.grid, table, in.parser.isSet(QStringLiteral("replace")));
    if (!saveDirectory(in, FileCommands::directoryFileName(in.positional[1]), document))
        return kModuleFailed;
    return table.takenAsItStood() ? kDone : kModuleFailed;
}

// The directory as the window prints it, as a PDF file. Painting needs the
// GUI application the tool starts for this command (on the offscreen
// platform, so no display is needed).
int exportPdfCommand(Invocation& in)
{
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    ConsoleSink sink(in.err);
    const std::optional<NameList> list = nameListOf(in, *document, sink);
    if (!list)
        return kBadUsage;
    if (!canPaint()) {
        in.err << "export-pdf: no GUI application to paint with" << Qt::endl;
        return kModuleFailed;
    }
    const DirectoryPrintout printout{*document, list->rows(), in.texts.Nr_Jezyka(),
                                     QDateTime::currentDateTime()};
    const QString out = in.positional[1];
    if (const std::optional<FileFailure> failure = saveFileSafely(out, directoryPdf(printout))) {
        in.err << out << ": " << failure->reason << Qt::endl;
        return kModuleFailed;
    }
    return kDone;
}

// The dialogs of an import on the command line: the two names it was given.
class GivenFiles final : public FileDialogs {
public:
    GivenFiles(QString open, QString save) : open_(std::move(open)), save_(std::move(save)) {}
    QString openFileName(const QString&, const QString&) override { return open_; }
    QString saveFileName(const QString&, const QString&) override { return save_; }

private:
    QString open_;
    QString save_;
};

int importCommand(Invocation& in)
{
    ConsoleSink sink(in.err);
    DirectoryEditor editor(sink, in.texts);
    GivenFiles files(in.positional[0], QString());
    FileCommands commands(editor, sink, in.texts, files);
    DocumentFields fields = emptyDocument(in.texts).fields;
    commands.readFields = [&fields] { return fields; };
    commands.showFields = [&fields](const DocumentFields& f) { fields = f; };
    if (!commands.Importuj1Click().isDone())
        return kBadUsage;
    const QString out = FileCommands::directoryFileName(in.positional[1]);
    return saveDirectory(in, out, commands.document()) ? kDone : kModuleFailed;
}

int statusCommand(Invocation& in)
{
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
    s.identify(in.texts);
    const ModuleStatus& st = s.status;
    in.out << "state: "
           << (st.configurationMissing
                   ? fixedText(FixedText::ConfigurationMissing, in.texts.Nr_Jezyka())
                   : moduleStateText(st, in.texts))
           << '\n';
    if (st.state != ModuleState::NoCable)
        in.out << "latency timer: "
               << (st.latencyTimerMs ? QStringLiteral("%1 ms").arg(*st.latencyTimerMs)
                                     : QStringLiteral("unknown"))
               << '\n';
    if (st.modulePresent()) {
        in.out << "entries: " << st.entryCount << '\n'
               << "password: " << (st.haslo_zgodne ? "matches" : "does not match") << '\n'
               << "language: " << st.jezyk_modulu << ' ' << moduleLanguageCode(st.jezyk_modulu)
               << '\n'
               << "intro time: "
               << (st.introTimeIndex < 0 ? QStringLiteral("none")
                                         : QString::number(st.introTimeIndex + 1))
               << '\n'
               << "alphabetical search: " << (st.alphabeticalSearchTicked ? "on" : "off") << '\n'
               << "reset lock: " << (st.resetLockTicked ? "on" : "off") << '\n';
    }
    in.out << Qt::flush;
    return st.modulePresent() ? kDone : kModuleFailed;
}

// Exit 0 when the module answered; every finding is printed either way.
int doctorCommand(Invocation& in)
{
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
#ifdef Q_OS_LINUX
    const LinuxSystemProbe system;
    const SystemProbe* probe = &system;
#else
    const SystemProbe* probe = nullptr;
#endif
    const ConnectionReport report =
        checkConnection({probe, s.cable.link(), s.clock, in.parser.value(QStringLiteral("port"))},
                        in.texts.Nr_Jezyka());
    in.out << reportText(report, in.texts.Nr_Jezyka()) << Qt::flush;
    return report.moduleAnswered ? kDone : kModuleFailed;
}

// How a workflow's ending maps to the exit code: 0 only when the module
// holds what was written and, where asked, it was checked. The step that
// failed is named for scripts.
int writeExitCode(Session& s, Invocation& in, const DirectoryWriteResult& result)
{
    if (result.backup)
        in.err << "backup: " << QDir::toNativeSeparators(*result.backup) << Qt::endl;
    if (result.failed != WorkflowStep::None && result.failed != WorkflowStep::Keeping)
        in.err << "write: stopped at " << workflowStepName(result.failed) << Qt::endl;
    if (result.outcome.kind == Outcome::Kind::Cancelled)
        return kInterrupted;
    if (!result.outcome.isDone())
        return s.failed(in);
    const bool asAsked =
        result.holds == ModuleHolds::AsWritten
        || (result.holds == ModuleHolds::Unchecked && result.failed != WorkflowStep::Checking);
    return asAsked ? kDone : kModuleFailed;
}

int writeCommand(Invocation& in)
{
    const bool erase = in.parser.isSet(QStringLiteral("erase"));
    if (erase != in.positional.isEmpty()) {
        in.err << "write: give a FILE, or --erase without one" << Qt::endl;
        return kBadUsage;
    }
    bool bad = false;
    const std::optional<bool> resetLock = onOff(in, QStringLiteral("reset-lock"), bad);
    const std::optional<bool> alphaSearch = onOff(in, QStringLiteral("alpha-search"), bad);
    const std::optional<int> order = collationOption(in);
    if (bad || !order)
        return kBadUsage;
    DirectoryDocument document = emptyDocument(in.texts);
    if (!erase) {
        std::optional<DirectoryDocument> loaded = loadDirectory(in, in.positional[0]);
        if (!loaded)
            return kBadUsage;
        document = std::move(*loaded);
    }
    Session s(in, erase);
    NameList list(document.grid, moduleOrderLocale(*order));
    list.ZrobListe(0, s.sink, in.texts);
    if (!s.open(in))
        return kModuleFailed;
    DirectoryWriteRequest request;
    request.rows = list.rows();
    request.document = document;
    request.keepFirst = in.parser.isSet(QStringLiteral("backup"));
    request.verify = in.parser.isSet(QStringLiteral("verify"));
    request.orderNote = moduleOrderNote(*order, in.texts.Nr_Jezyka());
    const int timeIndex = document.fields.timeIndex;
    request.chooseSettings = [&](ModuleStatus& st) {
        st.introTimeIndex = timeIndex;
        if (resetLock)
            st.resetLockTicked = *resetLock;
        if (alphaSearch)
            st.alphabeticalSearchTicked = *alphaSearch;
    };
    return writeExitCode(s, in,
                         writeDirectoryToModule(s.workflow(), request, s.status, s.questions));
}

int readCommand(Invocation& in)
{
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
    const bool twice = in.parser.isSet(QStringLiteral("verify"));
    const DirectoryReadOutcome outcome =
        readDirectoryFromModule(s.workflow(), {DirectoryGrid{}, twice}, s.status);
    if (!outcome.read.outcome.isDone())
        return outcome.read.outcome.kind == Outcome::Kind::Cancelled ? kInterrupted : s.failed(in);
    DirectoryDocument document = emptyDocument(in.texts);
    document.grid = outcome.read.grid;
    document.fields.timeIndex = s.status.introTimeIndex;
    document.fields.moduleLanguage = s.status.jezyk_modulu;
    if (!saveDirectory(in, in.positional[0], document))
        return kModuleFailed;
    if (!outcome.message.isEmpty())
        s.sink.showMessage(outcome.message);
    return twice && !outcome.checked ? kModuleFailed : kDone;
}

// One line a difference; 0 when the module holds what the file describes.
int diffCommand(Invocation& in)
{
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
    const ModuleComparison comparison =
        compareModule(s.workflow(), {*document, std::nullopt, std::nullopt}, s.status);
    if (!comparison.outcome.isDone())
        return s.failed(in);
    const std::vector<ContentDifference>& differences = comparison.differences;
    for (const ContentDifference& d : differences)
        in.out << differenceLineText(d, in.texts.Nr_Jezyka()) << '\n';
    in.out << Qt::flush;
    return differences.empty() ? kDone : kDifferent;
}

int historyCommand(Invocation& in)
{
    const History history(History::defaultFolder());
    for (const HistoryEntry& e : history.entries())
        in.out << e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << '\t'
               << historyOperationName(e.operation) << "\tQ540 K-" << e.moduleVariant << '\t'
               << e.entries << '\t' << QDir::toNativeSeparators(e.path) << '\n';
    in.out << Qt::flush;
    return kDone;
}

int introReadCommand(Invocation& in)
{
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
    s.identify(in.texts);
    DirectoryDocument document = emptyDocument(in.texts);
    const IntroRead read = readIntroFromModule(s.workflow(), IntroLines{}, s.status);
    if (!read.outcome.isDone())
        return s.failed(in);
    document.fields.intro = read.lines;
    document.fields.timeIndex = s.status.introTimeIndex;
    document.fields.moduleLanguage = s.status.jezyk_modulu;
    return saveDirectory(in, in.positional[0], document) ? kDone : kModuleFailed;
}

int introWriteCommand(Invocation& in)
{
    const std::optional<DirectoryDocument> document = loadDirectory(in, in.positional[0]);
    if (!document)
        return kBadUsage;
    Session s(in, false);
    if (!s.open(in))
        return kModuleFailed;
    s.identify(in.texts);
    s.status.introTimeIndex = document->fields.timeIndex;
    return writeIntroToModule(s.workflow(), document->fields.intro,
                              in.parser.isSet(QStringLiteral("verify")), s.status)
                   .isDone()
               ? kDone
               : s.failed(in);
}

// Opens the link and identifies the module as the poll does: true when it is
// there, otherwise false with what the status field says.
bool openIdentified(Session& s, Invocation& in)
{
    if (!s.open(in))
        return false;
    s.identify(in.texts);
    if (s.status.modulePresent() && s.status.configuration)
        return true;
    in.err << (s.status.configurationMissing
                   ? fixedText(FixedText::ConfigurationMissing, in.texts.Nr_Jezyka())
                   : moduleStateText(s.status, in.texts))
           << Qt::endl;
    return false;
}

// A settings change sent and then confirmed by reading the configuration
// back: 0 only when the module holds what was sent, which is then said.
int changeConfirmed(Session& s, Invocation& in, ConfigurationDifference::Field field, int value,
                    const QString& passwordAfter, const std::function<Outcome(UserSink&)>& change)
{
    ModuleOperation operation(s.poll, s.cable.link(), s.sink, in.texts);
    if (!confirmChange(s.cable.link(), s.clock, s.sink, in.texts, s.status, passwordAfter, field,
                       value, change)
             .isDone())
        return kModuleFailed;
    const int language = in.texts.Nr_Jezyka();
    in.err << fixedText(FixedText::ChangeConfirmed, language)
                  .arg(configurationFieldText(field, language),
                       configurationValueText(field, value, language))
           << Qt::endl;
    return kDone;
}

int setPasswordCommand(Invocation& in)
{
    const QString entered = in.positional[0];
    if (entered.size() > 4 || !passwordPairs(padPassword(entered))) {
        in.err << "set-password: NEW is one to four digits" << Qt::endl;
        return kBadUsage;
    }
    Session s(in, false);
    if (!openIdentified(s, in))
        return kModuleFailed;
    // As the panel: the new password goes to the module only while the
    // module confirms the one the program holds.
    if (!s.status.haslo_zgodne) {
        s.sink.showMessage(in.texts.text(textkey::kWrongPassword));
        return kModuleFailed;
    }
    const QString password = padPassword(entered);
    const PasswordPairs pairs = *passwordPairs(password);
    return changeConfirmed(s, in, ConfigurationDifference::Field::Password,
                           pairs.first * 100 + pairs.second, password, [&](UserSink& sink) {
                               return storePassword(s.cable.link(), s.clock, password, sink,
                                                    in.texts);
                           });
}

// The module's language codes by name: PL is 1, RU is 7.
std::optional<int> moduleLanguageByName(const QString& name)
{
    for (int code = 1; code <= protocol::kHighestLanguageCode; ++code)
        if (moduleLanguageCode(code).compare(name, Qt::CaseInsensitive) == 0)
            return code;
    return std::nullopt;
}

int moduleLanguageCommand(Invocation& in)
{
    std::optional<int> code;
    if (!in.positional.isEmpty()) {
        code = moduleLanguageByName(in.positional[0]);
        if (!code) {
            in.err << "module-language: CODE is one of PL, EN, NO, SV, DE, CS, RU, not "
                   << in.positional[0] << Qt::endl;
            return kBadUsage;
        }
    }
    Session s(in, false);
    if (code) {
        if (!openIdentified(s, in))
            return kModuleFailed;
        return changeConfirmed(s, in, ConfigurationDifference::Field::Language, *code, s.password,
                               [&](UserSink& sink) {
                                   return writeModuleLanguage(s.cable.link(), s.clock, *code, sink,
                                                              in.texts);
                               });
    }
    if (!s.open(in))
        return kModuleFailed;
    ModuleOperation operation(s.poll, s.cable.link(), s.sink, in.texts);
    const std::optional<LanguageReading> reading =
        readModuleLanguage(s.cable.link(), s.clock, s.sink, in.texts);
    if (!reading)
        return kModuleFailed;
    // Code 0 is what a reply that did not check leaves.
    if (reading->code == 0) {
        in.err << "module-language: the module's reply did not check" << Qt::endl;
        return kModuleFailed;
    }
    in.out << "language: " << reading->code << ' ' << moduleLanguageCode(reading->code) << ' '
           << reading->codeHint << Qt::endl;
    return kDone;
}

int resetLockCommand(Invocation& in)
{
    const std::optional<bool> locked =
        onOffValue(in, QStringLiteral("reset-lock"), in.positional[0]);
    if (!locked)
        return kBadUsage;
    Session s(in, false);
    if (!openIdentified(s, in))
        return kModuleFailed;
    const bool matches = s.status.haslo_zgodne;
    return changeConfirmed(s, in, ConfigurationDifference::Field::ResetLock, *locked ? 1 : 0,
                           s.password, [&](UserSink& sink) {
                               return sendResetLock(s.cable.link(), true, matches, *locked, sink,
                                                    in.texts);
                           });
}

// ---- the command table --------------------------------------------------------

void noOptions(QCommandLineParser&) {}

void forceOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("force"), QStringLiteral("Replace OUT if it exists.")});
}

void collationOptionOf(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("collation"),
                      QStringLiteral("The module's alphabetical order: system (default), pl, en, "
                                     "de, nb, sv, cs or ru."),
                      QStringLiteral("LOCALE")});
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> table{
        {"list", "FILE", "Print the name list of a directory file in the module's order.", false,
         [](QCommandLineParser& p) {
             p.addOption({QStringLiteral("unsorted"), QStringLiteral("Zone order, not sorted.")});
             collationOptionOf(p);
         },
         listCommand, 1},
        {"check", "FILE",
         "Report every character the module cannot show, and a directory too large for it.", false,
         noOptions, checkCommand, 1},
        {"import", "LIST OUT", "Read an older list file into zone 1 and save a directory file.",
         false, forceOption, importCommand, 2, 1, true},
        {"export-table", "FILE OUT",
         "Write a directory file's entries as a table (zone, apartment, line 1, line 2).", false,
         [](QCommandLineParser& p) {
             forceOption(p);
             p.addOption({QStringLiteral("separator"),
                          QStringLiteral("The table's separator: ';' (default), ',' or tab."),
                          QStringLiteral("SEP")});
         },
         exportTableCommand, 2, 1},
        {"import-table", "TABLE OUT",
         "Read a table of residents into a directory file; print what could not be taken as "
         "it stood.",
         false,
         [](QCommandLineParser& p) {
             forceOption(p);
             p.addOption({QStringLiteral("into"),
                          QStringLiteral("Start from this directory file (its intro and "
                                         "settings too); the table's rows replace its entries."),
                          QStringLiteral("FILE")});
             p.addOption({QStringLiteral("replace"),
                          QStringLiteral("With --into: the table replaces the whole directory.")});
         },
         importTableCommand, 2, 1, true},
        {"export-pdf", "FILE OUT",
         "Write the directory as the window prints it (zones in the module's order, intro "
         "screens and settings) to a PDF file.",
         false,
         [](QCommandLineParser& p) {
             forceOption(p);
             collationOptionOf(p);
         },
         exportPdfCommand, 2, 1},
        {"status", "", "Identify the module and print its state and settings.", true, noOptions,
         statusCommand, 0},
        {"write", "FILE", "Write a directory file's directory and configuration to the module.",
         true,
         [](QCommandLineParser& p) {
             p.addOption({QStringLiteral("erase"),
                          QStringLiteral("Erase the module's directory (no FILE).")});
             collationOptionOf(p);
             p.addOption({QStringLiteral("reset-lock"),
                          QStringLiteral("Reset lock on or off, instead of the module's."),
                          QStringLiteral("on|off")});
             p.addOption({QStringLiteral("alpha-search"),
                          QStringLiteral("Alphabetical search on or off, instead of the module's."),
                          QStringLiteral("on|off")});
             p.addOption({QStringLiteral("verify"),
                          QStringLiteral("Read every entry back and compare it with what was "
                                         "sent; write differing entries again.")});
             p.addOption({QStringLiteral("backup"),
                          QStringLiteral("First read and keep in the history a module directory "
                                         "that the history does not hold.")});
         },
         writeCommand, -1},
        {"read", "OUT", "Read the module's directory into a new directory file.", true,
         [](QCommandLineParser& p) {
             forceOption(p);
             p.addOption({QStringLiteral("verify"),
                          QStringLiteral("Check by reading twice: a third read decides where two "
                                         "differ; exit 1 if entries still disagree.")});
         },
         readCommand, 1, 0},
        {"diff", "FILE",
         "Read the module and print how it differs from a directory file (exit 3 if it does).",
         true, noOptions, diffCommand, 1},
        {"history", "", "List the module reads and writes kept in the history, newest first.",
         false, noOptions, historyCommand, 0},
        {"intro-read", "OUT", "Read the intro screens and display time into a directory file.",
         true, forceOption, introReadCommand, 1, 0},
        {"intro-write", "FILE", "Write a directory file's intro screens and display time.", true,
         [](QCommandLineParser& p) {
             p.addOption({QStringLiteral("verify"),
                          QStringLiteral("Read the screens and the time back and compare them.")});
         },
         introWriteCommand, 1},
        {"set-password", "NEW",
         "Store NEW as the module's installer password; --password gives the current one.", true,
         noOptions, setPasswordCommand, 1},
        {"module-language", "[CODE]",
         "Print the module's language, or set it: PL, EN, NO, SV, DE, CS or RU.", true, noOptions,
         moduleLanguageCommand, -1},
        {"reset-lock", "on|off", "Lock or unlock the module's reset.", true, noOptions,
         resetLockCommand, 1},
        {"doctor", "",
         "Check the connection step by step: driver, cable, port, other programs, module.", true,
         noOptions, doctorCommand, 0},
    };
    return table;
}

const Command* findCommand(const QString& name)
{
    for (const Command& c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// The parser names the program by the path it was started with.
QString helpOf(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    if (QCoreApplication::instance())
        text.replace(QCoreApplication::arguments().constFirst(), QStringLiteral("q540-cli"));
    return text;
}

QString overview()
{
    QString text =
        QStringLiteral("Usage: q540-cli COMMAND [options] [arguments]\n\n"
                       "The directory of a Q540 door panel from the command line: the same files,\n"
                       "checks and module transfers as the program's window.\n"
                       "q540-cli --version prints the version.\n\nCommands:\n");
    for (const Command& c : commands())
        text +=
            QStringLiteral("  %1 %2\n      %3\n")
                .arg(QLatin1String(c.name), QLatin1String(c.arguments), QLatin1String(c.summary));
    text += QStringLiteral(
        "\n'q540-cli COMMAND --help' shows a command's options.\n"
        "Exit codes: 0 done, 1 the module or the link failed, 2 bad usage or a bad file,\n"
        "3 diff found differences.\n");
    return text;
}

void addCommonOptions(QCommandLineParser& parser, const Command& command)
{
    parser.addOption({QStringLiteral("lang"),
                      QStringLiteral("Language of the messages: pl, en (default) or de."),
                      QStringLiteral("pl|en|de"), QStringLiteral("en")});
    if (command.module) {
        parser.addOption({QStringLiteral("port"),
                          QStringLiteral("Use this serial port (a tty or pseudo-terminal)."),
                          QStringLiteral("NAME")});
        parser.addOption({QStringLiteral("trace"),
                          QStringLiteral("Add a time-stamped hex dump of every byte to FILE."),
                          QStringLiteral("FILE")});
        parser.addOption({QStringLiteral("password"),
                          QStringLiteral("Installer password (default %1).")
                              .arg(QLatin1String(protocol::kDefaultPassword)),
                          QStringLiteral("NNNN")});
    }
    command.options(parser);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Show this command's help.")});
}

std::optional<int> languageIndex(const QString& lang)
{
    static const std::map<QString, int> languages{
        {QStringLiteral("pl"), 0}, {QStringLiteral("en"), 1}, {QStringLiteral("de"), 2}};
    const auto it = languages.find(lang);
    return it == languages.end() ? std::nullopt : std::optional<int>(it->second);
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help")
        || arguments.first() == QLatin1String("-h")) {
        (arguments.isEmpty() ? err : out) << overview() << Qt::flush;
        return arguments.isEmpty() ? kBadUsage : kDone;
    }
    if (arguments.first() == QLatin1String("--version")) {
        out << "q540-cli " << kVersion << Qt::endl;
        return kDone;
    }
    const Command* command = findCommand(arguments.first());
    if (!command) {
        err << "q540-cli: unknown command " << arguments.first() << "\n\n"
            << overview() << Qt::flush;
        return kBadUsage;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(command->summary));
    parser.addPositionalArgument(QLatin1String(command->name), QString(),
                                 QLatin1String(command->name));
    if (*command->arguments)
        parser.addPositionalArgument(QLatin1String(command->arguments), QString());
    addCommonOptions(parser, *command);
    QStringList argv = arguments;
    argv.prepend(QStringLiteral("q540-cli"));
    if (!parser.parse(argv)) {
        err << "q540-cli " << command->name << ": " << parser.errorText() << Qt::endl;
        return kBadUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << helpOf(parser) << Qt::flush;
        return kDone;
    }
    QStringList positional = parser.positionalArguments().mid(1);
    const bool countOk = command->positionalCount < 0
                             ? positional.size() <= 1
                             : positional.size() == command->positionalCount;
    const std::optional<int> language = languageIndex(parser.value(QStringLiteral("lang")));
    if (!countOk || !language
        || (command->module && parser.isSet(QStringLiteral("password"))
            && !passwordPairs(parser.value(QStringLiteral("password"))))) {
        err << "q540-cli " << command->name << ": bad arguments\n\n" << helpOf(parser) << Qt::flush;
        return kBadUsage;
    }
    if ((command->output >= 0 && !outputAllowed(parser, outputPath(*command, positional), err))
        || (command->module && !traceAllowed(parser, err)))
        return kBadUsage;
    Localisation texts;
    texts.Wczytaj_WJ_do_tablicy();
    texts.setNr_Jezyka(*language);
    Invocation invocation{parser, out, err, texts, positional};
    const int code = command->handler(invocation);
    return interrupted() ? kInterrupted : code;
}

} // namespace q540::cli
