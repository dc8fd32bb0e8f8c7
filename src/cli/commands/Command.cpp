#include "cli/commands/Command.h"

#include "base/TextKeys.h"
#include "cli/Cli.h"
#include "cli/ConsoleSink.h"
#include "commands/FileCommands.h"
#include "directory/ModuleOrder.h"
#include "files/DirectoryStore.h"
#include "files/FileNotices.h"
#include "files/SafeFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <map>

namespace q540::cli {

namespace {

// The parser names the program by the path it was started with.
QString helpOf(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    if (QCoreApplication::instance())
        text.replace(QCoreApplication::arguments().constFirst(), QStringLiteral("q540-cli"));
    return text;
}

std::optional<int> languageIndex(const QString& lang)
{
    static const std::map<QString, int> languages{
        {QStringLiteral("pl"), 0}, {QStringLiteral("en"), 1}, {QStringLiteral("de"), 2}};
    const auto it = languages.find(lang);
    return it == languages.end() ? std::nullopt : std::optional<int>(it->second);
}

} // namespace

int Command::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info_.summary));
    parser.addPositionalArgument(QLatin1String(info_.name), QString(), QLatin1String(info_.name));
    if (*info_.arguments)
        parser.addPositionalArgument(QLatin1String(info_.arguments), QString());
    parser.addOption({QStringLiteral("lang"),
                      QStringLiteral("Language of the messages: pl, en (default) or de."),
                      QStringLiteral("pl|en|de"), QStringLiteral("en")});
    addSharedOptions(parser);
    if (info_.output >= 0)
        parser.addOption({QStringLiteral("force"), QStringLiteral("Replace OUT if it exists.")});
    addOptions(parser);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Show this command's help.")});
    QStringList argv = arguments;
    argv.prepend(QStringLiteral("q540-cli"));
    if (!parser.parse(argv)) {
        err << "q540-cli " << info_.name << ": " << parser.errorText() << Qt::endl;
        return kBadUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << helpOf(parser) << Qt::flush;
        return kDone;
    }
    QStringList positional =
        rawNames_.usable(parser.positionalArguments().mid(1), info_.output,
                         info_.outputGetsCsv ? QStringLiteral(".csv") : QString());
    const bool countOk = info_.positionalCount < 0 ? positional.size() <= 1
                                                   : positional.size() == info_.positionalCount;
    const std::optional<int> language = languageIndex(parser.value(QStringLiteral("lang")));
    if (!countOk || !language || !sharedOptionsValid(parser)) {
        err << "q540-cli " << info_.name << ": bad arguments\n\n" << helpOf(parser) << Qt::flush;
        return kBadUsage;
    }
    if (!filesAllowed(parser, positional, err))
        return kBadUsage;
    Localisation texts;
    texts.load();
    texts.setLanguage(*language);
    Invocation in{parser, out, err, texts, positional};
    if (const std::optional<int> refused = checkArguments(in))
        return *refused;
    if (info_.input >= 0 && info_.input < positional.size()) {
        document_ = loadDirectory(in, positional[info_.input]);
        if (!document_)
            return kBadUsage;
    }
    int code = run(in);
    if (const std::optional<QString> unnamed = rawNames_.finish()) {
        err << *unnamed << Qt::endl;
        code = kBadUsage;
    }
    return interrupted() ? kInterrupted : code;
}

// An output that exists (unless --force), that is not a regular file, or
// that cannot be created.
bool Command::filesAllowed(const QCommandLineParser& parser, const QStringList& positional,
                           QTextStream& err) const
{
    if (info_.output < 0)
        return true;
    const QString& given = positional[info_.output];
    const QString path = info_.outputGetsCsv ? FileCommands::directoryFileName(given) : given;
    if (rawNames_.isFile(path) && !parser.isSet(QStringLiteral("force"))) {
        err << shown(path) << ": the file exists; give --force to replace it" << Qt::endl;
        return false;
    }
    return noFailure(err, path, checkCanSave(path));
}

std::optional<DirectoryDocument> Command::loadDirectory(Invocation& in, const QString& path) const
{
    DirectoryFileLoad parse = loadDirectoryFile(path);
    if (parse.failure) {
        in.err << shown(path) << ": " << parse.failure->reason << Qt::endl;
        return std::nullopt;
    }
    if (!parse.document) {
        in.err << shown(path) << ": " << in.texts.text(textKeyOf(parse.problem)).trimmed()
               << Qt::endl;
        return std::nullopt;
    }
    if (const QString notice = readNotice(parse.notes, in.texts.language()); !notice.isEmpty())
        in.err << shown(path) << ": " << notice << Qt::endl;
    return std::move(*parse.document);
}

bool Command::saveDirectory(Invocation& in, const QString& path,
                            const DirectoryDocument& document) const
{
    return noFailure(in.err, path, saveDirectoryFile(path, document).failure);
}

bool Command::saveFile(Invocation& in, const QString& path, const QByteArray& bytes) const
{
    return noFailure(in.err, path, saveFileSafely(path, bytes));
}

// Says why path could not be had; true when nothing failed.
bool Command::noFailure(QTextStream& err, const QString& path,
                        const std::optional<FileFailure>& failure) const
{
    if (failure)
        err << shown(path) << ": " << failure->reason << Qt::endl;
    return !failure;
}

DirectoryDocument Command::emptyDocument(const Localisation& texts)
{
    DirectoryDocument document;
    document.fields.address = texts.text(textkey::kAddress);
    return document;
}

std::optional<bool> Command::onOffValue(Invocation& in, const QString& where, const QString& value)
{
    if (value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("off"))
        return false;
    in.err << where << ": on or off, not " << value << Qt::endl;
    return std::nullopt;
}

void Command::addCollationOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("collation"),
                      QStringLiteral("The module's alphabetical order: system (default), pl, en, "
                                     "de, nb, sv, cs or ru."),
                      QStringLiteral("LOCALE")});
}

std::optional<int> Command::collationOption(Invocation& in)
{
    if (!in.parser.isSet(QStringLiteral("collation")))
        return kModuleOrderSystem;
    const QString value = in.parser.value(QStringLiteral("collation"));
    const std::optional<int> choice = moduleOrderOfLocaleName(value);
    if (!choice)
        in.err << "--collation: system, pl, en, de, nb, sv, cs or ru, not " << value << Qt::endl;
    return choice;
}

std::optional<NameList> Command::nameListOf(Invocation& in, const DirectoryDocument& document,
                                            UserSink& sink, bool sorted)
{
    const std::optional<int> order = collationOption(in);
    if (!order)
        return std::nullopt;
    std::optional<NameList> list(std::in_place, document.grid, moduleOrderLocale(*order));
    list->setSorted(sorted);
    list->rebuild(0, sink, in.texts);
    return list;
}

} // namespace q540::cli
