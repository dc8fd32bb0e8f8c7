#pragma once

namespace q540 {

// How a module operation or a file command ended, besides the messages it
// showed: the window, the CLI and the demo decide by this, never by a
// message's text.
struct Outcome {
    enum class Kind {
        Done,
        Cancelled, // the user answered No or closed the file dialog
        Refused,   // a precondition did not hold; nothing was sent or changed
        Failed,    // an exchange with the module, or reading or writing a file, failed
    };
    enum class Refusal {
        None,
        Content,       // text the module cannot show, or a value it has no use for
        NoModule,      // no module of this kind was found
        WrongPassword, // the module does not confirm the password the program holds
        OverCapacity,  // more entries than the module holds
        WrongFile,     // not a file of this program: its kind, name or contents
    };

    Kind kind = Kind::Failed;
    Refusal refusal = Refusal::None;

    static constexpr Outcome done() { return {Kind::Done, Refusal::None}; }
    static constexpr Outcome cancelled() { return {Kind::Cancelled, Refusal::None}; }
    static constexpr Outcome refused(Refusal why) { return {Kind::Refused, why}; }
    static constexpr Outcome failed() { return {Kind::Failed, Refusal::None}; }
    // Why a transfer could not begin: the module's absence or the password,
    // else the device that did not open.
    static constexpr Outcome notBegun(bool modulePresent, bool passwordMatches)
    {
        if (!modulePresent)
            return refused(Refusal::NoModule);
        return passwordMatches ? failed() : refused(Refusal::WrongPassword);
    }
    bool isDone() const { return kind == Kind::Done; }
    friend constexpr bool operator==(Outcome, Outcome) = default;
};

} // namespace q540
