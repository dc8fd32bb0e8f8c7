#include "module/TransferSession.h"

#include "base/Localisation.h"
#include "base/TimeLeft.h"
#include "base/UserSink.h"
#include "device/Clock.h"
#include "device/Link.h"
#include "module/ModuleStatus.h"
#include "module/Replies.h"

namespace q540 {

using namespace protocol;

TransferSession::TransferSession(const TransferContext& context)
    : context_(context), operation_(context.poll, context.link, context.sink, context.texts)
{
}

TransferSession::~TransferSession()
{
    closeAndHide();
}

bool TransferSession::identifyAgain(ModuleStatus& status, const QString& typedPassword)
{
    context_.clock.sleep(kPollSettleMs);
    status.configurationKnown = false;
    identifyAndApply(status, context_.link, context_.clock, typedPassword, context_.texts,
                     context_.sink);
    // A module that answered without its configuration is there: saying
    // "no device" would send the installer looking for the wrong fault.
    if (status.configurationMissing || (status.modulePresent() && !status.configurationKnown)) {
        context_.sink.showMessage(fixedText(FixedText::ConfigurationMissing, languageIndex()));
        return false;
    }
    return true;
}

bool TransferSession::begin(bool modulePresent, bool passwordMatches, int timeoutMs)
{
    return operation_.begin(modulePresent, passwordMatches, timeoutMs);
}

void TransferSession::showProgress(int maximum)
{
    context_.sink.showProgress(maximum);
    progressShown_ = true;
    progressMaximum_ = maximum;
    progressDone_ = 0;
    progressStartMs_ = context_.clock.nowMs();
    lastSecondsLeft_.reset();
}

void TransferSession::stepProgress()
{
    context_.sink.stepProgress();
    ++progressDone_;
    const std::optional<int> left =
        secondsLeft(progressDone_, progressMaximum_, context_.clock.nowMs() - progressStartMs_);
    // Told only when it changes: the window's thread is asked for each call.
    if (left && left != lastSecondsLeft_)
        context_.sink.showTimeLeft(timeLeftText(*left, languageIndex()));
    lastSecondsLeft_ = left;
}

bool TransferSession::sendAcknowledged(std::span<const Byte> bytes)
{
    context_.link.write(bytes);
    if (CzyJestOdpZ(context_.link, context_.sink, languageIndex()))
        return true;
    // The reader has closed the device and hidden the progress bar itself.
    progressShown_ = false;
    return false;
}

bool TransferSession::writeBlock(const Frame& frame, std::span<const Byte> data)
{
    return sendAcknowledged(frame) && sendAcknowledged(data);
}

void TransferSession::sendUnacknowledged(std::span<const Byte> bytes)
{
    context_.link.write(bytes);
}

bool TransferSession::receiveBlock(const Frame& frame, CellBlock& cellBlock)
{
    context_.link.write(frame);
    if (CzyJestOdpO2(context_.link, context_.sink, languageIndex(), kBlockSize, cellBlock))
        return true;
    progressShown_ = false;
    return false;
}

void TransferSession::finish(const QString& message)
{
    closeAndHide();
    if (!message.isEmpty())
        context_.sink.showMessage(message);
}

bool TransferSession::cancelRequested()
{
    return context_.sink.cancelRequested();
}

void TransferSession::endWrite(bool cancelled, int written, int total, FixedText holds,
                               FixedText nothing)
{
    closeAndHide();
    const int language = languageIndex();
    QString text = written == 0 ? fixedText(nothing, language)
                                : fixedText(holds, language).arg(written).arg(total);
    if (cancelled)
        text = fixedText(FixedText::WriteCancelled, language) + u' ' + text;
    context_.sink.showMessage(text);
}

void TransferSession::endCancelledRead()
{
    closeAndHide();
    context_.sink.showMessage(fixedText(FixedText::ReadCancelled, languageIndex()));
}

int TransferSession::languageIndex() const
{
    return context_.texts.language();
}

void TransferSession::closeAndHide()
{
    if (context_.link.isOpen())
        context_.link.close();
    if (progressShown_)
        context_.sink.hideProgress();
    progressShown_ = false;
}

std::array<Byte, kBlockSize> blockBytes(const CellBlock& cellBlock)
{
    std::array<Byte, kBlockSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<Byte>(cellBlock[i] & 0xFF);
    return bytes;
}

} // namespace q540
