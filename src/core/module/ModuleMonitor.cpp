#include "module/ModuleMonitor.h"

#include "device/Clock.h"
#include "protocol/Protocol.h"

namespace q540 {

ModuleMonitor::ModuleMonitor(Link& device, Clock& clock, const Localisation& texts, UserSink& sink,
                             QObject* parent)
    : QObject(parent), clock_(clock), texts_(texts), sink_(sink), link_(device, gate_),
      worker_(std::in_place, device, gate_, clock)
{
    timer_.setInterval(protocol::kPollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ModuleMonitor::Timer1Timer);
    connect(&*worker_, &PollWorker::finished, this, &ModuleMonitor::applyPoll);
}

ModuleMonitor::~ModuleMonitor() = default;

void ModuleMonitor::suspend()
{
    timer_.stop();
    ++suspensions_;
}

void ModuleMonitor::resume()
{
    if (worker_)
        timer_.start();
}

void ModuleMonitor::stop()
{
    timer_.stop();
    pollAgain_ = false;
    // The worker's end waits for its exchange and drops the outcome.
    worker_.reset();
}

void ModuleMonitor::Timer1Timer()
{
    if (worker_ && !worker_->isRunning())
        startPoll();
}

void ModuleMonitor::pollNow()
{
    if (!worker_)
        return;
    if (worker_->isRunning())
        pollAgain_ = true;
    else
        startPoll();
}

void ModuleMonitor::startPoll()
{
    pollStartedAt_ = suspensions_;
    worker_->start(!status_.configurationKnown);
}

void ModuleMonitor::applyPoll(const IdentificationOutcome& outcome)
{
    if (pollStartedAt_ == suspensions_)
        apply(outcome);
    if (pollAgain_) {
        pollAgain_ = false;
        startPoll();
    }
}

void ModuleMonitor::apply(const IdentificationOutcome& outcome)
{
    // Only the alphabetical search the identification takes from the module
    // has a consequence: the directory's order follows it.
    ModuleStatusHandlers handlers;
    handlers.alphabeticalSearchClicked = [this](const ModuleStatus& s) {
        emit alphabeticalSearchSet(s.chosen.alphabeticalSearch);
    };
    applyIdentification(status_, outcome, password_, texts_, sink_, handlers);
    if (outcome.result == IdentificationOutcome::Result::ConfigurationRead)
        emit configurationRead();
    emit statusChanged();
}

void ModuleMonitor::identifyNow()
{
    apply(identifyModule(link_, clock_, !status_.configurationKnown));
}

QString ModuleMonitor::enterPassword(const QString& entered)
{
    const QString padded = padPassword(entered);
    password_ = padded;
    status_.configurationKnown = false;
    if (status_.passwordConfirmed())
        sendPassword();
    clock_.sleep(protocol::kPasswordEntryPauseMs);
    status_.moduleLanguage = 0;
    emit statusChanged();
    return padded;
}

void ModuleMonitor::sendPassword()
{
    ModuleOperation operation(*this, link_, sink_, texts_);
    const PasswordPairs pairs = passwordPairs(password_).value_or(PasswordPairs{});
    confirmChange(
        link_, clock_, sink_, texts_, status_, password_, ConfigurationDifference::Field::Password,
        pairs.first * 100 + pairs.second,
        [this](UserSink& sink) { return storePassword(link_, clock_, password_, sink, texts_); });
    readConfigurationAgain();
}

void ModuleMonitor::readConfigurationAgain()
{
    status_.configurationKnown = false;
    status_.moduleLanguage = 0;
}

std::optional<LanguageReading> ModuleMonitor::readLanguage()
{
    ModuleOperation operation(*this, link_, sink_, texts_);
    return readModuleLanguage(link_, clock_, sink_, texts_);
}

Outcome ModuleMonitor::writeLanguage(int code)
{
    ModuleOperation operation(*this, link_, sink_, texts_);
    const Outcome outcome =
        confirmChange(link_, clock_, sink_, texts_, status_, password_,
                      ConfigurationDifference::Field::Language, code, [&](UserSink& sink) {
                          return writeModuleLanguage(link_, clock_, code, sink, texts_);
                      });
    if (outcome.kind != Outcome::Kind::Refused)
        readConfigurationAgain();
    return outcome;
}

void ModuleMonitor::changeResetLock(bool locked)
{
    status_.chosen.resetLock = locked;
    ModuleOperation operation(*this, link_, sink_, texts_);
    identifyNow();
    // The tick as it stands now: the identification puts the module's lock
    // back on it only when it read the configuration again.
    const bool present = status_.modulePresent();
    const bool matches = status_.passwordConfirmed();
    const bool tick = status_.chosen.resetLock;
    confirmChange(link_, clock_, sink_, texts_, status_, password_,
                  ConfigurationDifference::Field::ResetLock, tick ? 1 : 0, [&](UserSink& sink) {
                      return sendResetLock(link_, present, matches, tick, sink, texts_);
                  });
}

} // namespace q540
