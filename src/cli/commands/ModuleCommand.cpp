#include "cli/commands/ModuleCommand.h"

#include "base/FixedTexts.h"
#include "base/TextKeys.h"
#include "cli/Cli.h"
#include "module/ModuleSettings.h"
#include "protocol/Protocol.h"

#include <QFileInfo>

namespace q540::cli {

void ModuleCommand::addSharedOptions(QCommandLineParser& parser)
{
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

bool ModuleCommand::sharedOptionsValid(const QCommandLineParser& parser) const
{
    return !parser.isSet(QStringLiteral("password"))
           || passwordPairs(parser.value(QStringLiteral("password")));
}

// A trace goes after what the file holds; a pipe or a device is not taken.
bool ModuleCommand::filesAllowed(const QCommandLineParser& parser, const QStringList& positional,
                                 QTextStream& err) const
{
    if (!Command::filesAllowed(parser, positional, err))
        return false;
    const QString path = parser.value(QStringLiteral("trace"));
    if (path.isEmpty() || !QFileInfo::exists(path) || QFileInfo(path).isFile())
        return true;
    err << path << ": not a regular file" << Qt::endl;
    return false;
}

int ModuleCommand::run(Invocation& in)
{
    Session s(in, answersYes(in));
    beforeOpening(s, in);
    if (!open(s, in))
        return kModuleFailed;
    const int code = talk(s, in);
    // A trace that stopped leaves what the command did as it is; the code
    // tells a script that the trace it asked for is not whole.
    return code == kDone && s.cable.traceFailure() ? kTraceIncomplete : code;
}

// Opens the link and identifies the module as the poll does; where the
// module is not as the command needs it, says what the status field says.
bool ModuleCommand::open(Session& s, Invocation& in) const
{
    const Opening needed = opening();
    if (!s.open(in))
        return false;
    if (needed == Opening::Link)
        return true;
    s.identify(in.texts);
    if (needed == Opening::Identified)
        return true;
    if (!s.status.modulePresent() || !s.status.configuration) {
        in.err << (s.status.configurationMissing
                       ? fixedText(FixedText::ConfigurationMissing, in.texts.language())
                       : moduleStateText(s.status, in.texts))
               << Qt::endl;
        return false;
    }
    // As the panel: a setting goes to the module only while the module
    // confirms the password the program holds.
    if (needed == Opening::PasswordConfirmed && !s.status.passwordConfirmed()) {
        s.sink.showMessage(in.texts.text(textkey::kWrongPassword));
        return false;
    }
    return true;
}

int ModuleCommand::changeConfirmed(Session& s, Invocation& in, ConfigurationDifference::Field field,
                                   int value, const QString& passwordAfter,
                                   const std::function<Outcome(UserSink&)>& change)
{
    ModuleOperation operation(s.poll, s.cable.link(), s.sink, in.texts);
    if (!confirmChange(s.cable.link(), s.clock, s.sink, in.texts, s.status, passwordAfter, field,
                       value, change)
             .isDone())
        return kModuleFailed;
    const int language = in.texts.language();
    in.err << fixedText(FixedText::ChangeConfirmed, language)
                  .arg(configurationFieldText(field, language),
                       configurationValueText(field, value, language))
           << Qt::endl;
    return kDone;
}

} // namespace q540::cli
