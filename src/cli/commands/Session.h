#pragma once

#include "cli/ConsoleSink.h"
#include "commands/ModuleWorkflows.h"
#include "device/Clock.h"
#include "device/TracingLink.h"
#include "files/History.h"
#include "module/ModuleOperation.h"
#include "module/ModuleStatus.h"
#include "module/TransferSession.h"

#include <memory>
#include <optional>

namespace q540::cli {

struct Invocation;

// The device by --port or as the window finds it, with --trace around it.
class ModuleLink {
public:
    bool open(Invocation& in, Clock& clock);
    Link& link() { return trace_ ? static_cast<Link&>(*trace_) : *device_; }
    // Why the --trace file stopped being written, if it did.
    std::optional<QString> traceFailure() const
    {
        return trace_ ? trace_->failure() : std::nullopt;
    }

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
    KeepChoice keepFirst(int entries, int readSeconds) override;
    bool writeAgain(const VerifyResult& found, int entries, int attempt) override;

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

    Session(Invocation& in, bool answerYes);
    bool open(Invocation& in);
    ModuleWorkflow workflow() const { return {*context, password, history}; }
    // The identification as the poll makes it before a command of the window.
    void identify(const Localisation& texts);
    // A transfer that did not go through: where the port itself was the
    // trouble, says which, after the operation's own message.
    int failed(Invocation& in) const;
};

} // namespace q540::cli
