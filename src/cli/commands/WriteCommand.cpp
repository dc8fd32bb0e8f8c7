#include "base/PrintableText.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "directory/ModuleOrder.h"

#include <QDir>

namespace q540::cli {

namespace {

class WriteCommand final : public ModuleCommand {
public:
    WriteCommand()
        : ModuleCommand(
            {.name = "write",
             .arguments = "FILE",
             .summary = "Write a directory file's directory and configuration to the module.",
             .positionalCount = -1,
             .input = 0})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(
            {QStringLiteral("erase"), QStringLiteral("Erase the module's directory (no FILE).")});
        addCollationOption(parser);
        parser.addOption({QStringLiteral("reset-lock"),
                          QStringLiteral("Reset lock on or off, instead of the module's."),
                          QStringLiteral("on|off")});
        parser.addOption({QStringLiteral("alpha-search"),
                          QStringLiteral("Alphabetical search on or off, instead of the module's."),
                          QStringLiteral("on|off")});
        parser.addOption({QStringLiteral("verify"),
                          QStringLiteral("Read every entry back and compare it with what was "
                                         "sent; write differing entries again.")});
        parser.addOption({QStringLiteral("backup"),
                          QStringLiteral("First read and keep in the history a module directory "
                                         "that the history does not hold.")});
    }

    std::optional<int> checkArguments(Invocation& in) override
    {
        if (erase(in) != in.positional.isEmpty()) {
            in.err << "write: give a FILE, or --erase without one" << Qt::endl;
            return kBadUsage;
        }
        bool bad = false;
        resetLock_ = onOff(in, QStringLiteral("reset-lock"), bad);
        alphaSearch_ = onOff(in, QStringLiteral("alpha-search"), bad);
        order_ = collationOption(in);
        if (bad || !order_)
            return kBadUsage;
        return std::nullopt;
    }

    // An erase asks whether to erase the whole memory: it was asked for.
    bool answersYes(const Invocation& in) const override { return erase(in); }

    void beforeOpening(Session& s, Invocation& in) override
    {
        if (!document_)
            document_ = emptyDocument(in.texts);
        list_.emplace(document_->grid, moduleOrderLocale(*order_));
        list_->rebuild(0, s.sink, in.texts);
    }

    int talk(Session& s, Invocation& in) override
    {
        DirectoryWriteRequest request;
        request.rows = list_->rows();
        request.document = *document_;
        request.keepFirst = in.parser.isSet(QStringLiteral("backup"));
        request.verify = in.parser.isSet(QStringLiteral("verify"));
        request.orderNote = moduleOrderNote(*order_, in.texts.language());
        request.chooseSettings = [timeIndex = document_->fields.timeIndex, this](ModuleStatus& st) {
            st.introTimeIndex = timeIndex;
            if (resetLock_)
                st.chosen.resetLock = *resetLock_;
            if (alphaSearch_)
                st.chosen.alphabeticalSearch = *alphaSearch_;
        };
        return exitCode(s, in,
                        writeDirectoryToModule(s.workflow(), request, s.status, s.questions));
    }

    // How a workflow's ending maps to the exit code: 0 only when the module
    // holds what was written and, where asked, it was checked. The step that
    // failed is named for scripts.
    static int exitCode(Session& s, Invocation& in, const DirectoryWriteResult& result)
    {
        if (result.backup)
            in.err << "backup: " << printableText(QDir::toNativeSeparators(*result.backup))
                   << Qt::endl;
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

    static bool erase(const Invocation& in) { return in.parser.isSet(QStringLiteral("erase")); }

    static std::optional<bool> onOff(Invocation& in, const QString& name, bool& bad)
    {
        if (!in.parser.isSet(name))
            return std::nullopt;
        const std::optional<bool> on =
            onOffValue(in, QStringLiteral("--") + name, in.parser.value(name));
        bad |= !on;
        return on;
    }

    std::optional<bool> resetLock_;
    std::optional<bool> alphaSearch_;
    std::optional<int> order_;
    std::optional<NameList> list_;
};

} // namespace

std::unique_ptr<Command> makeWriteCommand()
{
    return std::make_unique<WriteCommand>();
}

} // namespace q540::cli
