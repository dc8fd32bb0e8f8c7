#pragma once

namespace q540 {

class Link;
class Localisation;
class UserSink;

// The status poll as a user-started operation sees it: stopped for the
// operation's length and started again afterwards.
class PollControl {
public:
    virtual ~PollControl() = default;
    virtual void suspend() = 0;
    virtual void resume() = 0;
};

// For a program without a status poll (the headless tool, the demo's set-up).
class NoPoll final : public PollControl {
public:
    void suspend() override {}
    void resume() override {}
};

// One user-started module operation from the poll's stop to its restart.
// The constructor stops the poll; the destructor closes the device if it is
// still open and starts the poll again, so every way out of an operation
// ends the same way.
class ModuleOperation {
public:
    ModuleOperation(PollControl& poll, Link& link, UserSink& sink, const Localisation& texts);
    ~ModuleOperation();
    ModuleOperation(const ModuleOperation&) = delete;
    ModuleOperation& operator=(const ModuleOperation&) = delete;

    // The checks every directory and intro transfer starts with, in order:
    // the module must be present (else "no device"), the device must open
    // (else "USB transmission failure"), the typed password must match the
    // module's (else "wrong password", device closed). On success the device
    // is open at 9600 baud with both timeouts set to timeoutMs.
    bool begin(bool modulePresent, bool passwordMatches, int timeoutMs);

    Link& link() { return link_; }

private:
    PollControl& poll_;
    Link& link_;
    UserSink& sink_;
    const Localisation& texts_;
};

} // namespace q540
