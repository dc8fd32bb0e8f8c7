#include "cli/commands/Session.h"
#include "base/PrintableText.h"

#include "base/FixedTexts.h"
#include "base/TextKeys.h"
#include "cli/Cli.h"
#include "cli/commands/Command.h"
#include "device/CableLink.h"
#include "device/SerialLink.h"
#include "module/DirectoryVerify.h"
#include "protocol/Protocol.h"

namespace q540::cli {

bool ModuleLink::open(Invocation& in, Clock& clock)
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
        trace_->onFailure([&in, tracePath](const QString& reason) {
            in.err << fixedText(FixedText::TraceNotWritten, in.texts.language())
                          .arg(tracePath + QStringLiteral(": ") + reason)
                   << Qt::endl;
        });
    }
    return true;
}

WorkflowQuestions::KeepChoice CliQuestions::keepFirst(int entries, int /*readSeconds*/)
{
    err_ << "backup: reading the module's " << entries << " entries first" << Qt::endl;
    return KeepChoice::ReadAndKeep;
}

// What is written again is named first; what still differs afterwards is
// named by the ending.
bool CliQuestions::writeAgain(const VerifyResult& found, int /*entries*/, int attempt)
{
    if (attempt > 1)
        return false;
    for (const QString& line : differenceLines(found, language_))
        err_ << printableText(line) << Qt::endl;
    return true;
}

Session::Session(Invocation& in, bool answerYes)
    : sink(in.err, answerYes, in.texts.language()), questions(in.err, in.texts.language())
{
    password = in.parser.isSet(QStringLiteral("password"))
                   ? in.parser.value(QStringLiteral("password"))
                   : QString::fromLatin1(protocol::kDefaultPassword);
}

bool Session::open(Invocation& in)
{
    if (!cable.open(in, clock))
        return false;
    context.emplace(TransferContext{cable.link(), clock, sink, poll, in.texts});
    return true;
}

void Session::identify(const Localisation& texts)
{
    identifyAndApply(status, cable.link(), clock, password, texts, sink);
}

int Session::failed(Invocation& in) const
{
    if (status.state == ModuleState::NoCable)
        if (const QString problem =
                openProblemText(status.openProblem, status.port, in.texts.language());
            !problem.isEmpty())
            in.err << problem << Qt::endl;
    return kModuleFailed;
}

} // namespace q540::cli
