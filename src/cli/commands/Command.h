#pragma once

#include "base/Localisation.h"
#include "base/PrintableText.h"
#include "directory/DirectoryDocument.h"
#include "directory/NameList.h"
#include "files/SystemFileName.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace q540 {
class UserSink;
struct FileFailure;
} // namespace q540

namespace q540::cli {

// What a command gets when it runs: its parsed command line and the streams.
struct Invocation {
    QCommandLineParser& parser;
    QTextStream& out;
    QTextStream& err;
    Localisation& texts;
    QStringList positional;
};

// What a command says of itself in the overview and its help, and which of
// its arguments name files.
struct CommandInfo {
    const char* name;
    const char* arguments; // positional arguments, for the help text
    const char* summary;
    int positionalCount; // -1: none or one
    int input = -1;      // the positional argument naming a directory file it reads, if given
    int output = -1;     // the positional argument naming a file it writes (it takes --force)
    bool outputGetsCsv = false; // ".csv" is added to that name, as Save as adds it
};

// One command of the tool. The base parses what every command shares (the
// language, --force and the output it guards, --help) and refuses a bad
// command line before the command's own steps: checking its arguments,
// loading its input, running.
class Command {
public:
    explicit Command(const CommandInfo& info) : info_(info) {}
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const CommandInfo& info() const { return info_; }
    // The exit code of a command line that starts with this command's name.
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err);

protected:
    // The options only this command takes.
    virtual void addOptions(QCommandLineParser& /*parser*/) {}
    // Options a family of commands shares, before the command's own.
    virtual void addSharedOptions(QCommandLineParser& /*parser*/) {}
    // Whether those shared options hold values the family takes.
    virtual bool sharedOptionsValid(const QCommandLineParser& /*parser*/) const { return true; }
    // Refuses, before anything is read or sent, files the command could not write.
    virtual bool filesAllowed(const QCommandLineParser& parser, const QStringList& positional,
                              QTextStream& err) const;
    // Checks made before the input is loaded; an exit code ends the command.
    virtual std::optional<int> checkArguments(Invocation& /*in*/) { return std::nullopt; }
    virtual int run(Invocation& in) = 0;

    std::optional<DirectoryDocument> loadDirectory(Invocation& in, const QString& path) const;
    // A file as the safe save leaves it: written whole, or the old one
    // unchanged and the reason said (false).
    bool saveDirectory(Invocation& in, const QString& path,
                       const DirectoryDocument& document) const;
    bool saveFile(Invocation& in, const QString& path, const QByteArray& bytes) const;
    // A path Qt can open for a file named in an option's value.
    QString existingFile(const QString& given)
    {
        return rawNames_.usable({given}, -1, {}).constFirst();
    }
    // The file name given for a path the command works with, as messages print it.
    QString shown(const QString& path) const { return printableText(rawNames_.shown(path)); }
    bool noFailure(QTextStream& err, const QString& path,
                   const std::optional<FileFailure>& failure) const;
    // A new document as the window starts with: the address placeholder, no intro.
    static DirectoryDocument emptyDocument(const Localisation& texts);
    // "on" or "off" as a switch; anything else is told, naming where it was given.
    static std::optional<bool> onOffValue(Invocation& in, const QString& where,
                                          const QString& value);
    static void addCollationOption(QCommandLineParser& parser);
    // --collation: the module's alphabetical order, by default the system's.
    static std::optional<int> collationOption(Invocation& in);
    // The name list of a document in the order --collation names.
    static std::optional<NameList> nameListOf(Invocation& in, const DirectoryDocument& document,
                                              UserSink& sink, bool sorted = true);

    // The input file, loaded before run; empty when the command line names none.
    std::optional<DirectoryDocument> document_;

private:
    const CommandInfo info_;
    RawNamedFiles rawNames_; // file names that are not UTF-8, while the command runs
};

} // namespace q540::cli
