#pragma once

#include "cli/commands/Command.h"
#include "cli/commands/Session.h"
#include "module/Configuration.h"

#include <functional>

namespace q540::cli {

// A command that talks to the module: it takes the link options, and the
// base opens the link and identifies the module as far as the command needs
// before the command's own exchange.
class ModuleCommand : public Command {
public:
    using Command::Command;

protected:
    // How far the module is looked at before the command talks to it.
    enum class Opening {
        Link,              // the link is open
        Identified,        // and the module identified as the poll does
        Present,           // and it is there with its configuration
        PasswordConfirmed, // and it confirms the password the program holds
    };

    void addSharedOptions(QCommandLineParser& parser) override;
    bool sharedOptionsValid(const QCommandLineParser& parser) const override;
    bool filesAllowed(const QCommandLineParser& parser, const QStringList& positional,
                      QTextStream& err) const override;
    int run(Invocation& in) final;

    virtual Opening opening() const { return Opening::Link; }
    // The session's sink answers a question yes.
    virtual bool answersYes(const Invocation& /*in*/) const { return false; }
    // Done with the session before the link is opened (a name list whose
    // warning comes first).
    virtual void beforeOpening(Session& /*s*/, Invocation& /*in*/) {}
    // The command's exchange with the module, opened as opening() asks.
    virtual int talk(Session& s, Invocation& in) = 0;

    // A settings change sent and then confirmed by reading the configuration
    // back: 0 only when the module holds what was sent, which is then said.
    static int changeConfirmed(Session& s, Invocation& in, ConfigurationDifference::Field field,
                               int value, const QString& passwordAfter,
                               const std::function<Outcome(UserSink&)>& change);

private:
    bool open(Session& s, Invocation& in) const;
};

} // namespace q540::cli
