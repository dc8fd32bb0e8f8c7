#include "module/ModuleSettings.h"

#include "base/FixedTexts.h"
#include "base/HeldMessages.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "device/Clock.h"
#include "device/Link.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"

#include <array>

namespace q540 {

namespace {

constexpr int kPasswordLength = 4;
constexpr int kHighestCodeByte = 99;

using protocol::Byte;

// Opens the device for a settings exchange: 9600 baud, the short timeouts.
bool openForSettings(Link& link)
{
    if (!link.open())
        return false;
    link.setBaudRate(protocol::kBaudRate);
    link.setTimeouts(protocol::kShortTimeoutMs, protocol::kShortTimeoutMs);
    return true;
}

void send(Link& link, const protocol::Frame& frame)
{
    link.write(frame);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString padPassword(const QString& entered)
{
    return entered.rightJustified(kPasswordLength, QLatin1Char('0'));
}

std::optional<QString> newPasswordOf(const QString& entered)
{
    if (entered.isEmpty() || entered.size() > kPasswordLength)
        return std::nullopt;
    const QString padded = padPassword(entered);
    return passwordPairs(padded) ? std::optional(padded) : std::nullopt;
}

std::optional<PasswordPairs> passwordPairs(const QString& password)
{
    if (password.size() != kPasswordLength)
        return std::nullopt;
    for (QChar c : password)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return PasswordPairs{password.left(2).toInt(), password.mid(2).toInt()};
}

Outcome storePassword(Link& link, Clock& clock, const QString& password, UserSink& sink,
                      const Localisation& texts)
{
    if (!openForSettings(link))
        return Outcome::failed();
    // The field holds only digits, padded to four: the pairs always exist.
    const PasswordPairs pairs = passwordPairs(password).value_or(PasswordPairs{});
    send(link, protocol::frame(protocol::kWritePassword));
    clock.sleep(protocol::kPasswordReplyDelayMs);
    std::array<Byte, 1> reply{0};
    const bool acknowledged = link.read(reply) == 1 && reply[0] == protocol::kEndByte;
    if (acknowledged) {
        const std::array<Byte, 2> data{static_cast<Byte>(pairs.first),
                                       static_cast<Byte>(pairs.second)};
        link.write(data);
    }
    link.close();
    sink.showMessage(texts.text(acknowledged ? textkey::kPasswordStored : textkey::kWriteFailed));
    return acknowledged ? Outcome::done() : Outcome::failed();
}

std::optional<LanguageReading> readModuleLanguage(Link& link, Clock& clock, UserSink& sink,
                                                  const Localisation& texts)
{
    if (!openForSettings(link)) {
        sink.showMessage(texts.text(textkey::kUsbTransmissionFailure));
        return std::nullopt;
    }
    send(link, protocol::frame(protocol::kReadLanguage));
    clock.sleep(protocol::kLanguageReplyDelayMs);
    // What a short reply leaves unfilled reads as zero; only a checked reply counts.
    std::array<Byte, protocol::kLanguageReplyLength> reply{};
    const std::size_t got = link.read(reply);
    link.close();
    LanguageReading reading;
    if (got == reply.size() && protocol::isValidStatusReply(reply))
        reading.code = reply[1] > protocol::kHighestLanguageCode ? 1 : reply[1];
    const auto codeByte = [](Byte b) { return b > kHighestCodeByte ? 0 : int(b); };
    reading.codeHint =
        twoDigits(codeByte(reply[3])) + QLatin1Char(' ') + twoDigits(codeByte(reply[2]));
    return reading;
}

Outcome writeModuleLanguage(Link& link, Clock& clock, int code, UserSink& sink,
                            const Localisation& texts)
{
    if (!openForSettings(link)) {
        sink.showMessage(texts.text(textkey::kUsbTransmissionFailure));
        return Outcome::failed();
    }
    if (code < 1 || code > protocol::kHighestLanguageCode) {
        link.close();
        return Outcome::refused(Outcome::Refusal::Content);
    }
    send(link, protocol::frame(protocol::kWriteLanguageCommand, static_cast<Byte>(code)));
    clock.sleep(protocol::kLanguageWriteCloseDelayMs);
    link.close();
    sink.showMessage(texts.text(textkey::kResetAfterLanguage));
    return Outcome::done();
}

Outcome sendResetLock(Link& link, bool modulePresent, bool passwordMatches, bool locked,
                      UserSink& sink, const Localisation& texts)
{
    if (!modulePresent)
        return Outcome::refused(Outcome::Refusal::NoModule);
    if (!openForSettings(link)) {
        sink.showMessage(texts.text(textkey::kUsbTransmissionFailure));
        return Outcome::failed();
    }
    if (passwordMatches)
        send(link, protocol::frame(locked ? protocol::kResetLockOn : protocol::kResetLockOff));
    else
        sink.showMessage(texts.text(textkey::kWrongPassword));
    link.close();
    return passwordMatches ? Outcome::done() : Outcome::refused(Outcome::Refusal::WrongPassword);
}

Outcome confirmChange(Link& link, Clock& clock, UserSink& sink, const Localisation& texts,
                      ModuleStatus& status, const QString& typedPassword,
                      ConfigurationDifference::Field field, int value,
                      const std::function<Outcome(UserSink&)>& change)
{
    HeldMessages held(sink);
    const Outcome sent = change(held);
    if (!sent.isDone()) {
        held.release();
        return sent;
    }
    sink.showPhase(TransferPhase::Confirming);
    clock.sleep(protocol::kConfirmationSettleMs);
    status.configurationKnown = false;
    status.configuration.reset();
    identifyAndApply(status, link, clock, typedPassword, texts, sink);
    const int language = texts.language();
    const QString what = configurationFieldText(field, language);
    if (!status.configuration) {
        held.discard();
        sink.showMessage(fixedText(FixedText::ChangeNotChecked, language).arg(what));
        return Outcome::failed();
    }
    const int kept = configurationValue(*status.configuration, field);
    if (kept != value) {
        held.discard();
        sink.showMessage(fixedText(FixedText::ChangeNotConfirmed, language)
                             .arg(what, configurationValueText(field, value, language),
                                  configurationValueText(field, kept, language)));
        return Outcome::failed();
    }
    held.release();
    return Outcome::done();
}

} // namespace q540
