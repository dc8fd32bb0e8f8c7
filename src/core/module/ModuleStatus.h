#pragma once

#include "directory/IntroScreens.h"
#include "module/Identification.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace q540 {

class Clock;
class Link;
class Localisation;
class UserSink;

// What the last identification found on the cable.
enum class ModuleState {
    NotPolled,   // before the first poll
    NoCable,     // the device did not open
    NoAnswer,    // the cable is there, no module answered
    Unsupported, // a module of another kind
    Present,     // a module of this kind
};

// Whether the typed installer password matches the module's, as the last
// configuration read judged it.
enum class PasswordCheck { NotChecked, Matches, Differs };

// The two switches the next write sends to the module. They start as the
// module's own: the identification takes the alphabetical search once per
// connection and the reset lock at every configuration read; the installer
// (the tool bar's ticks, the CLI's options) may choose otherwise before a write.
struct ChosenSettings {
    bool alphabeticalSearch = true; // on at start
    bool resetLock = false;         // true: the module's reset is locked
};

// The module's last-known settings: facts only; how the tool bar shows them
// is the window's business. Written only on the user-interface thread, by
// applyIdentification.
struct ModuleStatus {
    // alphabeticalSearchRead: not yet taken from the module, on, off.
    static constexpr std::uint8_t kAlphabeticalSearchUnknown = 115;
    static constexpr std::uint8_t kAlphabeticalSearchOn = 8;
    static constexpr std::uint8_t kAlphabeticalSearchOff = 0;

    ModuleState state = ModuleState::NotPolled;
    bool configurationKnown = false; // the configuration block has been read
    int entryCount = -1;             // the entries the module holds; -1 without a module
    int variant = 0;                 // the module's variant digit, from its configuration
    int languageRead = 0;            // the language code the configuration held (moduleLanguage
                                     // follows the open directory afterwards)
    // The cable chip's latency timer, where the driver tells it.
    std::optional<int> latencyTimerMs;
    // Without a cable: why the port did not open, and which port.
    OpenProblem openProblem = OpenProblem::None;
    QString port;
    PasswordCheck passwordCheck = PasswordCheck::NotChecked;
    int moduleLanguage = 0; // 0..7
    // Selected item of ComboBox_czas (items "1".."15"); -1 selects none.
    int introTimeIndex = kIntroTimeDefaultIndex;
    std::uint8_t alphabeticalSearchRead = kAlphabeticalSearchUnknown;
    // What the next write sends; see ChosenSettings.
    ChosenSettings chosen;
    // Whether the previous identification found a module of version 4.3, so
    // that its message is shown once per connection rather than every poll.
    bool previousFoundVersion43 = false;
    // The configuration block as the last identification that read it got
    // it, so that a write can be checked against what the module now holds.
    std::optional<ConfigurationNibbles> configuration;
    // The module answered its hello, but its configuration did not arrive:
    // it is there, the cable or the module garbled the reply.
    bool configurationMissing = false;

    bool modulePresent() const { return state == ModuleState::Present; }
    // The module confirms the installer password the program holds.
    bool passwordConfirmed() const { return passwordCheck == PasswordCheck::Matches; }
};

// Called when the identification changed the chosen alphabetical search to
// the module's, so that the directory follows it. The reset lock it takes
// from the module has no consequence beyond the next write.
struct ModuleStatusHandlers {
    std::function<void(const ModuleStatus&)> alphabeticalSearchClicked;
};

// The two-letter code of a module language code (0..7) in the status text.
QString moduleLanguageCode(int code);

// Why a port did not open, in words in a program language (0..2); empty for
// OpenProblem::None and NoCable, which the connection state says itself.
QString openProblemText(OpenProblem problem, const QString& port, int language);

// The connection state in words, in the current language (Edit_Status).
QString moduleStateText(const ModuleStatus& status, const Localisation& texts);

// The user-interface half of the identification: applies what the exchange
// found to the module's last-known settings. typedPassword is the four
// characters of the installer-password field; the texts come in the current
// language; the version-4.3 message goes to the sink.
void applyIdentification(ModuleStatus& status, const IdentificationOutcome& outcome,
                         const QString& typedPassword, const Localisation& texts, UserSink& sink,
                         const ModuleStatusHandlers& handlers = {});

// The whole identification on the calling thread, as the transfers and the
// reset-lock command run it: the exchange, then applying its outcome.
void identifyAndApply(ModuleStatus& status, Link& link, Clock& clock, const QString& typedPassword,
                      const Localisation& texts, UserSink& sink,
                      const ModuleStatusHandlers& handlers = {});

} // namespace q540
