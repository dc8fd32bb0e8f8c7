#pragma once

#include "base/Outcome.h"
#include "module/Configuration.h"

#include <QString>

#include <functional>
#include <optional>

namespace q540 {

class Clock;
class Link;
class Localisation;
class UserSink;
struct ModuleStatus;

// The installer password as the module stores it: two numbers 0..99 from
// characters 1..2 and 3..4 of the four-digit text.
struct PasswordPairs {
    int first = 0;
    int second = 0;
    friend bool operator==(PasswordPairs, PasswordPairs) = default;
};

// Left-pads an entered password with zeros to exactly four characters.
QString padPassword(const QString& entered);
// A new password as the installer gave it: one to four digits, left-padded;
// none for anything else. Nothing typed is refused, never taken as "0000": an
// unset shell variable must not set a password nobody chose.
std::optional<QString> newPasswordOf(const QString& entered);
// The pairs of a four-digit password; none for any other text.
std::optional<PasswordPairs> passwordPairs(const QString& password);

// The exchanges that change the module's settings, each on a device that is
// closed when they start and closed again when they end. None of them
// touches the poll: the caller stops it around them.

// Stores the password: the command frame, the end byte, then the two pairs.
// Shows the stored message, or the write failure when the end byte does not
// come; shows nothing when the device does not open.
Outcome storePassword(Link& link, Clock& clock, const QString& password, UserSink& sink,
                      const Localisation& texts);

// What a read of the module's language found: the code 0..7 (0 for a reply
// that does not check) and the hint text of its two code bytes.
struct LanguageReading {
    int code = 0;
    QString codeHint;
};

// Reads the module's language; none (and the USB failure message) when the
// device does not open.
std::optional<LanguageReading> readModuleLanguage(Link& link, Clock& clock, UserSink& sink,
                                                  const Localisation& texts);

// Sends the language code 1..7 and tells the user to reset the module;
// a code outside 1..7 is refused and nothing is sent.
Outcome writeModuleLanguage(Link& link, Clock& clock, int code, UserSink& sink,
                            const Localisation& texts);

// Sends the reset lock on or off once the module is known to be present and
// the password confirmed. Without a module nothing is sent or shown.
Outcome sendResetLock(Link& link, bool modulePresent, bool passwordMatches, bool locked,
                      UserSink& sink, const Localisation& texts);

// A settings change made sure of: change sends it (its messages held back),
// then the configuration is read again and the setting compared with value.
// The change's own message is shown only when the module confirms it;
// otherwise the user is told what the module holds, or that it could not be
// read back, and the outcome is a failure. status is identified afresh with
// typedPassword (for a new password: the new one).
Outcome confirmChange(Link& link, Clock& clock, UserSink& sink, const Localisation& texts,
                      ModuleStatus& status, const QString& typedPassword,
                      ConfigurationDifference::Field field, int value,
                      const std::function<Outcome(UserSink&)>& change);

} // namespace q540
